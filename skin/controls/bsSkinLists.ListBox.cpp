#include "skin/controls/bsSkinLists.h"

#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FTabWidths(std::make_unique<TStringList>()),
      FGlyph(std::make_unique<TBitmap>()), FDefaultCaptionFont(std::make_unique<TFont>()) {
    FControlStyle =
        TControlStyle{csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable};
    FControlStyle.Include(csAcceptsControls);
    FForceBackground = true;
    FDrawbackground = false;
    FDefaultCaptionFont->SetName("Arial");
    FDefaultCaptionFont->SetHeight(14);
    FDefaultCaptionFont->OnChange =
        TNotifyEvent(this, &TbsSkinCustomListBox::OnDefaultCaptionFontChange);
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    SetBounds(Left(), Top(), 120, 120);
    FSkinDataName = "listbox";

    ListBox = new TbsListBox(this);
    ListBox->SkinListBox = this;
    ListBox->SetStyle(lbOwnerDrawFixed);
    ListBox->SetItemHeight(FDefaultItemHeight);
    ListBox->SetParent(this);
    ListBox->SetVisible(true);
    CalcRects();
}

TbsSkinCustomListBox::~TbsSkinCustomListBox() {
    FDefaultCaptionFont->OnChange = nullptr;
    if (HandleAllocated())
        KillTimer(Handle(), 1);
    delete ScrollBar;
    ScrollBar = nullptr;
    delete HScrollBar;
    HScrollBar = nullptr;
    // The inner list calls back into this control while it goes.
    ListBox->SkinListBox = nullptr;
    delete ListBox;
    ListBox = nullptr;
}

