#include "skin/controls/bsSkinCombos.h"

#include "platform/core/Clock.h"
#include "platform/core/Strings.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FControlStyle =
        TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
    SetTabStop(true);
    Font()->SetName("Arial");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(14);
    SetBounds(Left(), Top(), 120, 20);
    FListBox = new TbsPopupListBox(this);
    FListBox->SetVisible(false);
    if (!Designing())
        FListBox->SetParent(this);
    FListBox->ListBox->SetTabStop(false);
    FListBox->ListBox->OnMouseMove =
        TMouseMoveEvent(this, &TbsSkinCustomComboBox::ListBoxMouseMoveHook);
    FListBoxWindowProc = FListBox->ListBox->WindowProc;
    FListBox->ListBox->WindowProc = TWndMethod(this, &TbsSkinCustomComboBox::ListBoxWindowProcHook);
    FListBox->OnCheckButtonClick =
        TNotifyEvent(this, &TbsSkinCustomComboBox::ListBoxCheckButtonClick);
    CalcRects();
    FSkinDataName = "combobox";
    FLastTime = 0;
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
    // A fade running inside DropDown stops at its next message pass.
    *FAlive = false;
    if (HandleAllocated())
        KillTimer(Handle(), 1);
    delete FEdit;
    FEdit = nullptr;
    if (FListBox) {
        FListBox->ListBox->WindowProc = FListBoxWindowProc;
        FListBox->ListBox->OnMouseMove = nullptr;
        delete FListBox;
        FListBox = nullptr;
    }
}

// ---------------------------------------------------------------- properties

void TbsSkinCustomComboBox::SetDropDownCount(int Value) {
    if (Value > 0)
        FDropDownCount = Value;
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) {
        Invalidate();
        if (FEdit)
            FEdit->SetColor(Value);
    }
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value) {
    if (FToolButtonStyle == Value)
        return;
    FToolButtonStyle = Value;
    if (Value) {
        SetStyle(bscbFixedStyle);
        FUseSkinSize = false;
    }
    Repaint();
}

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value) {
    FListBox->SetImages(Value);
    Repaint();
}

void TbsSkinCustomComboBox::SetImageIndex(int Value) {
    FListBox->SetImageIndex(Value);
    Repaint();
}

void TbsSkinCustomComboBox::SetTabWidths(TStrings* Value) {
    if (FListBox)
        FListBox->SetTabWidths(Value);
}

void TbsSkinCustomComboBox::Invalidate() {
    TbsSkinCustomControl::Invalidate();
    if (FIndex != -1 && FEdit)
        FEdit->Invalidate();
}

void TbsSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FListBox && AComponent == FListBox->Images())
        FListBox->SetImages(nullptr);
}

void TbsSkinCustomComboBox::DefaultFontChanged() {
    Font()->Assign(DefaultFont());
}

void TbsSkinCustomComboBox::Change() {}

// ---------------------------------------------------------------- selection

void TbsSkinCustomComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    const int Index = FListBox->ItemIndex();
    if (Items()->Count() > 0 && Index != -1)
        SetText(Items()->Strings(Index));
    FOldItemIndex = Index;
    if (!FEdit)
        Repaint();
    if (Designing() || ComponentState().Contains(csLoading))
        return;
    if (OnClick)
        OnClick(this);
    Change();
}

void TbsSkinCustomComboBox::TextChanged() {
    if (FEdit && !FromEdit)
        FEdit->SetText(Text());
    if (OnChange)
        OnChange(this);
    if (FromEdit)
        Change();
}

void TbsSkinCustomComboBox::FindListItem(const std::string& C) {
    std::string S;
    if (FAutoComplete) {
        const std::uint32_t Now = GetTickCount();
        if (std::uint32_t(Now - FLastTime) >= 500)
            FFilter.clear();
        FLastTime = Now;
        FFilter += C;
        S = FFilter;
    } else {
        S = C;
    }
    if (S.empty())
        return;
    const WPARAM Start = Utf8Length(S) == 1 ? WPARAM(ItemIndex()) : WPARAM(-1);
    const int Row =
        int(SendMessage(FListBox->ListBox->Handle(), LB_FINDSTRING, Start, LPARAM(S.c_str())));
    if (Row >= 0)
        SetItemIndex(Row);
}

void TbsSkinCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    const bool Alt = Shift.Contains(ssAlt);
    const int Index = ItemIndex();
    switch (Key) {
    case VK_RETURN:
        if (IsPopupVisible())
            CloseUp(true);
        break;
    case VK_ESCAPE:
        if (IsPopupVisible())
            CloseUp(false);
        break;
    case VK_PRIOR:
        SetItemIndex(std::max(0, Index - FDropDownCount - 1));
        break;
    case VK_NEXT:
        SetItemIndex(std::min(Items()->Count() - 1, Index + FDropDownCount - 1));
        break;
    case VK_UP:
    case VK_LEFT:
        if (Alt) {
            if (IsPopupVisible())
                CloseUp(false);
        } else if (Index > 0) {
            SetItemIndex(Index - 1);
        }
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (Alt) {
            if (!IsPopupVisible())
                DropDown();
        } else if (Index < Items()->Count() - 1) {
            SetItemIndex(Index + 1);
        }
        break;
    default:
        break;
    }
}

