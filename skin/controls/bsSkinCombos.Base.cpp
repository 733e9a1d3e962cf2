#include "skin/controls/bsSkinCombos.h"

#include "skin/model/bsUtils.Rects.h"

TbsSkinComboBase::TbsSkinComboBase(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FControlStyle =
        TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
    SetTabStop(true);
    Font()->SetName("Arial");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(14);
    FSkinDataName = "combobox";
}

void TbsSkinComboBase::DefaultFontChanged() {
    Font()->Assign(DefaultFont());
}

// ---------------------------------------------------------------- keys and messages

void TbsSkinComboBase::KeyDown(WORD& Key, TShiftState Shift) {
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
    case VK_NEXT:
        StepKey(Key);
        break;
    case VK_UP:
    case VK_LEFT:
        if (!Alt)
            StepKey(Key);
        else if (IsPopupVisible())
            CloseUp(false);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (!Alt)
            StepKey(Key);
        else if (!IsPopupVisible())
            DropDown();
        break;
    default:
        break;
    }
}

void TbsSkinComboBase::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(Message);
        // In the edit style the focus goes into the inner edit while the list
        // is open; the edit's cancel mode closes it there.
        if (!HasItemEditor() && IsPopupVisible())
            CloseUp(false);
        Repaint();
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        EnabledChanged();
        Repaint();
        return;
    case CM_MOUSEENTER:
        TbsSkinCustomControl::Dispatch(Message);
        FMouseIn = true;
        HoverChanged();
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
        HoverChanged();
        if ((FIndex != -1 && !IsNullRect(ActiveSkinRect)) || FToolButtonStyle)
            Invalidate();
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
        if (TimerMode == 1 || TimerMode == 2)
            DragScrollStep(TimerMode == 1);
        return;
    case CM_CANCELMODE:
        TbsSkinCustomControl::Dispatch(Message);
        CMCancelMode(Message);
        return;
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------- skin

void TbsSkinComboBase::GetSkinData() {
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

void TbsSkinComboBase::CalcSkinSize(int& AWidth, int& AHeight) {
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

void TbsSkinComboBase::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}