void TbsSkinCustomListBox::CreateParams(TCreateParams& Params) {
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

// ---------------------------------------------------------------- properties

void TbsSkinCustomListBox::SetItems(TStrings* Value) {
    ListBox->Items()->Assign(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetSorted(bool Value) {
    if (ScrollBar)
        HideSkinScrollBar();
    ListBox->SetSorted(Value);
}

void TbsSkinCustomListBox::SetColumns(int Value) {
    // The bar of the other kind goes first; the next update makes the right one.
    if (ScrollBar && (Value > 0) != (ListBox->Columns() > 0))
        HideSkinScrollBar();
    ListBox->SetColumns(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetRowCount(int Value) {
    FRowCount = Value;
    if (FRowCount != 0)
        SetHeight(CalcHeight(FRowCount));
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool Value) {
    FHorizontalExtent = Value;
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int Value) {
    FDefaultItemHeight = Value;
    if ((FIndex == -1 || !FUseSkinItemHeight) && Value > 0)
        ListBox->SetItemHeight(Value);
}

void TbsSkinCustomListBox::SetTabWidths(TStrings* Value) {
    FTabWidths->Assign(Value);
    if (FTabWidths->Count() > 0)
        ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    ListBox->Repaint();
}

void TbsSkinCustomListBox::SetImageIndex(int Value) {
    FImageIndex = Value;
    ListBox->Repaint();
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        if (ListBox)
            ListBox->Repaint();
    }
}

void TbsSkinCustomListBox::DefaultFontChanged() {
    if (FIndex == -1)
        Font()->Assign(DefaultFont());
}

void TbsSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1)
        Repaint();
}

// ---------------------------------------------------------------- virtual slots

int TbsSkinCustomListBox::GetItemWidth(int Index, TCanvas* Cnvs) {
    return Cnvs->TextWidth(ListBox->Items()->Strings(Index));
}

void TbsSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseDown)
        OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseMove)
        OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseUp)
        OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick() {
    if (OnListBoxClick)
        OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick() {
    if (OnListBoxDblClick)
        OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(WORD& Key, TShiftState Shift) {
    if (OnListBoxKeyDown)
        OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(WORD& Key, TShiftState Shift) {
    if (OnListBoxKeyUp)
        OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(unsigned& Key) {
    if (OnListBoxKeyPress)
        OnListBoxKeyPress(this, Key);
}

void TbsSkinCustomListBox::ListBoxEnter() {}

void TbsSkinCustomListBox::ListBoxExit() {}

void TbsSkinCustomListBox::ListBoxWndProc(TMessage&, bool& CallDefault) {
    CallDefault = true;
}

void TbsSkinCustomListBox::ListBoxCreateWnd() {}

// ---------------------------------------------------------------- skin

void TbsSkinCustomListBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    // A frame without a picture cannot be cut: the plain look stands in.
    if (!Picture) {
        FIndex = -1;
        return;
    }
    FontName = E->FontName;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    SItemRect = E->SItemRect;
    ActiveItemRect = IsNullRect(E->ActiveItemRect) ? SItemRect : E->ActiveItemRect;
    FocusItemRect = IsNullRect(E->FocusItemRect) ? SItemRect : E->FocusItemRect;
    ItemLeftOffset = E->ItemLeftOffset;
    ItemRightOffset = E->ItemRightOffset;
    ItemTextRect = E->ItemTextRect;
    FontColor = E->FontColor;
    ActiveFontColor = E->ActiveFontColor;
    FocusFontColor = E->FocusFontColor;
    CaptionRect = E->CaptionRect;
    CaptionFontName = E->CaptionFontName;
    CaptionFontStyle = E->CaptionFontStyle;
    CaptionFontHeight = E->CaptionFontHeight;
    CaptionFontColor = E->CaptionFontColor;
    UpButtonRect = E->UpButtonRect;
    ActiveUpButtonRect = E->ActiveUpButtonRect;
    DownUpButtonRect = IsNullRect(E->DownUpButtonRect) ? ActiveUpButtonRect : E->DownUpButtonRect;
    DownButtonRect = E->DownButtonRect;
    ActiveDownButtonRect = E->ActiveDownButtonRect;
    DownDownButtonRect =
        IsNullRect(E->DownDownButtonRect) ? ActiveDownButtonRect : E->DownDownButtonRect;
    CheckButtonRect = E->CheckButtonRect;
    ActiveCheckButtonRect = E->ActiveCheckButtonRect;
    DownCheckButtonRect =
        IsNullRect(E->DownCheckButtonRect) ? ActiveCheckButtonRect : E->DownCheckButtonRect;
    VScrollBarName = E->VScrollBarName;
    HScrollBarName = E->HScrollBarName;
    BothScrollBarName = E->BothScrollBarName;
    ShowFocus = E->ShowFocus;
    ButtonsArea = E->ButtonsArea;
    DisabledButtonsRect = E->DisabledButtonsRect;
}

void TbsSkinCustomListBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    FStopUpDateHScrollBar = true;
    if (FIndex == -1) {
        ListBox->SetItemHeight(FDefaultItemHeight);
        ListBox->Font()->Assign(DefaultFont());
    } else if (FUseSkinItemHeight) {
        // An item picture without height would give rows nothing to divide by.
        const int H = RectHeight(SItemRect);
        ListBox->SetItemHeight(H > 0 ? H : FDefaultItemHeight);
    }
    if (ScrollBar) {
        if (FIndex == -1)
            ScrollBar->SetSkinDataName("");
        else
            ScrollBar->SetSkinDataName(Columns() > 0 ? HScrollBarName : VScrollBarName);
        ScrollBar->SetSkinData(FSD);
    }
    if (HScrollBar) {
        if (FIndex == -1) {
            HScrollBar->SetSkinDataName("");
        } else {
            const std::string& Name = ScrollBar ? BothScrollBarName : HScrollBarName;
            HScrollBar->SetBothSkinDataName(Name);
            HScrollBar->SetSkinDataName(Name);
        }
        HScrollBar->SetSkinData(FSD);
    }
    if (FRowCount != 0)
        SetHeight(CalcHeight(FRowCount));
    CalcRects();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    ListBox->Repaint();
}

// ---------------------------------------------------------------- layout

int TbsSkinCustomListBox::RowHeight() {
    return std::max(1, ListBox->ItemHeight());
}

void TbsSkinCustomListBox::CalcRects() {
    if (!ListBox)
        return;
    GetSkinData();
    int CapH = 1;
    if (FIndex == -1) {
        CapH = FCaptionMode ? FDefaultCaptionHeight : 1;
    } else {
        NewClRect = ClRect;
        NewClRect.Right += FWidth - RectWidth(SkinRect);
        NewClRect.Bottom += FHeight - RectHeight(SkinRect);
    }
    int HH = 0;
    if (Columns() == 0 && HScrollBar && HScrollBar->Visible()) {
        if (FIndex == -1) {
            HScrollBar->SetBounds(1, FHeight - 20, FWidth - 2, 19);
            HH = HScrollBar->Height() - 1;
        } else {
            const int BH = HScrollBar->Height();
            HScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - BH, RectWidth(NewClRect), BH);
            HH = BH;
        }
    }
    if (ScrollBar && ScrollBar->Visible()) {
        if (FIndex == -1) {
            if (Columns() <= 0) {
                ScrollBar->SetBounds(FWidth - 20, CapH, 19, FHeight - 1 - CapH - HH);
                ListRect = {2, CapH + 1, ScrollBar->Left(), FHeight - 2 - HH};
            } else {
                ScrollBar->SetBounds(1, FHeight - 20, FWidth - 2, 19);
                ListRect = {2, CapH + 1, FWidth - 2, ScrollBar->Top()};
            }
        } else if (Columns() <= 0) {
            const int BW = ScrollBar->Width();
            ScrollBar->SetBounds(NewClRect.Right - BW, NewClRect.Top, BW,
                                 RectHeight(NewClRect) - HH);
            ListRect = {NewClRect.Left, NewClRect.Top, NewClRect.Right - BW, NewClRect.Bottom - HH};
        } else {
            const int BH = ScrollBar->Height();
            ScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - BH, RectWidth(NewClRect), BH);
            ListRect = {NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom - BH};
        }
    } else if (FIndex == -1) {
        ListRect = {2, CapH + 1, FWidth - 2, FHeight - 2 - HH};
    } else {
        ListRect = {NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom - HH};
    }
    ListBox->SetBounds(ListRect.Left, ListRect.Top, RectWidth(ListRect), RectHeight(ListRect));
    CalcCaptionButtons();
}

