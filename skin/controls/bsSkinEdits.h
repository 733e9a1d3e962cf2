// The skinned edit boxes and the link label.
//
// TbsCustomEdit is the edit window the skinned controls put inside
// themselves: a masked edit with a transparent mode (it draws only its text
// over what its parent painted), a read-only flag of its own that filters
// every change while the native edit stays writable (caret, selection and
// copying keep working), Enter and Escape handed to the form as dialog keys,
// and a cancel-mode event. TbsSkinNumEdit filters the typed characters to a
// number and turns the Up and Down keys and the wheel into events.
//
// TbsSkinCustomEdit draws its frame in the non-client area from the skin
// element SkinDataName ("edit"), or in a plain look of its own when FIndex is
// -1 (no skin, no element, an element of another kind, a missing picture).
// The client area is composed in one erase step: background, image buttons,
// then the native edit's text over them, while FStopDraw keeps the nested
// WM_PAINT from painting again.
//
// TbsSkinScrollBox is a container scrolled by two external skinned scroll
// bars handed to it: it sizes their ranges to its visible children, shows
// and hides them, and moves the children when a bar moves.
//
// TbsSkinLinkLabel is a label that follows the pointer and opens its URL.
#pragma once

#include "platform/forms/Edits.h"
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCBTypes.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/model/bsSkinData.h"

#include <functional>
#include <memory>
#include <string>

class TCustomForm;
class TCustomImageList;
class TPopupMenu;
class TbsDataSkinEditControl;
class TbsSkinScrollBar;

// The wheel turned away from the user: the delta in wParam's high word is
// positive.
bool WheelDeltaPositive(WPARAM wParam);

using TbsOnEditCancelMode = TMethod<void(TControl* C)>;

// How edits reach the skinned popup menu and the skinned form component,
// which live above this library: the forms fill these once, before the
// first skinned form component exists. Unset, an edit without a menu of its
// own opens nothing on a right click, as on a form without a skinned form
// component.
struct TbsEditMenus {
    // A new skinned popup menu owned by Owner, shown for Form's skin.
    std::function<TPopupMenu*(TComponent* Owner, TCustomForm* Form)> CreatePopupMenu;
    // Opens Menu at the screen point (X, Y) on behalf of Control; the
    // menu's chain sends WM_CLOSESKINMENU and, after a chosen item ran,
    // WM_AFTERSKINMENUCOMMAND to Control.
    std::function<void(TPopupMenu* Menu, TControl* Control, int X, int Y)> Popup;
    // The skin data of Form's skinned form component; nullptr without one.
    std::function<TbsSkinData*(TCustomForm* Form)> FormSkinData;
};
TbsEditMenus& EditMenus();

// ---------------------------------------------------------------- TbsCustomEdit

class TbsCustomEdit : public TCustomMaskEdit {
public:
    explicit TbsCustomEdit(TComponent* AOwner);
    ~TbsCustomEdit() override;

    // The edit's own flag: the native window stays writable.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool EditTransparent() const { return FEditTransparent; }
    void SetEditTransparent(bool Value);

    void Invalidate() override;

    // The context menu built at the last right click (nullptr when none is
    // held): Undo, -, Cut, Copy, Paste, Delete, -, Select All.
    TPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

    TbsOnEditCancelMode OnEditCancelMode;

protected:
    void Change() override;
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    // Invalidate when transparent: the handlers below end with it.
    void InvalidateIfTransparent();

    bool FDown = false;
    bool FReadOnly = false;
    bool FEditTransparent = false;
    // The focus that comes back after a re-creation is not the user's: it
    // must not select all and lose the selection the re-creation kept.
    bool FRecreating = false;
    TPopupMenu* FSysPopupMenu = nullptr;

private:
    void CreateSysPopupMenu();
    void FreeSysPopupMenu();
    void AfterMenuCommand();
    void EditChar(TMessage& Message);
    void EditContextMenu(TMessage& Message);
    void EditCtlColor(TMessage& Message);
};

// ---------------------------------------------------------------- TbsSkinNumEdit

class TbsSkinNumEdit : public TbsCustomEdit {
public:
    explicit TbsSkinNumEdit(TComponent* AOwner) : TbsCustomEdit(AOwner) {}

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool IsValidChar(unsigned Key);

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    // Floating mode: the decimal separator is accepted too.
    bool Float = false;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(unsigned& Key) override;
    void Dispatch(TMessage& Message) override;

    bool FEditorEnabled = true;
};

// ---------------------------------------------------------------- TbsSkinCustomEdit

class TbsSkinCustomEdit : public TbsCustomEdit {
public:
    explicit TbsSkinCustomEdit(TComponent* AOwner);
    ~TbsSkinCustomEdit() override;

