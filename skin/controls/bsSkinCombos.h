// Unit bsSkinCombos: the skinned combo boxes and their drop-down lists.
//
// TbsSkinCustomComboBox keeps its text items in a TbsPopupListBox, the
// office combo its rich items in a TbsPopupOfficeListBox. A drop-down is a
// popup tool window owned by the combo's form that never takes activation
// or focus: while it is open the combo keeps the focus and holds the mouse
// capture, tracks the pointer over the list, accepts on release over a row
// and cancels on Escape, a click elsewhere (CM_CANCELMODE) or focus loss.
//
// Selection events are part of the contract with the catalogue's handlers:
// the text combo fires OnClick and Change on every ItemIndex assignment and
// OnChange only when the shown text changes; the office combo fires OnClick
// and OnChange on every assignment. Neither fires while the form loads, and
// filling or clearing Items fires nothing.
#pragma once

#include "skin/controls/bsSkinCBTypes.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/controls/bsSkinLists.h"

#include <cstdint>
#include <memory>

class TbsSkinComboBase;

// ---------------------------------------------------------------- drop-down windows

class TbsPopupListBox : public TbsSkinListBox {
public:
    explicit TbsPopupListBox(TComponent* AOwner);
    // Origin in screen coordinates.
    void Show(TPoint Origin);
    void Hide();

    bool FOldAlphaBlend = false;
    BYTE FOldAlphaBlendValue = 0;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
};

class TbsPopupOfficeListBox : public TbsSkinOfficeListBox {
public:
    explicit TbsPopupOfficeListBox(TComponent* AOwner);
    void Show(TPoint Origin);
    void Hide();

    bool FOldAlphaBlend = false;
    BYTE FOldAlphaBlendValue = 0;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
};

// ---------------------------------------------------------------- shared combo base

// What the text combo and the office combo have in common: the copies of
// the "combobox" element, the face's layout and painting in the plain,
// skinned and tool-button looks, the bookkeeping of opening the drop-down,
// the press-drag-release protocol around it, the drag-scroll timer and the
// keys that open, close and accept. Each combo supplies its own list
// through the hooks below.
class TbsSkinComboBase : public TbsSkinCustomControl {
public:
    explicit TbsSkinComboBase(TComponent* AOwner);

    int DropDownCount() const { return FDropDownCount; }
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }

    virtual void DropDown() {}
    virtual void CloseUp(bool /*AcceptValue*/) {}
    bool IsPopupVisible() const;
    bool CanCancelDropDown();
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText);

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChanged() override;
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;

    virtual void CalcRects();

    TNotifyEvent OnChange, OnCloseUp, OnDropDown;
    // Cleared when the combo goes; a running fade holds a copy.
    std::shared_ptr<bool> Alive() const { return FAlive; }

    // ---- state shared with the drop-down protocol and the tests
    TbsCBItem CBItem;
    TbsCBButtonX Button;
    bool FDropDown = false;
    bool FMouseIn = false;
    bool FLBDown = false;
    bool WasInLB = false;
    int TimerMode = 0;
    int FOldItemIndex = -1;

    // ---- skin copies (element "combobox")
    TRect ActiveSkinRect;
    TColor ActiveFontColor = clBtnText;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TRect SItemRect, FocusItemRect, ActiveItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor FontColor = clBtnText, FocusFontColor = clBtnText;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    std::string ListBoxName;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

