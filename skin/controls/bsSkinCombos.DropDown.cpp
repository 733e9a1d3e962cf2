#include "skin/controls/bsSkinCombos.h"

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.Platform.h"

#include <algorithm>

// ---------------------------------------------------------------- shared pieces

namespace {

void MakePopupParams(TCreateParams& Params) {
    Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (IsXPOrLater())
        Params.WindowClass.style |= CS_DROPSHADOW;
}

// Steps 1 and 2 of showing: the layered style and the first opacity, then
// the window shown at Origin without activation. True when a fade follows.
bool ShowPopup(TWinControl* List, bool& OldAlphaBlend, BYTE& OldAlphaBlendValue, bool Layered,
               bool Blend, bool Animate, BYTE Value, TPoint Origin) {
    if (Layered) {
        const HWND H = List->Handle();
        const LONG_PTR Ex = GetWindowLong(H, GWL_EXSTYLE);
        if (Blend && !OldAlphaBlend)
            SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
        else if (!Blend && OldAlphaBlend)
            SetWindowLong(H, GWL_EXSTYLE, Ex & ~LONG_PTR(WS_EX_LAYERED));
        OldAlphaBlend = Blend;
        if (Blend && OldAlphaBlendValue != Value) {
            OldAlphaBlendValue = Animate ? 0 : Value;
            SetLayeredAlpha(H, OldAlphaBlendValue);
        }
    }
    SetWindowPos(List->Handle(), HWND_TOP, Origin.X, Origin.Y, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    List->SetVisible(true);
    return Layered && Animate && Blend;
}

void HidePopup(TWinControl* List) {
    if (List->HandleAllocated())
        SetWindowPos(List->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    List->SetVisible(false);
}

// Above the combo when the list would run past the work area's bottom.
TPoint DropDownOrigin(TWinControl* Combo, TPoint InParent, int ListHeight) {
    TPoint P = InParent;
    if (TWinControl* Parent = Combo->Parent())
        P = Parent->ClientToScreen(P);
    TRect Work;
    GetMonitorWorkArea(Combo->Handle(), true, Work);
    if (P.Y + ListHeight > Work.Bottom)
        P.Y = P.Y - Combo->Height() - ListHeight;
    return P;
}

} // namespace

namespace bscombo {

bool FadeIn(TWinControl* List, BYTE Value, bool PumpMessages, std::shared_ptr<bool> Alive) {
    // A message pass may close the list or free the combo with its list:
    // the token outlives both and is checked before the list is touched.
    auto Gone = [&] { return !*Alive || !List->Visible(); };
    if (PumpMessages) {
        Application->ProcessMessages();
        if (Gone())
            return false;
    }
    const int Step = std::max(1, Value / 15);
    int Opacity = 0;
    std::uint32_t Last = 0;
    bool First = true;
    while (Opacity < Value) {
        const std::uint32_t Now = GetTickCount();
        if (First || Now - Last > 5) {
            First = false;
            Last = Now;
            Opacity = std::min(Opacity + Step, int(Value));
            SetLayeredAlpha(List->Handle(), BYTE(Opacity));
        }
        if (PumpMessages) {
            Application->ProcessMessages();
            if (Gone())
                return false;
        }
    }
    return true;
}

} // namespace bscombo

// ---------------------------------------------------------------- the two drop-down windows

namespace {

void IncludePopupStyles(TControlStyle& Style) {
    Style.Include(csAcceptsControls);
    Style.Include(csNoDesignVisible);
    Style.Include(csReplicatable);
}

// A drop-down never takes activation.
bool AnswerMouseActivate(TMessage& Message) {
    if (Message.Msg != WM_MOUSEACTIVATE)
        return false;
    Message.Result = MA_NOACTIVATE;
    return true;
}

// Shows List at Origin with its combo's opacity and fade. The plain list
// lets messages through between the fade's steps, the office list does not
// and forgets the press that opened it first.
void ShowDropDown(TWinControl* List, TbsSkinComboBase* Combo, bool& OldAlphaBlend,
                  BYTE& OldAlphaBlendValue, TPoint Origin, bool PumpMessages) {
    const bool Layered = Combo && IsLayeredWindowSupported();
    const bool Blend = Combo && Combo->AlphaBlend();
    const bool Animate = Combo && Combo->AlphaBlendAnimation();
    const BYTE Value = Combo ? Combo->AlphaBlendValue() : 255;
    if (!ShowPopup(List, OldAlphaBlend, OldAlphaBlendValue, Layered, Blend, Animate, Value, Origin))
        return;
    if (!PumpMessages)
        Combo->FLBDown = false;
    bscombo::FadeIn(List, Value, PumpMessages, Combo->Alive());
}

} // namespace

TbsPopupListBox::TbsPopupListBox(TComponent* AOwner) : TbsSkinListBox(AOwner) {
    IncludePopupStyles(FControlStyle);
    SetVisible(false);
}

void TbsPopupListBox::CreateParams(TCreateParams& Params) {
    TbsSkinListBox::CreateParams(Params);
    MakePopupParams(Params);
}

void TbsPopupListBox::Dispatch(TMessage& Message) {
    if (!AnswerMouseActivate(Message))
        TbsSkinListBox::Dispatch(Message);
}

void TbsPopupListBox::Show(TPoint Origin) {
    ShowDropDown(this, dynamic_cast<TbsSkinComboBase*>(Owner()), FOldAlphaBlend,
                 FOldAlphaBlendValue, Origin, true);
}

void TbsPopupListBox::Hide() {
    HidePopup(this);
}

TbsPopupOfficeListBox::TbsPopupOfficeListBox(TComponent* AOwner) : TbsSkinOfficeListBox(AOwner) {
    IncludePopupStyles(FControlStyle);
    SetVisible(false);
}

void TbsPopupOfficeListBox::CreateParams(TCreateParams& Params) {
    TbsSkinOfficeListBox::CreateParams(Params);
    MakePopupParams(Params);
}

void TbsPopupOfficeListBox::Dispatch(TMessage& Message) {
    if (!AnswerMouseActivate(Message))
        TbsSkinOfficeListBox::Dispatch(Message);
}

void TbsPopupOfficeListBox::Show(TPoint Origin) {
    ShowDropDown(this, dynamic_cast<TbsSkinComboBase*>(Owner()), FOldAlphaBlend,
                 FOldAlphaBlendValue, Origin, false);
}

void TbsPopupOfficeListBox::Hide() {
    HidePopup(this);
}

// ---------------------------------------------------------------- both combos: the protocol

bool TbsSkinComboBase::BeginDropDown() {
    if (ListCount() == 0)
        return false;
    WasInLB = false;
    StopTimer();
    if (OnDropDown)
        OnDropDown(this);
    return true;
}

void TbsSkinComboBase::EnterDropDown() {
    FOldItemIndex = ListIndex();
    if (FOldItemIndex == 0 && ListCount() > 1) {
        SetListIndex(1);
        SetListIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle)
        Repaint();
}

bool TbsSkinComboBase::IsPopupVisible() const {
    const TWinControl* List = DropDownWindow();
    return List && List->Visible();
}

bool TbsSkinComboBase::CanCancelDropDown() {
    if (!IsPopupVisible())
        return false;
    TPoint P;
    GetCursorPos(&P);
    return WindowFromPoint(P) != Handle();
}

void TbsSkinComboBase::ListBoxWindowProcHook(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
        FListBoxWindowProc(Message);
        Message.Result = MA_NOACTIVATE;
        return;
    case WM_LBUTTONDOWN:
        FLBDown = true;
        WasInLB = true;
        SetCapture(Handle());
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return;
    default:
        FListBoxWindowProc(Message);
    }
}

void TbsSkinComboBase::ProcessListBoxDrag() {
    TWinControl* Rows = RowsWindow();
    TPoint P;
    GetCursorPos(&P);
    P = Rows->ScreenToClient(P);
    const bool HasBar = DropDownHasBar();
    int Mode = 0;
    if (P.Y < 0 && HasBar && WasInLB) {
        Mode = 1;
    } else if (P.Y > Rows->Height() && HasBar && WasInLB) {
        Mode = 2;
    } else if (P.Y < 0 || P.Y > Rows->Height()) {
        return;
    } else {
        StopTimer();
        Rows->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(DragProbeX(P.X), P.Y));
        WasInLB = true;
        // Hovering an open list without a press: a later release there
        // still takes the row.
        if (!FLBDown) {
            FLBDown = true;
            WasInLB = false;
        }
        return;
    }
    if (TimerMode != Mode) {
        TimerMode = Mode;
        StartTimer();
    }
}

