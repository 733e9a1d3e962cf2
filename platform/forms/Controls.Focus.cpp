// Tab order, focus, keys and dialog keys; the control under the pointer.
#include "platform/forms/Controls.h"

#include "platform/core/Exceptions.h"

#include <algorithm>

// ---------------------------------------------------------------- tab order

int TWinControl::TabOrder() const {
    if (!FParent)
        return -1;
    const auto& List = FParent->FTabList;
    auto It = std::find(List.begin(), List.end(), this);
    return It == List.end() ? -1 : static_cast<int>(It - List.begin());
}

void TWinControl::SetTabOrder(int Value) {
    UpdateTabOrder(Value);
}

void TWinControl::UpdateTabOrder(int Value) {
    if (!FParent)
        return;
    auto& List = FParent->FTabList;
    int Current = TabOrder();
    if (Current < 0)
        return;
    int Count = static_cast<int>(List.size());
    if (Value < 0)
        Value = 0;
    if (Value >= Count)
        Value = Count - 1;
    if (Value == Current)
        return;
    List.erase(List.begin() + Current);
    List.insert(List.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
    if (Value == FTabStop)
        return;
    FTabStop = Value;
    if (FHandle) {
        LONG_PTR Style = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE,
                      Value ? (Style | WS_TABSTOP) : (Style & ~LONG_PTR(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* Child : FTabList) {
        List.push_back(Child);
        Child->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
    std::vector<TWinControl*> List;
    GetTabOrderList(List);
    if (List.empty())
        return nullptr;
    int Count = static_cast<int>(List.size());
    auto It = std::find(List.begin(), List.end(), CurControl);
    int Start =
        It == List.end() ? (GoForward ? Count - 1 : 0) : static_cast<int>(It - List.begin());
    int I = Start;
    do {
        I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
        TWinControl* C = List[I];
        if (C->CanFocus() && (!CheckTabStop || C->TabStop()) &&
            (!CheckParent || C->Parent() == this))
            return C;
    } while (I != Start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
    if (Next)
        Next->SetFocus();
}

void TWinControl::SelectFirst() {
    TFormServices* Form = FormServicesOf(this);
    if (!Form)
        return;
    TWinControl* Control = FindNextControl(nullptr, true, true, false);
    if (!Control)
        Control = FindNextControl(nullptr, true, false, false);
    if (Control)
        Form->SetActiveControl(Control);
}

// ---------------------------------------------------------------- focus

bool TWinControl::CanFocus() {
    TWinControl* Form = FormControlOf(this);
    if (!Form)
        return FVisible && FEnabled;
    for (TWinControl* C = this; C; C = C->FParent) {
        if (!C->FVisible || !C->FEnabled)
            return false;
        if (C == Form)
            break;
    }
    return true;
}

bool TWinControl::Focused() {
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
    if (TFormServices* Form = FormServicesOf(this)) {
        Form->FocusControl(this);
        return;
    }
    if (FParentWindow || FIsPopup) {
        ::SetFocus(Handle());
        return;
    }
    throw EInvalidOperation(Format("Control '%s' has no parent form", {Name()}));
}

void TWinControl::WMSetFocus(TMessage& Message) {
    DefaultHandler(Message);
    if (TFormServices* Form = FormServicesOf(this))
        Form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& Message) {
    DefaultHandler(Message);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}

void TWinControl::CMExit(TMessage&) {
    DoExit();
}

// ---------------------------------------------------------------- keys

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(unsigned& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

namespace {

// The form that previews keys for Control, if any.
TWinControl* PreviewForm(TWinControl* Control) {
    TWinControl* Form = FormControlOf(Control);
    return Form && Form != Control && FormServicesOf(Form)->KeyPreview() ? Form : nullptr;
}

} // namespace

bool TWinControl::DoKeyDown(TMessage& Message) {
    if (TWinControl* Form = PreviewForm(this))
        if (Form->DoKeyDown(Message))
            return true;
    WORD Key = WORD(Message.WParam);
    KeyDown(Key, KeyDataToShiftState(long(Message.LParam)));
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
    if (TWinControl* Form = PreviewForm(this))
        if (Form->DoKeyUp(Message))
            return true;
    WORD Key = WORD(Message.WParam);
    KeyUp(Key, KeyDataToShiftState(long(Message.LParam)));
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
    if (TWinControl* Form = PreviewForm(this))
        if (Form->DoKeyPress(Message))
            return true;
    auto Key = unsigned(Message.WParam);
    KeyPress(Key);
    Message.WParam = Key;
    return Key == 0;
}

void TWinControl::WMKeyDown(TMessage& Message) {
    if (!DoKeyDown(Message))
        DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
    if (!DoKeyUp(Message))
        DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
    if (!DoKeyPress(Message))
        DefaultHandler(Message);
}

bool TWinControl::WantsKey(WORD Key) {
    LRESULT Mask = 0;
    switch (Key) {
    case VK_TAB:
        Mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        Mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_ESCAPE:
        Mask = DLGC_WANTALLKEYS;
        break;
    default:
        return true;
    }
    if (Perform(CM_WANTSPECIALKEY, Key, 0) != 0)
        return true;
    return (Perform(WM_GETDLGCODE, 0, 0) & (Mask | DLGC_WANTALLKEYS)) != 0;
}

// Key pre-processing: the form's shortcuts first, then the dialog keys the
// control does not want go to the form. Result 1 = consumed.
void TWinControl::CNKeyDown(TMessage& Message) {
    Message.Result = 1;
    TWinControl* Form = FormControlOf(this);
    if (Form && FormServicesOf(Form)->IsShortCut(Message))
        return;
    WORD Key = WORD(Message.WParam);
    if (!WantsKey(Key) && Form && Form->Perform(CM_DIALOGKEY, Key, Message.LParam) != 0)
        return;
    Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
    Message.Result = 0;
    TWinControl* Form = FormControlOf(this);
    if (!Form)
        return;
    bool System = Message.Msg == CN_SYSCHAR;
    if (System || (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0)
        if (Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
            Message.Result = 1;
}

void TWinControl::CMDialogKey(TMessage& Message) {
    Broadcast(Message);
}

void TWinControl::CMDialogChar(TMessage& Message) {
    Broadcast(Message);
}

// ---------------------------------------------------------------- the form of a control

TWinControl* FormControlOf(TControl* Control) {
    if (!Control)
        return nullptr;
    while (Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TFormServices*>(Control) ? static_cast<TWinControl*>(Control) : nullptr;
}

TFormServices* FormServicesOf(TControl* Control) {
    return dynamic_cast<TFormServices*>(FormControlOf(Control));
}

// ---------------------------------------------------------------- the control under the pointer

namespace {

TControl* GMouseControl = nullptr;

TControl* DeepestAt(TWinControl* Parent, TPoint Client) {
    TControl* Child = Parent->ControlAtPos(Client, true, true);
    if (!Child)
        return Parent;
    if (auto* Win = dynamic_cast<TWinControl*>(Child))
        return DeepestAt(Win, {Client.X - Win->Left(), Client.Y - Win->Top()});
    return Child;
}

} // namespace

TControl* FindControlUnderPointer(TPoint Pos) {
    HWND Wnd = WindowFromPoint(Pos);
    TWinControl* Control = nullptr;
    // A foreign child window (a native control's part) belongs to its owner.
    while (Wnd && !(Control = FindControl(Wnd)))
        Wnd = GetParent(Wnd);
    if (!Control || !Control->Visible())
        return nullptr;
    return DeepestAt(Control, Control->ScreenToClient(Pos));
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
    TControl* Control = FindControlUnderPointer(Pos);
    if (!AllowDisabled)
        while (Control && !Control->Enabled())
            Control = Control->Parent();
    return Control;
}

TControl* MouseControl() {
    return GMouseControl;
}

void ForgetMouseControl(TControl* Control) {
    if (!GMouseControl)
        return;
    auto* Win = dynamic_cast<TWinControl*>(Control);
    if (GMouseControl == Control || (Win && Win->ContainsControl(GMouseControl)))
        GMouseControl = nullptr;
}

void UpdateMouseControl() {
    TPoint P;
    if (!GetCursorPos(&P))
        return;
    TControl* Now = FindControlUnderPointer(P);
    if (Now == GMouseControl)
        return;
    TControl* Old = GMouseControl;
    GMouseControl = Now;
    if (Old)
        Old->Perform(CM_MOUSELEAVE, 0, 0);
    // The leave handler may have changed the scene; the new control is
    // told only when it is still the one.
    if (Now && GMouseControl == Now)
        Now->Perform(CM_MOUSEENTER, 0, 0);
}

void SendCancelMode(TControl* Sender) {
    TFormServices* Form = FormServicesOf(Sender);
    if (Form && Form->Active() && Form->ActiveControl())
        Form->ActiveControl()->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
}