protected:
    // ---- what each combo supplies
    // The drop-down window, and the window whose rows a drag and a release hit.
    virtual TWinControl* DropDownWindow() const { return nullptr; }
    virtual TWinControl* RowsWindow() const { return nullptr; }
    virtual bool DropDownHasBar() const { return false; }
    virtual int ListIndex() { return -1; }
    virtual void SetListIndex(int /*Value*/) {}
    virtual int ListCount() { return 0; }
    // A control of the combo's own: a press on it leaves the list open.
    virtual bool OwnsControl(TControl* /*Sender*/) { return false; }
    // Up, Down, Left, Right without Alt, Page Up and Page Down.
    virtual void StepKey(WORD /*Key*/) {}
    // One step of the drag-scroll timer, up or down.
    virtual void DragScrollStep(bool /*Up*/) {}
    // Where a drag inside the list is probed across the rows.
    virtual int DragProbeX(int X) const { return X; }
    // The edit style's inner edit covers the item area and draws the text.
    virtual bool HasItemEditor() const { return false; }
    virtual bool FocusInside() { return Focused(); }
    // After the pointer entered or left the combo, before the repaint.
    virtual void HoverChanged() {}
    // After the enabled state changed, before the repaint.
    virtual void EnabledChanged() {}
    virtual void DrawItemContent(TCanvas* /*C*/, int /*Index*/, TRect /*TR*/, bool /*WithTitle*/,
                                 const std::string* /*Override*/) {}
    virtual void DrawDefaultItemFocus(TCanvas* C, const TRect& R);
    virtual void DrawSkinItemFocus(TCanvas* /*C*/, const TRect& /*R*/) {}
    virtual TColor SkinItemFontColor(TColor Colour) { return Colour; }
    virtual void DrawFaceText(TCanvas* C, const std::string& S, const TRect& R);
    virtual void DrawSkinItemStretched(TCanvas* /*C*/) {}

    // ---- shared
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    // The first steps of opening; false when there is nothing to open.
    bool BeginDropDown();
    // Remembers the index before opening and marks the combo open.
    void EnterDropDown();
    int ShownIndex();
    bool Hot();
    void TrackButtonHover(int X, int Y);
    void ProcessListBoxDrag();
    void StartTimer();
    void StopTimer();
    void ListBoxWindowProcHook(TMessage& Message);
    void CMCancelMode(TMessage& Message);
    // The skin font or the default font of the item text, in the face's charset.
    void ApplyItemFont(TCanvas* C);
    void DrawButton(TCanvas* C);
    void DrawStretchButton(TCanvas* C);
    void DrawDefaultItem(TCanvas* C);
    void DrawSkinItem(TCanvas* C);
    void DrawDefaultToolFace(TCanvas* C, const std::string* Override);
    void DrawSkinToolFace(TCanvas* C, const std::string* Override);
    void DrawSkinBackground(TBitmap* B);

    bool FToolButtonStyle = false;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    int FListBoxWidth = 0;
    bool FHideSelection = true;
    std::uint32_t FLastTime = 0;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 0;
    int FDropDownCount = 8;
    TWndMethod FListBoxWindowProc;
    // Ends a running fade when the combo goes; outlives the combo.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// ---------------------------------------------------------------- text combo

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsSkinCustomComboBox : public TbsSkinComboBase {
public:
    explicit TbsSkinCustomComboBox(TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;

    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TbsSkinCustomComboBoxStyle Value);
    TStrings* Items() { return FListBox->Items(); }
    void SetItems(TStrings* Value) { FListBox->Items()->Assign(Value); }
    int ItemIndex() { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);
    void SetDropDownCount(int Value);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    void SetDefaultColor(TColor Value);
    void SetToolButtonStyle(bool Value);
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int Value);
    TStrings* TabWidths() const { return FListBox ? FListBox->TabWidths() : nullptr; }
    void SetTabWidths(TStrings* Value);
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool Value) { FListBox->SetSorted(Value); }
    bool HorizontalExtent() const { return FListBox->HorizontalExtent(); }
    void SetHorizontalExtent(bool Value) { FListBox->SetHorizontalExtent(Value); }
    std::string ListBoxCaption() { return FListBox->Caption(); }
    void SetListBoxCaption(const std::string& Value) { FListBox->SetCaption(Value); }
    bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
    void SetListBoxCaptionMode(bool Value) { FListBox->SetCaptionMode(Value); }
    int ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
    void SetListBoxDefaultItemHeight(int Value) { FListBox->SetDefaultItemHeight(Value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    bool ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
    void SetListBoxUseSkinItemHeight(bool Value) { FListBox->SetUseSkinItemHeight(Value); }
    TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
    void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* Value) { FListBox->DefaultFont()->Assign(Value); }
    TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
    void SetListBoxDefaultCaptionFont(TFont* Value) {
        FListBox->DefaultCaptionFont()->Assign(Value);
    }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    // The inner edit's selection; 0 and ignored in the fixed style.
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);

    void DropDown() override;
    void CloseUp(bool AcceptValue) override;
    // Runs after a new item is taken; empty here.
    virtual void Change();
    void Invalidate() override;

    void ChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void CalcRects() override;

    TbsDrawSkinItemEvent OnComboBoxDrawItem;
    TbsDrawSkinItemEvent& OnListBoxDrawItem() { return FListBox->OnDrawItem; }

    TbsPopupListBox* FListBox = nullptr;
    // The edit style's inner edit (nil in the fixed style) and whether the
    // text change under way comes from it.
    TbsCustomEdit* FEdit = nullptr;
    bool FNumEdit = false;
    bool FromEdit = false;