void TbsSkinComboBase::StartTimer() {
    KillTimer(Handle(), 1);
    SetTimer(Handle(), 1, 25, nullptr);
}

void TbsSkinComboBase::StopTimer() {
    if (HandleAllocated())
        KillTimer(Handle(), 1);
    TimerMode = 0;
}

void TbsSkinComboBase::TrackButtonHover(int X, int Y) {
    const bool In =
        X >= Button.R.Left && X < Button.R.Right && Y >= Button.R.Top && Y < Button.R.Bottom;
    if (In != Button.MouseIn) {
        Button.MouseIn = In;
        Repaint();
    }
}

void TbsSkinComboBase::MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    // With the inner edit the focus stays in the edit.
    if (!HasItemEditor() && !Focused())
        SetFocus();
    if (Btn != mbLeft)
        return;
    const bool InItem = !HasItemEditor() && X >= CBItem.R.Left && X < CBItem.R.Right &&
                        Y >= CBItem.R.Top && Y < CBItem.R.Bottom;
    if (Button.MouseIn || InItem || FToolButtonStyle) {
        Button.Down = true;
        Repaint();
        if (IsPopupVisible()) {
            CloseUp(false);
        } else {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        }
    } else if (IsPopupVisible()) {
        CloseUp(false);
    }
}

