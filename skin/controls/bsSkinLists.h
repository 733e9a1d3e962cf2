// Unit bsSkinLists: the skinned list boxes.
//
// TbsListBox is the native owner-drawn list inside every skinned list box:
// it paints each row itself (plain or from the owner's skin element), keeps
// a horizontal drawing offset the owner's horizontal bar moves, and hands
// input and window creation to virtual slots of its owner. It never shows
// native scroll bars; the owner reads the native scroll state and keeps its
// own skinned bars in step (UpDateScrollBar).
//
// TbsSkinCustomListBox draws the frame, the optional caption with its three
// auto-repeating buttons (up, down, check) and owns the external bars.
//
// TbsSkinOfficeListBox is a list of rich rows (title, caption, picture,
// header rows, disabled rows) scrolled by pixels with its own bar; choosing
// a row fires the row's OnClick and the list's OnItemClick every time.
#pragma once

#include "platform/core/Lists.h"
#include "platform/forms/ListBoxes.h"
#include "skin/controls/bsSkinCtrls.Base.h"
#include "skin/controls/bsSkinCtrls.Panel.h"

#include <cstdint>
#include <memory>
#include <string>

class TbsSkinScrollBar;
class TbsSkinCustomListBox;

using TbsDrawSkinItemEvent = TMethod<void(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight,
                                          TRect TxtRect, TOwnerDrawState State)>;
using TbsDrawSkinOfficeItemEvent = TMethod<void(TCanvas* Cnvs, int Index, TRect TextRct)>;

// A tab stop in pixels: a line of digits only, else 0.
int GetTabStopValue(const std::string& S);

// ---------------------------------------------------------------- TbsListBox

class TbsListBox : public TListBox {
public:
    explicit TbsListBox(TComponent* AOwner);

    TbsSkinCustomListBox* SkinListBox = nullptr;
    // Pixels by which the item content is drawn shifted to the left.
    int FHorizontalExtentValue = 0;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

    TOwnerDrawState GetItemState(int Index);
    void PaintBackgroundToDC(HDC DC);
    void DrawSkinBackground(TCanvas* Cnvs, int X, int Y, int W, int H);
    void PaintList(HDC DC);
    void PaintColumnsList(HDC DC);
    void DefaultDrawItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct);
    void SkinDrawItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct);
    void SkinDrawStretchItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct);
    void DrawTabbedString(const std::string& S, TStrings* TW, int Offset, TRect Rct, TCanvas* Cnvs);

    // Exposed for the owner, whose caption check button clicks the list.
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void PaintWindow(HDC DC) override;
    void CNDrawItem(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void KeyPress(unsigned& Key) override;

private:
    void DrawItemWith(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct);
    void DrawBareSkinItem(TCanvas* Cnvs, int Index, TOwnerDrawState State, TRect Rct);
    void DrawContent(TCanvas* Cnvs, int Index, TRect TextRect, TOwnerDrawState State, int BmpWidth,
                     int BmpHeight);
    void SetItemFont(TCanvas* Cnvs, bool Skinned);
};

// ---------------------------------------------------------------- TbsSkinCustomListBox

class TbsSkinCustomListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomListBox(TComponent* AOwner);
    ~TbsSkinCustomListBox() override;

    // ---- pass-through properties
    TStrings* Items() { return ListBox->Items(); }
    void SetItems(TStrings* Value);
    int ItemIndex() { return ListBox->ItemIndex(); }
    void SetItemIndex(int Value) { ListBox->SetItemIndex(Value); }
    bool Sorted() const { return ListBox->Sorted(); }
    void SetSorted(bool Value);
    bool MultiSelect() const { return ListBox->MultiSelect(); }
    void SetMultiSelect(bool Value) { ListBox->SetMultiSelect(Value); }
    bool ExtandedSelect() const { return ListBox->ExtendedSelect(); }
    void SetExtandedSelect(bool Value) { ListBox->SetExtendedSelect(Value); }
    bool AutoComplete() const { return ListBox->AutoComplete(); }
    void SetAutoComplete(bool Value) { ListBox->SetAutoComplete(Value); }
    int Columns() const { return ListBox->Columns(); }
    void SetColumns(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool Value);
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool Value) { FUseSkinItemHeight = Value; }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    TStrings* TabWidths() const { return FTabWidths.get(); }
    void SetTabWidths(TStrings* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TFont* ListBoxFont() { return ListBox->Font(); }
    void SetListBoxFont(TFont* Value) { ListBox->Font()->Assign(Value); }
    bool ListBoxTabStop() const { return ListBox->TabStop(); }
    void SetListBoxTabStop(bool Value) { ListBox->SetTabStop(Value); }
    int ListBoxTabOrder() const { return ListBox->TabOrder(); }
    void SetListBoxTabOrder(int Value) { ListBox->SetTabOrder(Value); }
    TPopupMenu* ListBoxPopupMenu() const { return ListBox->PopupMenu(); }
    void SetListBoxPopupMenu(TPopupMenu* Value) { ListBox->SetPopupMenu(Value); }
    TDragMode ListBoxDragMode() const { return ListBox->DragMode(); }
    void SetListBoxDragMode(TDragMode Value) { ListBox->SetDragMode(Value); }
    TDragKind ListBoxDragKind() const { return ListBox->DragKind(); }
    void SetListBoxDragKind(TDragKind Value) { ListBox->SetDragKind(Value); }
    TCursor ListBoxDragCursor() const { return ListBox->DragCursor(); }
    void SetListBoxDragCursor(TCursor Value) { ListBox->SetDragCursor(Value); }
    // The inner list's drag events; the inner list is their sender.
    TDragDropEvent& OnListBoxDragDrop() { return ListBox->OnDragDrop; }
    TDragOverEvent& OnListBoxDragOver() { return ListBox->OnDragOver; }
    TStartDragEvent& OnListBoxStartDrag() { return ListBox->OnStartDrag; }
    TEndDragEvent& OnListBoxEndDrag() { return ListBox->OnEndDrag; }

    // ---- caption
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool Value);
    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int Value);
    TFont* DefaultCaptionFont() const { return FDefaultCaptionFont.get(); }
    void SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TbsSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TbsSkinPanelNumGlyphs Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    // ---- public
    TCanvas* ListBoxCanvas() { return ListBox->Canvas(); }
    int SelCount() { return ListBox->SelCount(); }
    int TopIndex() { return ListBox->TopIndex(); }
    void SetTopIndex(int Value) { ListBox->SetTopIndex(Value); }
    bool Selected(int Index) { return ListBox->Selected(Index); }
    int CalcHeight(int AItemsCount);
    void Clear();
    int ItemAtPos(TPoint Pos, bool Existing) { return ListBox->ItemAtPos(Pos, Existing); }
    TRect ItemRect(int Index) { return ListBox->ItemRect(Index); }
    void UpDateScrollBar();

    // ---- virtual slots the inner list calls
    virtual int GetItemWidth(int Index, TCanvas* Cnvs);
    virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseMove(TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyUp(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyPress(unsigned& Key);
    virtual void ListBoxEnter();
    virtual void ListBoxExit();
    virtual void ListBoxWndProc(TMessage& Message, bool& CallDefault);
    virtual void ListBoxCreateWnd();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChanged() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void CalcRects();
    void ShowSkinScrollBar();
    void ShowHSkinScrollBar();
    void HideSkinScrollBar();
    void HideHSkinScrollBar();
    void SBChange(TObject* Sender);
    void HSBChange(TObject* Sender);

    // ---- caption buttons
    void DrawButton(TCanvas* Cnvs, int I);
    void TestActive(int X, int Y);
    void ButtonDown(int I, int X, int Y);
    void ButtonUp(int I, int X, int Y);
    void ButtonEnter(int I);
    void ButtonLeave(int I);

    TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
    TNotifyEvent OnListBoxClick, OnListBoxDblClick;
    TMouseEvent OnListBoxMouseDown;
    TMouseMoveEvent OnListBoxMouseMove;
    TMouseEvent OnListBoxMouseUp;
    TKeyEvent OnListBoxKeyDown;
    TKeyPressEvent OnListBoxKeyPress;
    TKeyEvent OnListBoxKeyUp;
    TbsDrawSkinItemEvent OnDrawItem;

    // ---- state the inner list, the caption and the tests read
    struct TButtonState {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    TButtonState Buttons[3];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    TRect NewCaptionRect;
    TRect ListRect;
    int TimerMode = 0;
    bool WaitMode = false;
    TbsSkinScrollBar* ScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TbsListBox* ListBox = nullptr;

    // ---- skin copies (element "listbox")
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor FontColor = clWindowText, ActiveFontColor = clHighlightText,
           FocusFontColor = clHighlightText;
    TRect CaptionRect;
    std::string CaptionFontName;
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight = 0;
    TColor CaptionFontColor = clBtnText;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
    TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
    TRect CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    std::string VScrollBarName, HScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect ButtonsArea;
    TRect DisabledButtonsRect;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool FShowCaptionButtons = true;
    std::unique_ptr<TStringList> FTabWidths;
    bool FUseSkinItemHeight = true;
    bool FHorizontalExtent = false;
    bool FStopUpDateHScrollBar = false;
    int FRowCount = 0;
    std::unique_ptr<TBitmap> FGlyph;
    TbsSkinPanelNumGlyphs FNumGlyphs = 1;
    int FSpacing = 2;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDefaultItemHeight = 20;
    int FDefaultCaptionHeight = 20;
    std::unique_ptr<TFont> FDefaultCaptionFont;
    bool FCaptionMode = false;
    TAlignment FAlignment = taLeftJustify;

private:
    void OnDefaultCaptionFontChange(TObject* Sender);
    void StartTimer(int Mode);
    void StopTimer();
    void WMTimer();
    void StepButton(int I);
    void CalcCaptionButtons();
    void DrawCaption(TCanvas* Cnvs, const TRect& R, TColor Color);
    int RowHeight();
};

class TbsSkinListBox : public TbsSkinCustomListBox {
public:
    explicit TbsSkinListBox(TComponent* AOwner) : TbsSkinCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------- office items

class TbsSkinOfficeListBox;

class TbsSkinOfficeItem : public TCollectionItem {
public:
    explicit TbsSkinOfficeItem(TCollection* ACollection);

    int ImageIndex() const { return FImageIndex; }
    const std::string& Title() const { return FTitle; }
    const std::string& Caption() const { return FCaption; }
    bool Enabled() const { return FEnabled; }
    void* Data() const { return FData; }
    bool Header() const { return FHeader; }

    virtual void SetImageIndex(int Value);
    virtual void SetTitle(const std::string& Value);
    virtual void SetCaption(const std::string& Value);
    virtual void SetData(void* Value);
    virtual void SetEnabled(bool Value);
    virtual void SetHeader(bool Value);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnClick;
    TRect ItemRect;
    bool IsVisible = false;
    bool Active = false;

protected:
    int FImageIndex = -1;
    std::string FTitle;
    std::string FCaption;
    bool FEnabled = true;
    void* FData = nullptr;
    bool FHeader = false;
};

class TbsSkinOfficeItems : public TCollection {
public:
    explicit TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox);

    TbsSkinOfficeItem* Items(int Index) const {
        return static_cast<TbsSkinOfficeItem*>(TCollection::Items(Index));
    }
    TbsSkinOfficeItem* Add();
    TbsSkinOfficeItem* Insert(int Index);
    void Delete(int Index);
    void Clear();

    TbsSkinOfficeListBox* OfficeListBox;

protected:
    void Update(TCollectionItem* Item) override;
};

// ---------------------------------------------------------------- TbsSkinOfficeListBox

class TbsSkinOfficeListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinOfficeListBox(TComponent* AOwner);
    ~TbsSkinOfficeListBox() override;

    TbsSkinOfficeItems* Items() const { return FItems.get(); }
    void SetItems(TbsSkinOfficeItems* Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    bool ShowItemTitles() const { return FShowItemTitles; }
    void SetShowItemTitles(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
    void SetMouseMoveChangeIndex(bool Value) { FMouseMoveChangeIndex = Value; }
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    int ScrollOffset() const { return FScrollOffset; }
    const TRect& ItemsRect() const { return FItemsRect; }

    int CalcHeight(int AItemsCount);
    void CalcItemRects();
    void GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition);
    void UpdateScrollInfo();
    void ShowScrollbar();
    void HideScrollBar();
    void AdjustScrollBar();
    void SBChange(TObject* Sender);
    void Scroll(int AScrollOffset);
    void ScrollToItem(int Index);
    int ItemAtPos(int X, int Y);
    void SetActiveIndex(int Index);
    void FindUp();
    void FindDown();
    void FindPageUp();
    void FindPageDown();

    void DrawItem(int Index, TCanvas* Cnvs);
    void DefaultDrawItem(int Index, TCanvas* Cnvs);
    void SkinDrawItem(int Index, TCanvas* Cnvs);
    void SkinDrawHeaderItem(int Index, TCanvas* Cnvs);
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnItemClick;
    TbsSkinScrollBar* ScrollBar = nullptr;

protected:
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

    bool FMouseMoveChangeIndex = false;
    TColor FDisabledFontColor = TColor(0x808080);
    bool FShowLines = false;
    bool FClicksDisabled = false;
    // A press dropped because the focus was refused; its release is dropped too.
    bool FPressDropped = false;
    bool FMouseDown = false;
    int FMouseActive = -1;
    int FMax = 0;
    int FRealMax = 0;
    TRect FItemsRect;
    int FScrollOffset = 0;
    std::unique_ptr<TbsSkinOfficeItems> FItems;
    TCustomImageList* FImages = nullptr;
    bool FShowItemTitles = true;
    int FItemHeight = 30;
    int FHeaderHeight = 20;
    int FOldHeight = -1;
    int FItemIndex = -1;

private:
    void WMSize();
    void SetActiveFlags(int Index);
    bool Choosable(int Index) const;
    int PageRows() const;
    void DrawRowContent(int Index, TCanvas* Cnvs, TRect R, bool Bold);
    void PaintItems(TBitmap* B, bool Skinned);
};