protected:
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyPress(unsigned& Key) override;
    virtual void CreateEditControl();
    virtual void EditWindowProcHook(TMessage& Message);

    TWinControl* DropDownWindow() const override { return FListBox; }
    TWinControl* RowsWindow() const override;
    bool DropDownHasBar() const override;
    int ListIndex() override;
    void SetListIndex(int Value) override;
    int ListCount() override;
    bool OwnsControl(TControl* Sender) override;
    void StepKey(WORD Key) override;
    void DragScrollStep(bool Up) override;
    int DragProbeX(int X) const override;
    bool HasItemEditor() const override { return FEdit != nullptr; }
    bool FocusInside() override;
    void HoverChanged() override;
    void EnabledChanged() override;
    void DrawItemContent(TCanvas* C, int Index, TRect TR, bool WithTitle,
                         const std::string* Override) override;
    void DrawDefaultItemFocus(TCanvas* C, const TRect& R) override;
    void DrawSkinItemFocus(TCanvas* C, const TRect& R) override;
    TColor SkinItemFontColor(TColor Colour) override;
    void DrawFaceText(TCanvas* C, const std::string& S, const TRect& R) override;
    void DrawSkinItemStretched(TCanvas* C) override;

    TEditCharCase FCharCase = ecNormal;
    TWndMethod FEditWindowProc;
    std::string FFilter;
    bool FAutoComplete = true;
    TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;

private:
    void ListBoxMouseMoveHook(TObject* Sender, TShiftState Shift, int X, int Y);
    void ListBoxCheckButtonClick(TObject* Sender);
    void FindListItem(const std::string& C);
    void FindListItemFromEdit();
    void EditChange(TObject* Sender);
    void EditCancelMode(TControl* Sender);
    void EditStepUp(bool WithChange);
    void EditStepDown(bool WithChange);
    void EditKeyUp(TMessage& Message);
    void SetEditFontColor(TColor Value);
    // The skin's word table character set, else the default font's.
    TFontCharset InputCharset();
    void ApplyEditFont();
    void AdjustEditHeight();
    void TextChanged();
    TColor GetDisabledFontColor();
    void DrawTabbedText(TCanvas* C, const std::string& S, const TRect& TR);
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsSkinComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {}
};

// ---------------------------------------------------------------- office combo

class TbsSkinCustomOfficeComboBox : public TbsSkinComboBase {
public:
    explicit TbsSkinCustomOfficeComboBox(TComponent* AOwner);
    ~TbsSkinCustomOfficeComboBox() override;