void TbsSkinComboBase::MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) {
    if (FLBDown && WasInLB) {
        ReleaseCapture();
        FLBDown = false;
        TPoint P;
        GetCursorPos(&P);
        CloseUp(WindowFromPoint(P) == RowsWindow()->Handle());
    } else {
        FLBDown = false;
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Repaint();
    }
}

void TbsSkinComboBase::CMCancelMode(TMessage& Message) {
    auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
    if (!Sender || !OwnsControl(Sender))
        CloseUp(false);
}

// ---------------------------------------------------------------- text combo: open and close

void TbsSkinCustomComboBox::DropDown() {
    if (!BeginDropDown())
        return;
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : FWidth);
    FListBox->SetRowCount(std::min(Items()->Count(), FDropDownCount));
    const TPoint Origin = DropDownOrigin(this, {Left(), Top() + FHeight}, FListBox->Height());
    if (FEdit)
        FEdit->SetFocus();
    EnterDropDown();
    FListBox->SetTopIndex(std::max(0, FListBox->ItemIndex()));
    FListBox->SetSkinData(SkinData());
    FListBox->Show(Origin);
}

void TbsSkinCustomComboBox::CloseUp(bool AcceptValue) {
    StopTimer();
    if (!FListBox->Visible())
        return;
    FListBox->Hide();
    const int Index = FListBox->ItemIndex();
    if (Index < 0) {
        FListBox->SetItemIndex(FOldItemIndex);
    } else if (Index < Items()->Count() && AcceptValue) {
        if (FEdit) {
            // The edit's change handler brings Text along.
            FEdit->SetText(Items()->Strings(Index));
            FEdit->SelectAll();
        } else {
            SetText(Items()->Strings(Index));
            Repaint();
        }
        if (OnClick)
            OnClick(this);
        Change();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Repaint();
    if (AcceptValue && OnCloseUp)
        OnCloseUp(this);
}

// ---------------------------------------------------------------- text combo: the mouse protocol

TWinControl* TbsSkinCustomComboBox::RowsWindow() const {
    return FListBox->ListBox;
}

bool TbsSkinCustomComboBox::DropDownHasBar() const {
    return FListBox->ScrollBar != nullptr;
}

int TbsSkinCustomComboBox::ListIndex() {
    return FListBox->ItemIndex();
}

void TbsSkinCustomComboBox::SetListIndex(int Value) {
    FListBox->SetItemIndex(Value);
}

int TbsSkinCustomComboBox::ListCount() {
    return Items()->Count();
}

int TbsSkinCustomComboBox::DragProbeX(int) const {
    // The inner list's first column: a drag beside the rows still hits one.
    return 1;
}

bool TbsSkinCustomComboBox::OwnsControl(TControl* Sender) {
    return Sender == this || Sender == FListBox || Sender == FListBox->ScrollBar ||
           Sender == FListBox->HScrollBar || Sender == FListBox->ListBox;
}

void TbsSkinCustomComboBox::ListBoxMouseMoveHook(TObject*, TShiftState, int X, int Y) {
    const int Row = FListBox->ListBox->ItemAtPos({X, Y}, true);
    if (Row >= 0)
        FListBox->ListBox->SetItemIndex(Row);
}

void TbsSkinCustomComboBox::ListBoxCheckButtonClick(TObject*) {
    CloseUp(true);
}

void TbsSkinCustomComboBox::DragScrollStep(bool Up) {
    const int Index = FListBox->ItemIndex();
    if (Up && Index >= 1)
        FListBox->SetItemIndex(Index - 1);
    else if (!Up && Index < Items()->Count() - 1)
        FListBox->SetItemIndex(Index + 1);
}

void TbsSkinCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinComboBase::MouseMove(Shift, X, Y);
    // Only a press that opened the list drags through it.
    if (FLBDown) {
        ProcessListBoxDrag();
        return;
    }
    TrackButtonHover(X, Y);
}

