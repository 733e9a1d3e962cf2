#include "skin/controls/bsSkinLists.h"

#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

// ---------------------------------------------------------------- items

TbsSkinOfficeItem::TbsSkinOfficeItem(TCollection* ACollection) : TCollectionItem(ACollection) {
    if (auto* Items = dynamic_cast<TbsSkinOfficeItems*>(ACollection))
        Active = Items->OfficeListBox && Index() == Items->OfficeListBox->ItemIndex();
}

void TbsSkinOfficeItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetTitle(const std::string& Value) {
    FTitle = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetCaption(const std::string& Value) {
    FCaption = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetData(void* Value) {
    FData = Value;
}

void TbsSkinOfficeItem::SetEnabled(bool Value) {
    FEnabled = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetHeader(bool Value) {
    FHeader = Value;
    Changed(false);
}

void TbsSkinOfficeItem::Assign(TPersistent* Source) {
    if (auto* S = dynamic_cast<TbsSkinOfficeItem*>(Source)) {
        FImageIndex = S->FImageIndex;
        FCaption = S->FCaption;
        FTitle = S->FTitle;
        FEnabled = S->FEnabled;
        FHeader = S->FHeader;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsSkinOfficeItems::TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox)
    : TCollection(TCollection::ItemClass<TbsSkinOfficeItem>(), AListBox), OfficeListBox(AListBox) {}

// An item joins and leaves the collection in its base constructor and
// destructor, when its own fields do not exist: the change is reported once
// the item is whole (or gone).
TbsSkinOfficeItem* TbsSkinOfficeItems::Add() {
    BeginUpdate();
    auto* Item = static_cast<TbsSkinOfficeItem*>(TCollection::Add());
    EndUpdate();
    OfficeListBox->Repaint();
    return Item;
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Insert(int Index) {
    BeginUpdate();
    TbsSkinOfficeItem* Item = nullptr;
    try {
        Item = static_cast<TbsSkinOfficeItem*>(TCollection::Insert(Index));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    OfficeListBox->Repaint();
    return Item;
}

void TbsSkinOfficeItems::Delete(int Index) {
    BeginUpdate();
    try {
        TCollection::Delete(Index);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    OfficeListBox->Repaint();
}

void TbsSkinOfficeItems::Clear() {
    TCollection::Clear();
    OfficeListBox->Repaint();
}

void TbsSkinOfficeItems::Update(TCollectionItem*) {
    if (!OfficeListBox->Items())
        return;
    OfficeListBox->Repaint();
    OfficeListBox->UpdateScrollInfo();
}

// ---------------------------------------------------------------- list

TbsSkinOfficeListBox::TbsSkinOfficeListBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csReplicatable);
    FItems = std::make_unique<TbsSkinOfficeItems>(this);
    SetBounds(Left(), Top(), 150, 150);
    FSkinDataName = "listbox";
}

TbsSkinOfficeListBox::~TbsSkinOfficeListBox() {
    delete ScrollBar;
    ScrollBar = nullptr;
    FItems.reset();
}

void TbsSkinOfficeListBox::SetItems(TbsSkinOfficeItems* Value) {
    FItems->Assign(Value);
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::SetItemHeight(int Value) {
    // Rows without height would give the page keys nothing to divide by.
    if (Value <= 0 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetHeaderHeight(int Value) {
    if (Value == FHeaderHeight)
        return;
    FHeaderHeight = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetShowLines(bool Value) {
    if (Value == FShowLines)
        return;
    FShowLines = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetShowItemTitles(bool Value) {
    if (Value == FShowItemTitles)
        return;
    FShowItemTitles = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
}

void TbsSkinOfficeListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

// ---------------------------------------------------------------- layout and scrolling

void TbsSkinOfficeListBox::CalcItemRects() {
    if (FIndex == -1) {
        FItemsRect = {2, 2, FWidth - 2, FHeight - 2};
    } else {
        NewClRect = ClRect;
        NewClRect.Right += FWidth - RectWidth(SkinRect);
        NewClRect.Bottom += FHeight - RectHeight(SkinRect);
        FItemsRect = NewClRect;
    }
    if (ScrollBar)
        FItemsRect.Right -= ScrollBar->Width();
    FRealMax = 0;
    int Top = FItemsRect.Top;
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsSkinOfficeItem* Item = FItems->Items(I);
        const int H = Item->Header() ? FHeaderHeight : FItemHeight;
        Item->ItemRect = {FItemsRect.Left, Top - FScrollOffset, FItemsRect.Right,
                          Top + H - FScrollOffset};
        const TRect& R = Item->ItemRect;
        Item->IsVisible = RectVertOverlaps(R, FItemsRect) ||
                          (R.Top <= FItemsRect.Top && R.Bottom >= FItemsRect.Bottom);
        if (Item->IsVisible)
            FRealMax = R.Bottom;
        Top += H;
    }
    FMax = Top;
}

void TbsSkinOfficeListBox::GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition) {
    CalcItemRects();
    AMin = 0;
    AMax = FMax - FItemsRect.Top;
    APage = RectHeight(FItemsRect);
    if (APage >= AMax) {
        APage = 0;
        AMax = 0;
    }
    APosition = FScrollOffset;
}

void TbsSkinOfficeListBox::UpdateScrollInfo() {
    int AMin, AMax, APage, APosition;
    GetScrollInfo(AMin, AMax, APage, APosition);
    if (AMax != 0) {
        if (!ScrollBar)
            ShowScrollbar();
        ScrollBar->SetRange(AMin, AMax, APosition, APage);
        ScrollBar->SetLargeChange(APage);
    } else if (ScrollBar) {
        HideScrollBar();
    }
}

void TbsSkinOfficeListBox::ShowScrollbar() {
    if (ScrollBar)
        return;
    ScrollBar = new TbsSkinScrollBar(this);
    ScrollBar->SetVisible(false);
    ScrollBar->SetParent(this);
    ScrollBar->SetDefaultHeight(0);
    ScrollBar->SetDefaultWidth(19);
    ScrollBar->SetSmallChange(FItemHeight);
    ScrollBar->SetLargeChange(FItemHeight);
    ScrollBar->SetSkinDataName("vscrollbar");
    ScrollBar->SetKind(sbVertical);
    ScrollBar->SetSkinData(FSD);
    ScrollBar->OnChange = TNotifyEvent(this, &TbsSkinOfficeListBox::SBChange);
    AdjustScrollBar();
    ScrollBar->SetVisible(true);
    Repaint();
}

void TbsSkinOfficeListBox::HideScrollBar() {
    if (!ScrollBar)
        return;
    ScrollBar->SetVisible(false);
    delete ScrollBar;
    ScrollBar = nullptr;
    Repaint();
}

void TbsSkinOfficeListBox::AdjustScrollBar() {
    if (!ScrollBar)
        return;
    TRect R{2, 2, FWidth - 2, FHeight - 2};
    if (FIndex != -1) {
        NewClRect = ClRect;
        NewClRect.Right += FWidth - RectWidth(SkinRect);
        NewClRect.Bottom += FHeight - RectHeight(SkinRect);
        R = NewClRect;
    }
    ScrollBar->SetBounds(R.Right - ScrollBar->Width(), R.Top, ScrollBar->Width(), RectHeight(R));
}

void TbsSkinOfficeListBox::SBChange(TObject*) {
    Scroll(ScrollBar->Position());
}

void TbsSkinOfficeListBox::Scroll(int AScrollOffset) {
    FScrollOffset = AScrollOffset;
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::ScrollToItem(int Index) {
    // Only rows that exist can be scrolled to; other indices keep the view.
    if (Index < 0 || Index >= FItems->Count())
        return;
    CalcItemRects();
    const TRect Scrolled = FItems->Items(Index)->ItemRect;
    const TRect U{Scrolled.Left, Scrolled.Top + FScrollOffset, Scrolled.Right,
                  Scrolled.Bottom + FScrollOffset};
    if (Scrolled.Top <= FItemsRect.Top) {
        if (Index == 1 && FItems->Items(0)->Header())
            FScrollOffset = 0;
        else
            FScrollOffset = U.Top - FItemsRect.Top;
        CalcItemRects();
        Invalidate();
    } else if (Scrolled.Bottom > FItemsRect.Bottom) {
        // The row's bottom goes to the bottom of the items area, whatever
        // the frame below it.
        FScrollOffset = U.Bottom - FItemsRect.Bottom;
        CalcItemRects();
        Invalidate();
    }
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::WMSize() {
    if (FOldHeight != -1 && FOldHeight != FHeight) {
        CalcItemRects();
        if (FItemsRect.Bottom >= FRealMax && FScrollOffset > 0) {
            FScrollOffset = std::max(0, FScrollOffset - (FItemsRect.Bottom - FRealMax));
            CalcItemRects();
            Invalidate();
        }
    }
    AdjustScrollBar();
    UpdateScrollInfo();
    FOldHeight = FHeight;
}

// ---------------------------------------------------------------- choosing

void TbsSkinOfficeListBox::SetActiveFlags(int Index) {
    for (int I = 0; I < FItems->Count(); ++I)
        FItems->Items(I)->Active = I == Index;
}

void TbsSkinOfficeListBox::SetItemIndex(int Value) {
    FItemIndex = Value;
    if (Value < 0 || Value >= FItems->Count()) {
        // An index outside the rows is kept as no choice: no row is active
        // and no row event fires.
        SetActiveFlags(-1);
        Repaint();
        return;
    }
    SetActiveFlags(Value);
    Repaint();
    ScrollToItem(Value);
    if (Designing())
        return;
    TbsSkinOfficeItem* Item = FItems->Items(Value);
    if (Item->OnClick)
        Item->OnClick(this);
    if (OnItemClick)
        OnItemClick(this);
}

void TbsSkinOfficeListBox::SetActiveIndex(int Index) {
    FItemIndex = Index;
    SetActiveFlags(Index);
    Repaint();
    ScrollToItem(Index);
}

int TbsSkinOfficeListBox::ItemAtPos(int X, int Y) {
    for (int I = 0; I < FItems->Count(); ++I) {
        TbsSkinOfficeItem* Item = FItems->Items(I);
        const TRect& R = Item->ItemRect;
        if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom && Item->Enabled())
            return I;
    }
    return -1;
}

bool TbsSkinOfficeListBox::Choosable(int Index) const {
    const TbsSkinOfficeItem* Item = FItems->Items(Index);
    return !Item->Header() && Item->Enabled();
}

int TbsSkinOfficeListBox::PageRows() const {
    const int Page = RectHeight(FItemsRect) / std::max(1, FItemHeight);
    return Page == 0 ? 1 : Page;
}

void TbsSkinOfficeListBox::FindUp() {
    if (FItemIndex < 1)
        return;
    for (int V = std::min(FItemIndex, FItems->Count()) - 1; V >= 0; --V)
        if (Choosable(V)) {
            SetItemIndex(V);
            return;
        }
}

void TbsSkinOfficeListBox::FindDown() {
    const int Start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    for (int V = Start; V < FItems->Count(); ++V)
        if (Choosable(V)) {
            SetItemIndex(V);
            return;
        }
}

void TbsSkinOfficeListBox::FindPageUp() {
    if (FItemIndex < 1 || FItems->Count() == 0)
        return;
    CalcItemRects();
    const int Page = PageRows();
    const int From = std::min(FItemIndex, FItems->Count()) - 1;
    bool PassedHeader = false;
    int Candidate = -1;
    for (int V = From; V >= std::max(0, FItemIndex - 1 - Page); --V) {
        if (FItems->Items(V)->Header()) {
            PassedHeader = true;
            continue;
        }
        if (!Choosable(V))
            continue;
        if (PassedHeader) {
            SetItemIndex(V);
            return;
        }
        Candidate = V;
    }
    if (Candidate != -1)
        SetItemIndex(Candidate);
}

void TbsSkinOfficeListBox::FindPageDown() {
    const int Start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    const int Last = FItems->Count() - 1;
    if (Start > Last)
        return;
    CalcItemRects();
    const int Page = PageRows();
    bool PassedHeader = false;
    int Candidate = -1;
    for (int V = Start; V <= std::min(Start + Page, Last); ++V) {
        if (FItems->Items(V)->Header()) {
            PassedHeader = true;
            continue;
        }
        if (!Choosable(V))
            continue;
        if (PassedHeader) {
            SetItemIndex(V);
            return;
        }
        Candidate = V;
    }
    if (Candidate != -1)
        SetItemIndex(Candidate);
}

// ---------------------------------------------------------------- input

void TbsSkinOfficeListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    const int I = ItemAtPos(X, Y);
    if (I != -1 && !FItems->Items(I)->Header() && Button == mbLeft) {
        SetActiveIndex(I);
        FMouseDown = true;
        FMouseActive = I;
    }
}

void TbsSkinOfficeListBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    const int I = ItemAtPos(X, Y);
    if (I != -1 && !FItems->Items(I)->Header() && (FMouseDown || FMouseMoveChangeIndex) &&
        I != FMouseActive) {
        SetActiveIndex(I);
        FMouseActive = I;
    }
}

void TbsSkinOfficeListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDown = false;
    const int I = ItemAtPos(X, Y);
    if (I != -1 && !FItems->Items(I)->Header() && Button == mbLeft)
        SetItemIndex(I);
}

void TbsSkinOfficeListBox::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_NEXT:
        FindPageDown();
        break;
    case VK_PRIOR:
        FindPageUp();
        break;
    case VK_UP:
    case VK_LEFT:
        FindUp();
        break;
    case VK_DOWN:
    case VK_RIGHT:
        FindDown();
        break;
    default:
        break;
    }
}

void TbsSkinOfficeListBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Designing() && !Focused()) {
            FClicksDisabled = true;
            SetFocus();
            FClicksDisabled = false;
            if (!Focused()) {
                FPressDropped = true;
                return;
            }
        }
        FPressDropped = false;
        break;
    case WM_LBUTTONUP:
        // Otherwise the release would still choose the row under it.
        if (FPressDropped) {
            FPressDropped = false;
            return;
        }
        break;
    case CN_COMMAND:
        if (FClicksDisabled)
            return;
        break;
    default:
        break;
    }
    TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinOfficeListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(Message);
        WMSize();
        return;
    case WM_MOUSEWHEEL:
        TbsSkinCustomControl::Dispatch(Message);
        if (ScrollBar) {
            const int Step = ScrollBar->SmallChange();
            ScrollBar->SetPosition(ScrollBar->Position() +
                                   (std::int32_t(Message.WParam) < 0 ? Step : -Step));
        }
        return;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case CM_FOCUSCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- skin

void TbsSkinOfficeListBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (FSD && !FSD->Empty) {
        const int EditIndex = FSD->GetControlIndex("edit");
        auto* Edit = EditIndex == -1
                         ? nullptr
                         : dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[EditIndex].get());
        FDisabledFontColor = Edit ? Edit->DisabledFontColor : FSD->SkinColors()->cBtnShadow();
    }
    if (ScrollBar) {
        ScrollBar->SetSkinData(FSD);
        AdjustScrollBar();
    }
    CalcItemRects();
    Repaint();
}

int TbsSkinOfficeListBox::CalcHeight(int AItemsCount) {
    const int N = std::min(AItemsCount, FItems->Count());
    GetSkinData();
    if (FIndex == -1)
        return N * FItemHeight + 5;
    NewClRect = ClRect;
    NewClRect.Right += FWidth - RectWidth(SkinRect);
    NewClRect.Bottom += FHeight - RectHeight(SkinRect);
    return N * FItemHeight + FHeight - RectHeight(NewClRect) + 1;
}
