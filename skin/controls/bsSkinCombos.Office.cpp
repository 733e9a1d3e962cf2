#include "skin/controls/bsSkinCombos.h"

#include "skin/model/bsUtils.Rects.h"

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner) {
    FControlStyle =
        TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
    FListBox = new TbsPopupOfficeListBox(this);
    Font()->SetName("Arial");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(14);
    SetTabStop(true);
    SetBounds(Left(), Top(), 120, 41);
    FListBoxWindowProc = FListBox->WindowProc;
    FListBox->WindowProc = TWndMethod(this, &TbsSkinCustomOfficeComboBox::ListBoxWindowProcHook);
    FListBox->SetVisible(false);
    FListBox->SetMouseMoveChangeIndex(true);
    if (!Designing())
        FListBox->SetParent(this);
    CalcRects();
    FSkinDataName = "combobox";
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox() {
    *FAlive = false;
    if (HandleAllocated())
        KillTimer(Handle(), 1);
    if (FListBox) {
        FListBox->WindowProc = FListBoxWindowProc;
        delete FListBox;
        FListBox = nullptr;
    }
}

// ---------------------------------------------------------------- properties

void TbsSkinCustomOfficeComboBox::SetDropDownCount(int Value) {
    if (Value >= 0)
        FDropDownCount = Value;
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool Value) {
    if (FShowItemTitle == Value)
        return;
    FShowItemTitle = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool Value) {
    if (FShowItemImage == Value)
        return;
    FShowItemImage = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool Value) {
    if (FShowItemText == Value)
        return;
    FShowItemText = Value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool Value) {
    if (FToolButtonStyle == Value)
        return;
    FToolButtonStyle = Value;
    if (Value)
        FUseSkinSize = false;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetListBoxSkinDataName(const std::string& Value) {
    FListBoxSkinDataName = Value;
    GetSkinData();
    if (FIndex != -1 || !FSD || FSD->Empty)
        FListBox->SetSkinDataName(Value);
}

void TbsSkinCustomOfficeComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FListBox && AComponent == FListBox->Images())
        FListBox->SetImages(nullptr);
}

void TbsSkinCustomOfficeComboBox::DefaultFontChanged() {
    Font()->Assign(DefaultFont());
}

void TbsSkinCustomOfficeComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- selection

void TbsSkinCustomOfficeComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    Repaint();
    if (Designing() || ComponentState().Contains(csLoading))
        return;
    if (OnClick)
        OnClick(this);
    Change();
}

void TbsSkinCustomOfficeComboBox::TakeListIndex() {
    SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    const bool Alt = Shift.Contains(ssAlt);
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
        FListBox->FindPageUp();
        TakeListIndex();
        break;
    case VK_NEXT:
        FListBox->FindPageDown();
        TakeListIndex();
        break;
    case VK_UP:
    case VK_LEFT:
        if (Alt) {
            if (IsPopupVisible())
                CloseUp(false);
        } else {
            FListBox->FindUp();
            TakeListIndex();
        }
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (Alt) {
            if (!IsPopupVisible())
                DropDown();
        } else {
            FListBox->FindDown();
            TakeListIndex();
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- messages

void TbsSkinCustomOfficeComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(Message);
        if (IsPopupVisible())
            CloseUp(false);
        Repaint();
        return;
    case CM_MOUSEENTER:
        TbsSkinCustomControl::Dispatch(Message);
        FMouseIn = true;
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
        if ((FIndex != -1 && !IsNullRect(ActiveSkinRect)) || FToolButtonStyle)
            Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
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
        if (Forward)
            FListBox->FindUp();
        else
            FListBox->FindDown();
        if (!IsPopupVisible())
            TakeListIndex();
        Message.Result = 1;
        return;
    }
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------- skin

void TbsSkinCustomOfficeComboBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinComboBox*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
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

void TbsSkinCustomOfficeComboBox::CalcSkinSize(int& AWidth, int& AHeight) {
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

void TbsSkinCustomOfficeComboBox::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    Repaint();
    // The configured name survives an unskinned spell.
    FListBox->SetSkinDataName(FIndex == -1 ? std::string() : FListBoxSkinDataName);
    FListBox->SetSkinData(SkinData());
    CalcRects();
}