// ---------------------------------------------------------------- office combo: open and close

void TbsSkinCustomOfficeComboBox::DropDown() {
    if (!BeginDropDown())
        return;
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : FWidth);
    FListBox->OnDrawItem = OnDrawItem;
    FListBox->SetSkinData(SkinData());
    if (FListBoxHeight > 0)
        FListBox->SetHeight(FListBoxHeight);
    else if (FDropDownCount > 0)
        FListBox->SetHeight(FListBox->CalcHeight(FDropDownCount));
    const TPoint Origin = DropDownOrigin(
        this, {Left() + FWidth - FListBox->Width(), Top() + FHeight}, FListBox->Height());
    EnterDropDown();
    FListBox->Show(Origin);
}

void TbsSkinCustomOfficeComboBox::CloseUp(bool AcceptValue) {
    StopTimer();
    if (!FListBox->Visible())
        return;
    FListBox->Hide();
    const int Index = FListBox->ItemIndex();
    if (Index >= 0 && Index < Items()->Count() && AcceptValue) {
        Repaint();
        if (OnClick)
            OnClick(this);
        Change();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Repaint();
    if (AcceptValue && OnCloseUp)
        OnCloseUp(this);
}

bool TbsSkinCustomOfficeComboBox::DropDownHasBar() const {
    return FListBox->ScrollBar != nullptr;
}

bool TbsSkinCustomOfficeComboBox::OwnsControl(TControl* Sender) {
    return Sender == this || Sender == FListBox || Sender == FListBox->ScrollBar;
}

void TbsSkinCustomOfficeComboBox::DragScrollStep(bool Up) {
    if (Up)
        FListBox->FindUp();
    else
        FListBox->FindDown();
}

void TbsSkinCustomOfficeComboBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinComboBase::MouseMove(Shift, X, Y);
    // Hovering the open list tracks its rows even without a press.
    if (FListBox->Visible())
        ProcessListBoxDrag();
    TrackButtonHover(X, Y);
}