    TbsSkinOfficeItems* Items() const { return FListBox->Items(); }
    void SetItems(TbsSkinOfficeItems* Value) { FListBox->Items()->Assign(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);
    void SetDropDownCount(int Value);
    int ListBoxHeight() const { return FListBoxHeight; }
    void SetListBoxHeight(int Value) { FListBoxHeight = Value; }
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool Value);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool Value);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool Value);
    void SetToolButtonStyle(bool Value);
    void SetDefaultColor(TColor Value);
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* Value) { FListBox->SetImages(Value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* Value) { FListBox->DefaultFont()->Assign(Value); }
    bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
    void SetListBoxShowItemTitles(bool Value) { FListBox->SetShowItemTitles(Value); }
    const std::string& ListBoxSkinDataName() const { return FListBoxSkinDataName; }
    void SetListBoxSkinDataName(const std::string& Value);
    bool ListBoxShowLines() const { return FListBox->ShowLines(); }
    void SetListBoxShowLines(bool Value) { FListBox->SetShowLines(Value); }
    int ListBoxItemHeight() const { return FListBox->ItemHeight(); }
    void SetListBoxItemHeight(int Value) { FListBox->SetItemHeight(Value); }
    int ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
    void SetListBoxHeaderHeight(int Value) { FListBox->SetHeaderHeight(Value); }

    void DropDown() override;
    void CloseUp(bool AcceptValue) override;
    // Fires OnChange.
    virtual void Change();

    void ChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TbsDrawSkinOfficeItemEvent OnDrawItem;

    TbsPopupOfficeListBox* FListBox = nullptr;

protected:
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

    TWinControl* DropDownWindow() const override { return FListBox; }
    TWinControl* RowsWindow() const override { return FListBox; }
    bool DropDownHasBar() const override;
    int ListIndex() override { return FListBox->ItemIndex(); }
    void SetListIndex(int Value) override { FListBox->SetItemIndex(Value); }
    int ListCount() override { return Items()->Count(); }
    bool OwnsControl(TControl* Sender) override;
    void StepKey(WORD Key) override;
    void DragScrollStep(bool Up) override;
    void DrawItemContent(TCanvas* C, int Index, TRect TR, bool WithTitle,
                         const std::string* Override) override;
    void DrawSkinItemStretched(TCanvas* C) override;

    bool FShowItemTitle = true, FShowItemImage = true, FShowItemText = true;
    int FListBoxHeight = 0;
    // The configured drop-down element, kept while a skin change leaves the
    // combo unskinned.
    std::string FListBoxSkinDataName = "listbox";

private:
    void TakeListIndex();
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
public:
    explicit TbsSkinOfficeComboBox(TComponent* AOwner) : TbsSkinCustomOfficeComboBox(AOwner) {}
};

// The combo face's painting helpers shared by both combos.
namespace bscombo {

constexpr TColor Navy = TColor(0x800000);
constexpr TColor HotFill = TColor(13811126);
constexpr TColor PressedFill = TColor(11899781);

// A one-pixel frame of FrameColour around R, R's inside filled with Fill.
void FrameAndFill(TCanvas* C, const TRect& R, TColor FrameColour, TColor Fill);
// Picks the first button element among Names; nullptr when none.
TbsDataSkinButtonControl* FindButtonElement(TbsSkinData* SD,
                                            std::initializer_list<const char*> Names);
// Nine-part picture of Element at W x H from Src (Element's corner points
// moved by the size difference).
void MakeButtonBitmap(TBitmap* B, TbsSkinData* SD, TbsDataSkinButtonControl* E, const TRect& Src,
                      int W, int H);
// The menu glyph of a button element in R, from Picture.
void DrawMenuGlyph(TCanvas* C, const TRect& R, TbsDataSkinButtonControl* E, TBitmap* Picture,
                   bool Open, bool HotState);
TFontCharset FaceCharset(TbsSkinData* SD, TFont* DefaultFont);
// The fade of a drop-down; returns false when the window or the combo went.
// Alive is held by value: the combo that owns it may be freed meanwhile.
bool FadeIn(TWinControl* List, BYTE Value, bool PumpMessages, std::shared_ptr<bool> Alive);

} // namespace bscombo