int TbsSkinCustomListBox::CalcHeight(int AItemsCount) {
    GetSkinData();
    int H;
    if (FIndex == -1) {
        H = AItemsCount * RowHeight() + 4;
        if (FCaptionMode)
            H += FDefaultCaptionHeight;
    } else {
        H = RectHeight(SkinRect) + AItemsCount * RowHeight() + ClRect.Top - ClRect.Bottom;
    }
    if (HScrollBar)
        H += HScrollBar->Height();
    return H;
}

void TbsSkinCustomListBox::Clear() {
    ListBox->Clear();
    UpDateScrollBar();
}

void TbsSkinCustomListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(Message);
        CalcRects();
        UpDateScrollBar();
        if (ScrollBar)
            ScrollBar->Repaint();
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(Message);
        WMTimer();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(Message);
        for (auto& Btn : Buttons)
            if (Btn.MouseIn) {
                Btn.MouseIn = false;
                Repaint();
            }
        return;
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        if (FCaptionMode)
            Repaint();
        return;
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- external bars

void TbsSkinCustomListBox::UpDateScrollBar() {
    if (!ListBox)
        return;
    const int Count = ListBox->Items()->Count();
    if (Columns() <= 0) {
        if (!FHorizontalExtent || FStopUpDateHScrollBar) {
            if (HScrollBar && HScrollBar->Visible())
                HideHSkinScrollBar();
        } else {
            TCanvas* C = ListBox->Canvas();
            if (FIndex != -1 && UseSkinFont()) {
                C->Font()->SetName(FontName);
                C->Font()->SetStyle(FontStyle);
                C->Font()->SetHeight(FontHeight);
            } else {
                C->Font()->Assign(ListBox->Font());
            }
            int AMax = 0;
            for (int I = 0; I < Count; ++I)
                AMax = std::max(AMax, GetItemWidth(I, C));
            int Page = FIndex == -1
                           ? ListBox->Width() - 4
                           : ListBox->Width() + RectWidth(ItemTextRect) - RectWidth(SItemRect);
            if (FImages)
                Page -= FImages->Width() + 4;
            if (Page < AMax) {
                if (!HScrollBar)
                    ShowHSkinScrollBar();
                HScrollBar->SetRange(0, AMax, HScrollBar->Position(), Page);
                HScrollBar->SetSmallChange(C->TextWidth("0"));
                HScrollBar->SetLargeChange(C->TextWidth("0"));
            } else if (HScrollBar && HScrollBar->Visible()) {
                HideHSkinScrollBar();
            }
        }
        if (FRowCount >= 1 && FRowCount == Count) {
            if (ScrollBar && ScrollBar->Visible())
                HideSkinScrollBar();
            return;
        }
        int Min = 0, Max = 0;
        GetScrollRange(ListBox->Handle(), SB_VERT, &Min, &Max);
        const int Pos = GetScrollPos(ListBox->Handle(), SB_VERT);
        const int Rows = ListBox->Height() / RowHeight();
        if (Max > Min && Pos <= Max && Rows < Count) {
            if (!ScrollBar)
                ShowSkinScrollBar();
            ScrollBar->SetRange(Min, Max, Pos, Rows);
            ScrollBar->SetLargeChange(Rows);
        } else if (ScrollBar && ScrollBar->Visible()) {
            HideSkinScrollBar();
        }
        return;
    }
    int Min = 0, Max = 0;
    GetScrollRange(ListBox->Handle(), SB_HORZ, &Min, &Max);
    const int Pos = GetScrollPos(ListBox->Handle(), SB_HORZ);
    if (Max > Min && Pos <= Max && Columns() <= Max &&
        (ListBox->Height() / RowHeight()) * Columns() < Count) {
        if (!ScrollBar)
            ShowSkinScrollBar();
        ScrollBar->SetRange(Min, Max, Pos, Columns());
    } else if (ScrollBar && ScrollBar->Visible()) {
        HideSkinScrollBar();
    }
}