void TbsSkinCustomComboBox::KeyPress(unsigned& Key) {
    TbsSkinCustomControl::KeyPress(Key);
    if (Key < ' ')
        return;
    std::string C;
    AppendUtf8(C, char32_t(Key));
    FindListItem(C);
}

// ---------------------------------------------------------------- messages

void TbsSkinCustomComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (FEdit) {
            FEdit->SetFocus();
            if (FIndex != -1 && !IsNullRect(ActiveSkinRect)) {
                SetEditFontColor(ActiveFontColor);
                Invalidate();
            }
            return;
        }
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(Message);
        if (!FEdit && IsPopupVisible())
            CloseUp(false);
        Repaint();
        if (FEdit && FIndex != -1 && !IsNullRect(ActiveSkinRect)) {
            SetEditFontColor(FontColor);
            Invalidate();
        }
        return;
    case CM_MOUSEENTER:
        TbsSkinCustomControl::Dispatch(Message);
        FMouseIn = true;
        if (FEdit && FIndex != -1 && !IsNullRect(ActiveSkinRect) && !FEdit->Focused())
            SetEditFontColor(ActiveFontColor);
        if ((FIndex != -1 && !IsNullRect(ActiveSkinRect)) || FToolButtonStyle)
            Invalidate();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(Message);
        FMouseIn = false;
        if (Button.MouseIn) {
            Button.MouseIn = false;
            Repaint();
        }
        if (FEdit && FIndex != -1 && !IsNullRect(ActiveSkinRect) && !FEdit->Focused())
            SetEditFontColor(FontColor);
        if ((FIndex != -1 && !IsNullRect(ActiveSkinRect)) || FToolButtonStyle)
            Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        if (FEdit) {
            if (!Enabled())
                SetEditFontColor(GetDisabledFontColor());
            else
                SetEditFontColor(FIndex == -1 ? DefaultFont()->Color() : FontColor);
        }
        Repaint();
        return;
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        TextChanged();
        return;
    case CM_WANTSPECIALKEY:
        if (Message.WParam >= 37 && Message.WParam <= 40) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(Message);
        CalcRects();
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(Message);
        WMTimer();
        return;
    case CM_CANCELMODE:
        TbsSkinCustomControl::Dispatch(Message);
        CMCancelMode(Message);
        return;
    case WM_MOUSEWHEEL: {
        TbsSkinCustomControl::Dispatch(Message);
        const bool Forward = std::int32_t(Message.WParam) > 0;
        const int Index = ItemIndex();
        if (IsPopupVisible()) {
            if (Forward && Index > 0)
                FListBox->SetItemIndex(Index - 1);
            else if (!Forward && Index < Items()->Count() - 1)
                FListBox->SetItemIndex(Index + 1);
        } else if (Forward && Index > 0) {
            SetItemIndex(Index - 1);
        } else if (!Forward && Index < Items()->Count() - 1) {
            SetItemIndex(Index + 1);
        }
        Message.Result = 1;
        return;
    }
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------- skin

void TbsSkinCustomComboBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinComboBox*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    // A face without a picture cannot be cut: the plain look stands in.
    if (!Picture) {
        FIndex = -1;
        return;
    }
    ActiveSkinRect = E->ActiveSkinRect;
    ActiveFontColor = E->ActiveFontColor;
    SItemRect = E->SItemRect;
    ActiveItemRect = E->ActiveItemRect;
    FocusItemRect = IsNullRect(E->FocusItemRect) ? SItemRect : E->FocusItemRect;
    ItemLeftOffset = E->ItemLeftOffset;
    ItemRightOffset = E->ItemRightOffset;
    ItemTextRect = E->ItemTextRect;
    FontName = E->FontName;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    FontColor = E->FontColor;
    FocusFontColor = E->FocusFontColor;
    ButtonRect = E->ButtonRect;
    ActiveButtonRect = E->ActiveButtonRect;
    DownButtonRect = E->DownButtonRect;
    UnEnabledButtonRect = E->UnEnabledButtonRect;
    ListBoxName = E->ListBoxName;
    ItemStretchEffect = E->ItemStretchEffect;
    FocusItemStretchEffect = E->FocusItemStretchEffect;
    ShowFocus = E->ShowFocus;
}

void TbsSkinCustomComboBox::CalcSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize) {
        TbsSkinCustomControl::CalcSkinSize(AWidth, AHeight);
        return;
    }
    const int DW = AWidth - RectWidth(SkinRect);
    NewLTPoint = LTPt;
    NewRTPoint = {RTPt.X + DW, RTPt.Y};
    NewClRect = ClRect;
    NewClRect.Right += DW;
}

void TbsSkinCustomComboBox::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinCustomComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    Repaint();
    FListBox->SetSkinDataName(FIndex != -1 ? ListBoxName : std::string());
    FListBox->SetSkinData(SkinData());
    FListBox->UpDateScrollBar();
    CalcRects();
    if (FEdit) {
        ApplyEditFont();
        if (FIndex != -1) {
            int W = FWidth, H = FHeight;
            CalcSkinSize(W, H);
            if (W != FWidth || H != FHeight)
                SetBounds(Left(), Top(), W, H);
        }
    }
}