    TbsSkinData* SkinData() const { return FSD; }
    virtual void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    virtual void ChangeSkinData();

    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(int Value);
    int LeftImageHotIndex() const { return FLeftImageHotIndex; }
    void SetLeftImageHotIndex(int Value) { FLeftImageHotIndex = Value; }
    int LeftImageDownIndex() const { return FLeftImageDownIndex; }
    void SetLeftImageDownIndex(int Value) { FLeftImageDownIndex = Value; }
    int RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(int Value);
    int RightImageHotIndex() const { return FRightImageHotIndex; }
    void SetRightImageHotIndex(int Value) { FRightImageHotIndex = Value; }
    int RightImageDownIndex() const { return FRightImageDownIndex; }
    void SetRightImageDownIndex(int Value) { FRightImageDownIndex = Value; }

    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void GetSkinData();
    void CalcRects();
    int CalcEditHeight();
    void AdjustEditHeight();
    void UpdateImageButtons(bool SetRect);
    void RepaintFrame();
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText);

    TNotifyEvent OnButtonClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnLeftButtonClick;
    TNotifyEvent OnRightButtonClick;

    // ---- state, read by the painters and the tests
    TbsCBButtonX LeftButton;
    TbsCBButtonX RightButton;
    bool FStopDraw = false;
    TRect FButtonRect;
    bool FButtonDown = false;
    bool FButtonActive = false;
    TRect FEditRect;
    bool FMouseIn = false;
    int FIndex = -1;

    // ---- the copy of the skin element
    TBitmap* Picture = nullptr;
    int LOffset = 0;
    int ROffset = 0;
    TRect ClRect;
    TRect SkinRect;
    TRect ActiveSkinRect;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;
    TColor DisabledFontColor = 0;
    TColor ActiveFontColor = 0;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
    bool StretchEffect = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;

    // ---- painting
    void PaintFrame(TCanvas* C);
    void PaintStretchedFrame(TCanvas* C);
    void DrawFrameButton(TCanvas* C, const TRect& R);
    void PaintEditBackground(TCanvas* C);
    void DrawImageButtons(TCanvas* C);
    void PaintDisabledText(HDC DC);
    // The frame painter WM_NCPAINT would use, into Cnv.
    void PaintFrameImage(TCanvas* Cnv);

    TColor FDefaultColor = clWindow;
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "edit";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    bool FButtonMode = false;
    TAlignment FAlignment = taLeftJustify;
    TCustomImageList* FImages = nullptr;
    int FLeftImageIndex = -1, FLeftImageHotIndex = -1, FLeftImageDownIndex = -1;
    int FRightImageIndex = -1, FRightImageHotIndex = -1, FRightImageDownIndex = -1;

private:
    bool Skinned() const { return FIndex != -1; }
    bool ActiveLook() { return FMouseIn || Focused(); }
    TFontCharset SkinCharset() const;
    void OnDefaultFontChange(TObject* Sender);
    void WMNCCalcSize(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    void WMNCLButtonDown(TMessage& Message);
    void WMNCLButtonUp(TMessage& Message);
    void WMNCMouseMove(TMessage& Message);
    void BoxMouseEnter(TMessage& Message);
    void BoxMouseLeave(TMessage& Message);
    void WMFocusChanged(TMessage& Message, bool Gained);
    void BoxFontChanged(TMessage& Message);
    void WMNCPaint();
    void BoxEraseBkgnd(TMessage& Message);
    void BoxPaint(TMessage& Message);
    void WMNCPaintToDC(TMessage& Message);
    void WMPaintToDC(TMessage& Message);
    void SetImageButtonHover(TbsCBButtonX& Button, bool Value);
    void DrawImageButton(TCanvas* C, const TbsCBButtonX& Button, int Index, int HotIndex,
                         int DownIndex);
};

class TbsSkinEdit : public TbsSkinCustomEdit {
public:
    explicit TbsSkinEdit(TComponent* AOwner) : TbsSkinCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------- TbsSkinScrollBox

class TbsSkinScrollBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBox(TComponent* AOwner);

    // The bars are not owned; a bar handed over is hidden until the content
    // needs it.
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value) { FCanFocused = Value; }

    void UpDateScrollRange();
    void GetVRange();
    void GetHRange();
    void VScroll(int APosition);
    void HScroll(int APosition);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void ChangeSkinData() override;

    // Skin copy: the background picture among the skin's active pictures,
    // -1 for none (also for an index the skin does not have).
    int BGPictureIndex = -1;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void AdjustClientRect(TRect& Rect) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    bool HasFrame();
    void PaintBoxFrame(TCanvas* C);
    void WMNCCalcSize(TMessage& Message);
    void WMNCPaint();
    void VScrollControls(int Distance);
    void HScrollControls(int Distance);
    void VScrollBarChange(TObject* Sender);
    void HScrollBarChange(TObject* Sender);
    void BarLastChange(TObject* Sender);
    void ShowBar(TbsSkinScrollBar* Bar, bool Value);
    void SyncBoth();

    bool FClicksDisabled = false;
    bool FCanFocused = false;
    bool FInCheckScrollBars = false;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0;
    int FOldHScrollBarPos = 0;
    int FVSizeOffset = 0;
    int FHSizeOffset = 0;
    TbsSkinBorderStyle FBorderStyle = TbsSkinBorderStyle::bvFrame;
};

// ---------------------------------------------------------------- TbsSkinLinkLabel

class TbsSkinLinkLabel : public TCustomLabel {
public:
    explicit TbsSkinLinkLabel(TComponent* AOwner);
    ~TbsSkinLinkLabel() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool Value);
    const std::string& URL() const { return FURL; }
    void SetURL(const std::string& Value) { FURL = Value; }
    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool Value) { FGlowEffect = Value; }
    int GlowSize() const { return FGlowSize; }
    void SetGlowSize(int Value) { FGlowSize = Value; }
    bool MouseIn() const { return FMouseIn; }

    virtual void ChangeSkinData();
    void GetSkinData();
    void Click() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    int FIndex = -1;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;

protected:
    void DoDrawText(TRect& Rect, UINT Flags) override;
    void Dispatch(TMessage& Message) override;

private:
    // The canvas font of DoDrawText, before the enabled state's underline.
    void PrepareFont(TFont* F);

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultActiveFontColor = clBlue;
    bool FUseSkinFont = true;
    bool FUseUnderLine = true;
    std::string FURL;
    bool FGlowEffect = false;
    int FGlowSize = 7;
    bool FMouseIn = false;
};