namespace {

TbsSkinScrollBar* NewBar(TbsSkinCustomListBox* Owner) {
    auto* Bar = new TbsSkinScrollBar(Owner);
    Bar->SetVisible(false);
    Bar->SetBounds(0, 0, 20, 100);
    Bar->SetPageSize(0);
    Bar->SetMin(0);
    Bar->SetPosition(0);
    return Bar;
}

} // namespace

void TbsSkinCustomListBox::ShowSkinScrollBar() {
    ScrollBar = NewBar(this);
    ScrollBar->SetKind(Columns() <= 0 ? sbVertical : sbHorizontal);
    ScrollBar->OnChange = TNotifyEvent(this, &TbsSkinCustomListBox::SBChange);
    if (FIndex == -1)
        ScrollBar->SetSkinDataName("");
    else
        ScrollBar->SetSkinDataName(Columns() <= 0 ? VScrollBarName : HScrollBarName);
    ScrollBar->SetSkinData(FSD);
    if (HScrollBar) {
        if (FIndex == -1) {
            HScrollBar->SetSkinDataName("");
            HScrollBar->SetBoth(true);
            HScrollBar->SetBothMarkerWidth(19);
        } else {
            HScrollBar->SetBothSkinDataName(BothScrollBarName);
            HScrollBar->SetSkinDataName(BothScrollBarName);
            HScrollBar->SetBoth(true);
        }
        HScrollBar->SetSkinData(FSD);
    }
    ScrollBar->SetParent(this);
    CalcRects();
    ScrollBar->SetVisible(true);
    CalcRects();
    Repaint();
}

void TbsSkinCustomListBox::ShowHSkinScrollBar() {
    HScrollBar = NewBar(this);
    HScrollBar->SetKind(sbHorizontal);
    HScrollBar->OnChange = TNotifyEvent(this, &TbsSkinCustomListBox::HSBChange);
    if (FIndex == -1) {
        HScrollBar->SetSkinDataName("");
        if (ScrollBar) {
            HScrollBar->SetBoth(true);
            HScrollBar->SetBothMarkerWidth(19);
        }
    } else {
        const std::string& Name = ScrollBar ? BothScrollBarName : HScrollBarName;
        HScrollBar->SetBothSkinDataName(Name);
        HScrollBar->SetSkinDataName(Name);
        HScrollBar->SetBoth(ScrollBar != nullptr);
    }
    HScrollBar->SetSkinData(FSD);
    HScrollBar->SetParent(this);
    HScrollBar->SetVisible(true);
    CalcRects();
    Repaint();
}

void TbsSkinCustomListBox::HideSkinScrollBar() {
    if (!ScrollBar)
        return;
    ScrollBar->SetVisible(false);
    delete ScrollBar;
    ScrollBar = nullptr;
    if (HScrollBar) {
        if (FIndex == -1) {
            HScrollBar->SetSkinDataName("");
        } else {
            HScrollBar->SetBothSkinDataName(HScrollBarName);
            HScrollBar->SetSkinDataName(HScrollBarName);
        }
        HScrollBar->SetBoth(false);
    }
    CalcRects();
}

void TbsSkinCustomListBox::HideHSkinScrollBar() {
    if (!HScrollBar)
        return;
    ListBox->FHorizontalExtentValue = 0;
    HScrollBar->SetVisible(false);
    delete HScrollBar;
    HScrollBar = nullptr;
    CalcRects();
    ListBox->Repaint();
}

void TbsSkinCustomListBox::SBChange(TObject*) {
    const UINT Msg = Columns() <= 0 ? WM_VSCROLL : WM_HSCROLL;
    SendMessage(ListBox->Handle(), Msg, MAKEWPARAM(SB_THUMBPOSITION, ScrollBar->Position()), 0);
}

void TbsSkinCustomListBox::HSBChange(TObject*) {
    ListBox->FHorizontalExtentValue = HScrollBar->Position();
    ListBox->Repaint();
}
