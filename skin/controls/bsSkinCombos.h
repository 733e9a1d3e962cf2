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

class TbsSkinCustomComboBox;
class TbsSkinCustomOfficeComboBox;

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

// ---------------------------------------------------------------- text combo

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsSkinCustomComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomComboBox(TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;

    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TbsSkinCustomComboBoxStyle Value);
    TStrings* Items() { return FListBox->Items(); }
    void SetItems(TStrings* Value) { FListBox->Items()->Assign(Value); }
    int ItemIndex() { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
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

    virtual void DropDown();
    void CloseUp(bool AcceptValue);
    bool IsPopupVisible() const;
    bool CanCancelDropDown();
    // Runs after a new item is taken; empty here.
    virtual void Change();
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText);
    void Invalidate() override;

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void DefaultFontChanged() override;
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void CalcRects();

    TNotifyEvent OnChange, OnCloseUp, OnDropDown;
    TbsDrawSkinItemEvent OnComboBoxDrawItem;
    TbsDrawSkinItemEvent& OnListBoxDrawItem() { return FListBox->OnDrawItem; }

    // ---- state shared with the drop-down protocol and the tests
    TbsPopupListBox* FListBox = nullptr;
    // The edit style's inner edit (nil in the fixed style) and whether the
    // text change under way comes from it.
    TbsCustomEdit* FEdit = nullptr;
    bool FNumEdit = false;
    bool FromEdit = false;
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
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(unsigned& Key) override;
    virtual void CreateEditControl();
    virtual void EditWindowProcHook(TMessage& Message);

    bool FToolButtonStyle = false;
    TEditCharCase FCharCase = ecNormal;
    TWndMethod FEditWindowProc;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    int FListBoxWidth = 0;
    bool FHideSelection = true;
    std::uint32_t FLastTime = 0;
    std::string FFilter;
    bool FAutoComplete = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 0;
    TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
    int FDropDownCount = 8;
    TWndMethod FListBoxWindowProc;

private:
    friend class TbsPopupListBox;
    void ListBoxWindowProcHook(TMessage& Message);
    void ListBoxMouseMoveHook(TObject* Sender, TShiftState Shift, int X, int Y);
    void ListBoxCheckButtonClick(TObject* Sender);
    void ProcessListBoxDrag();
    void StartTimer();
    void StopTimer();
    void WMTimer();
    void CMCancelMode(TMessage& Message);
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
    int ShownIndex();
    TColor GetDisabledFontColor();
    void DrawButton(TCanvas* C);
    void DrawStretchButton(TCanvas* C);
    void DrawDefaultItem(TCanvas* C);
    void DrawSkinItem(TCanvas* C);
    void DrawSkinItemStretched(TCanvas* C);
    void DrawItemContent(TCanvas* C, int Index, TRect TR, const std::string* Override);
    void DrawTabbedText(TCanvas* C, const std::string& S, const TRect& TR);
    void DrawDefaultToolFace(TCanvas* C, const std::string* Override);
    void DrawSkinToolFace(TCanvas* C, const std::string* Override);
    void DrawSkinBackground(TBitmap* B);
    bool Hot();
    // Ends a running fade when the combo goes; outlives the combo.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsSkinComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {}
};

// ---------------------------------------------------------------- office combo

class TbsSkinCustomOfficeComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomOfficeComboBox(TComponent* AOwner);
    ~TbsSkinCustomOfficeComboBox() override;

    TbsSkinOfficeItems* Items() const { return FListBox->Items(); }
    void SetItems(TbsSkinOfficeItems* Value) { FListBox->Items()->Assign(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    int ListBoxHeight() const { return FListBoxHeight; }
    void SetListBoxHeight(int Value) { FListBoxHeight = Value; }
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool Value);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool Value);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
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

    virtual void DropDown();
    void CloseUp(bool AcceptValue);
    bool IsPopupVisible() const;
    bool CanCancelDropDown();
    // Fires OnChange.
    virtual void Change();
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::string& AText);

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void DefaultFontChanged() override;
    void CalcSkinSize(int& AWidth, int& AHeight) override;
    void SetControlRegion() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void CalcRects();

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnChange, OnCloseUp, OnDropDown;

    TbsPopupOfficeListBox* FListBox = nullptr;
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
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

    bool FShowItemTitle = true, FShowItemImage = true, FShowItemText = true;
    int FDropDownCount = 7;
    bool FToolButtonStyle = false;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = false;
    int FListBoxWidth = 0, FListBoxHeight = 0;
    bool FHideSelection = true;
    std::uint32_t FLastTime = 0;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 0;
    TWndMethod FListBoxWindowProc;
    // The configured drop-down element, kept while a skin change leaves the
    // combo unskinned.
    std::string FListBoxSkinDataName = "listbox";

private:
    friend class TbsPopupOfficeListBox;
    void ListBoxWindowProcHook(TMessage& Message);
    void ProcessListBoxDrag();
    void StartTimer();
    void StopTimer();
    void WMTimer();
    void CMCancelMode(TMessage& Message);
    void TakeListIndex();
    int ShownIndex();
    bool Hot();
    void DrawButton(TCanvas* C);
    void DrawStretchButton(TCanvas* C);
    void DrawDefaultItem(TCanvas* C);
    void DrawSkinItem(TCanvas* C);
    void DrawSkinItemStretched(TCanvas* C);
    void DrawItemContent(TCanvas* C, int Index, TRect TR, bool WithTitle,
                         const std::string* Override);
    void DrawDefaultToolFace(TCanvas* C, const std::string* Override);
    void DrawSkinToolFace(TCanvas* C, const std::string* Override);
    void DrawSkinBackground(TBitmap* B);
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
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
