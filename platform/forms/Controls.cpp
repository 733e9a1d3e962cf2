// TControl: properties, parent inheritance of font and colour, actions,
// message dispatch and the mouse.
#include "platform/forms/Controls.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace {

TExceptionHandler GExceptionHandler;
TControl* GCaptureControl = nullptr;

} // namespace

TMouse* Mouse = nullptr;

void SetControlExceptionHandler(TExceptionHandler Handler) {
    GExceptionHandler = std::move(Handler);
}

void HandleControlException(TObject* Sender) {
    if (GExceptionHandler)
        GExceptionHandler(Sender);
}

bool IsReflectedMessage(UINT Msg) {
    switch (Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case 0x2D: // WM_DELETEITEM
    case 0x39: // WM_COMPAREITEM
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case 0x135: // WM_CTLCOLORBTN
    case 0x137: // WM_CTLCOLORSCROLLBAR
    case WM_HSCROLL:
    case WM_VSCROLL:
        return true;
    default:
        return false;
    }
}

TShiftState KeysToShiftState(WORD Keys) {
    TShiftState Result;
    if (Keys & MK_SHIFT)
        Result.Include(ssShift);
    if (Keys & MK_CONTROL)
        Result.Include(ssCtrl);
    if (Keys & MK_LBUTTON)
        Result.Include(ssLeft);
    if (Keys & MK_RBUTTON)
        Result.Include(ssRight);
    if (Keys & MK_MBUTTON)
        Result.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        Result.Include(ssAlt);
    return Result;
}

std::string GetShortHint(const std::string& Hint) {
    auto Bar = Hint.find('|');
    return Bar == std::string::npos ? Hint : Hint.substr(0, Bar);
}

std::string GetLongHint(const std::string& Hint) {
    auto Bar = Hint.find('|');
    return Bar == std::string::npos ? Hint : Hint.substr(Bar + 1);
}

// ---------------------------------------------------------------- TSizeConstraints

void TSizeConstraints::SetMinWidth(TSizeConstraint Value) {
    if (Value == FMinWidth)
        return;
    FMinWidth = Value;
    if (FMaxWidth > 0 && FMinWidth > FMaxWidth)
        FMaxWidth = FMinWidth;
    Change();
}

void TSizeConstraints::SetMinHeight(TSizeConstraint Value) {
    if (Value == FMinHeight)
        return;
    FMinHeight = Value;
    if (FMaxHeight > 0 && FMinHeight > FMaxHeight)
        FMaxHeight = FMinHeight;
    Change();
}

void TSizeConstraints::SetMaxWidth(TSizeConstraint Value) {
    if (Value == FMaxWidth)
        return;
    FMaxWidth = Value;
    if (FMaxWidth > 0 && FMinWidth > FMaxWidth)
        FMinWidth = FMaxWidth;
    Change();
}

void TSizeConstraints::SetMaxHeight(TSizeConstraint Value) {
    if (Value == FMaxHeight)
        return;
    FMaxHeight = Value;
    if (FMaxHeight > 0 && FMinHeight > FMaxHeight)
        FMinHeight = FMaxHeight;
    Change();
}

void TSizeConstraints::Assign(TPersistent* Source) {
    auto* S = dynamic_cast<TSizeConstraints*>(Source);
    if (!S) {
        TPersistent::Assign(Source);
        return;
    }
    FMinWidth = S->FMinWidth;
    FMinHeight = S->FMinHeight;
    FMaxWidth = S->FMaxWidth;
    FMaxHeight = S->FMaxHeight;
    Change();
}

void TSizeConstraints::Change() {
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = TWndMethod(this, &TControl::WndProc);
    FFont.OnChange = TNotifyEvent(this, &TControl::FontChanged);
    FConstraints.OnChange = TNotifyEvent(this, &TControl::DoConstraintsChange);
}

TControl::~TControl() {
    Destroying();
    if (GCaptureControl == this)
        GCaptureControl = nullptr;
    ForgetMouseControl(this);
    ForgetReleasedControl(this);
    FActionLink.reset();
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

TWinControl* TControl::ParentWindowControl() const {
    return FParent;
}

void TControl::ApplyConstraints(int& NewWidth, int& NewHeight) {
    int MinW = FConstraints.MinWidth(), MinH = FConstraints.MinHeight();
    int MaxW = FConstraints.MaxWidth(), MaxH = FConstraints.MaxHeight();
    ConstrainedResize(MinW, MinH, MaxW, MaxH);
    if (MaxW > 0 && NewWidth > MaxW)
        NewWidth = MaxW;
    if (MinW > 0 && NewWidth < MinW)
        NewWidth = MinW;
    if (MaxH > 0 && NewHeight > MaxH)
        NewHeight = MaxH;
    if (MinH > 0 && NewHeight < MinH)
        NewHeight = MinH;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
    if (OnConstrainedResize)
        OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
    bool Result = true;
    if (OnCanResize)
        OnCanResize(this, NewWidth, NewHeight, Result);
    return Result;
}

bool TControl::CanAutoSize(int&, int&) {
    return true;
}

bool TControl::ProposeBounds(int ALeft, int ATop, int& AWidth, int& AHeight) {
    if (!CanResize(AWidth, AHeight)) {
        AWidth = FWidth;
        AHeight = FHeight;
    }
    ApplyConstraints(AWidth, AHeight);
    return ALeft != FLeft || ATop != FTop || AWidth != FWidth || AHeight != FHeight;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!ProposeBounds(ALeft, ATop, AWidth, AHeight))
        return;
    bool Sized = AWidth != FWidth || AHeight != FHeight;
    // A graphic control repaints both where it was and where it lands.
    Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FAnchorMove)
        UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (Sized)
        Resize();
}

void TControl::UpdateBoundsRect(const TRect& R) {
    bool Sized = R.Width() != FWidth || R.Height() != FHeight;
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
    if (!FAnchorMove)
        UpdateAnchorRules();
    if (Sized)
        Resize();
}

void TControl::Resize() {
    if (OnResize)
        OnResize(this);
}

TRect TControl::ClientRect() {
    return {0, 0, FWidth, FHeight};
}

void TControl::SetClientSize(int W, int H) {
    TRect Client = ClientRect();
    SetBounds(FLeft, FTop, FWidth - Client.Right + W, FHeight - Client.Bottom + H);
}

void TControl::SetClientWidth(int Value) {
    SetClientSize(Value, ClientHeight());
}

void TControl::SetClientHeight(int Value) {
    SetClientSize(ClientWidth(), Value);
}

TPoint TControl::ClientOrigin() {
    if (!FParent)
        throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
    TPoint P = FParent->ClientOrigin();
    return {P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) {
    TPoint O = ClientOrigin();
    return {P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) {
    TPoint O = ClientOrigin();
    return {P.X - O.X, P.Y - O.Y};
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    VisibleChanging();
    if (!Value)
        ForgetMouseControl(this);
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value, 0);
    RequestAlign();
}

void TControl::Show() {
    if (FParent)
        FParent->Show();
    SetVisible(true);
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetZOrder(bool TopMost) {
    if (!FParent)
        return;
    SetZOrderPosition(TopMost ? FParent->ControlCount() - 1 : 0);
}

void TControl::SetZOrderPosition(int Position) {
    auto& List = FParent->FControls;
    auto It = std::find(List.begin(), List.end(), this);
    int Old = static_cast<int>(It - List.begin());
    Position = std::clamp(Position, 0, static_cast<int>(List.size()) - 1);
    if (Old == Position)
        return;
    List.erase(It);
    List.insert(List.begin() + Position, this);
    Invalidate();
}

void TControl::SetShowHint(bool Value) {
    FParentShowHint = false;
    if (Value == FShowHint)
        return;
    FShowHint = Value;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
    if (Value == FParentShowHint)
        return;
    FParentShowHint = Value;
    if (Value && FParent) {
        FShowHint = FParent->ShowHint();
        Perform(CM_SHOWHINTCHANGED, 0, 0);
    }
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (FParentShowHint && FParent) {
        FShowHint = FParent->ShowHint();
        Perform(CM_SHOWHINTCHANGED, 0, 0);
    }
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::SetCursor(TCursor Value) {
    if (Value == FCursor)
        return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

std::string TControl::GetText() {
    TMessage M{WM_GETTEXTLENGTH, 0, 0, 0};
    WindowProc(M);
    int Len = static_cast<int>(M.Result);
    if (Len <= 0)
        return {};
    std::string Buffer(std::size_t(Len) + 1, '\0');
    TMessage G{WM_GETTEXT, WPARAM(Len + 1), LPARAM(Buffer.data()), 0};
    WindowProc(G);
    Buffer.resize(std::strlen(Buffer.c_str()));
    return Buffer;
}

void TControl::SetText(const std::string& Value) {
    if (GetText() == Value)
        return;
    SetTextInternal(Value);
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetTextInternal(const std::string& Value) {
    Perform(WM_SETTEXT, 0, LPARAM(Value.c_str()));
}

int TControl::GetTextBuf(char* Buffer, int BufSize) {
    return static_cast<int>(Perform(WM_GETTEXT, WPARAM(BufSize), LPARAM(Buffer)));
}

int TControl::GetTextLen() {
    return static_cast<int>(Perform(WM_GETTEXTLENGTH, 0, 0));
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign)
        return;
    TAlign Old = FAlign;
    FAlign = Value;
    FAnchors = (Value == alNone || Value == alCustom) ? TAnchors{akLeft, akTop} : FAnchors;
    // A control placed by alignment keeps its size across the change.
    if (Old == alClient || Value == alClient || Old == alNone)
        UpdateAnchorRules();
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
    if (Value == FAnchors)
        return;
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::SetAutoSize(bool Value) {
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    if (Value)
        AdjustSize();
}

void TControl::AdjustSize() {
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    int W = FWidth, H = FHeight;
    if (CanAutoSize(W, H))
        SetBounds(FLeft, FTop, W, H);
}

void TControl::DoConstraintsChange(TObject*) {
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::RequestAlign() {
    if (FParent)
        FParent->AlignControl(this);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent) {
        if (FParentColor)
            FColor = FParent->Color();
        if (FParentFont) {
            FUpdatingFont = true;
            FFont.Assign(FParent->Font());
            FUpdatingFont = false;
        }
        if (FParentShowHint)
            FShowHint = FParent->ShowHint();
    }
    UpdateAnchorRules();
    AdjustSize();
    RequestAlign();
}

// ---- colour and font

void TControl::SetColor(TColor Value) {
    if (Value != FColor || FParentColor) {
        FColor = Value;
        FParentColor = false;
        Perform(CM_COLORCHANGED, 0, 0);
    }
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    if (FParent && Value)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
    if (Value == FParentFont)
        return;
    FParentFont = Value;
    if (FParent && Value)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
    // A font assigned by code stops following the parent's.
    if (!FUpdatingFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::CMParentColorChanged(TMessage&) {
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        Perform(CM_COLORCHANGED, 0, 0);
        // CM_COLORCHANGED handlers may not clear the flag.
        FParentColor = true;
    }
}

void TControl::CMParentFontChanged(TMessage&) {
    if (FParentFont && FParent) {
        FUpdatingFont = true;
        FFont.Assign(FParent->Font());
        FUpdatingFont = false;
        // TFont::Assign reports the change itself when something differs;
        // the control learns it through FontChanged with the flag kept.
        FParentFont = true;
    }
}

void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}

void TControl::SetBiDiMode(TBiDiMode Value) {
    FParentBiDiMode = false;
    if (Value == FBiDiMode)
        return;
    FBiDiMode = Value;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
    if (Value == FParentBiDiMode)
        return;
    FParentBiDiMode = Value;
    if (Value && FParent)
        Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (FParentBiDiMode && FParent) {
        FBiDiMode = FParent->BiDiMode();
        Perform(CM_BIDIMODECHANGED, 0, 0);
    }
}

// ---- actions

TBasicAction* TControl::Action() const {
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* Value) {
    if (!Value) {
        FActionLink.reset();
        FControlStyle.Exclude(csActionClient);
        return;
    }
    FControlStyle.Include(csActionClient);
    if (!FActionLink)
        FActionLink = std::make_unique<TControlActionLink>(this);
    FActionLink->SetAction(Value);
    FActionLink->OnChange = TNotifyEvent(this, &TControl::DoActionChange);
    ActionChange(Value, ComponentState().Contains(csLoading));
    Value->FreeNotification(this);
}

void TControl::DoActionChange(TObject* Sender) {
    if (Sender == Action())
        ActionChange(Sender, false);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    if (!A)
        return;
    if (!CheckDefaults || Caption().empty() || Caption() == Name())
        SetCaption(A->Caption());
    if (!CheckDefaults || FEnabled)
        SetEnabled(A->Enabled());
    if (!CheckDefaults || FHint.empty())
        SetHint(A->Hint());
    if (!CheckDefaults || FVisible)
        SetVisible(A->Visible());
    if (!CheckDefaults || !OnClick)
        OnClick = A->OnExecute;
}

bool TControl::IsOnClickActionLinked() const {
    TBasicAction* A = Action();
    return A && (!OnClick || OnClick == A->OnExecute);
}

void TControl::Click() {
    if (IsOnClickActionLinked())
        FActionLink->Execute(this);
    else if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControlActionLink::SetCaption(const std::string& Value) {
    if (auto* A = CustomAction(); A && FClient->Caption() == A->Caption())
        FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
    if (auto* A = CustomAction(); A && FClient->Enabled() == A->Enabled())
        FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const std::string& Value) {
    if (auto* A = CustomAction(); A && FClient->Hint() == A->Hint())
        FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
    if (auto* A = CustomAction(); A && FClient->Visible() == A->Visible())
        FClient->SetVisible(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
    if (FActionLink && AComponent == FActionLink->Action())
        SetAction(nullptr);
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

bool TControl::Showing() const {
    return FVisible && FParent && FParent->Showing();
}

void TControl::Release() {
    PostReleaseControl(this);
}

// ---- messages

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage Message{Msg, WParam, LParam, 0};
    TWndMethod Proc = WindowProc;
    Proc(Message);
    return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
    UINT Msg = Message.Msg;
    if (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) {
        if (Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK) {
            if (Msg == WM_LBUTTONDBLCLK && !FControlStyle.Contains(csDoubleClicks))
                Message.Msg = WM_LBUTTONDOWN;
            FControlState.Include(csLButtonDown);
        } else if (Msg == WM_LBUTTONUP) {
            FControlState.Exclude(csLButtonDown);
        }
        if ((Message.Msg == WM_RBUTTONDBLCLK || Message.Msg == WM_MBUTTONDBLCLK) &&
            !FControlStyle.Contains(csDoubleClicks))
            Message.Msg -= 2;
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_MOUSEMOVE:
        WMMouseMove(Message);
        return;
    case WM_LBUTTONDOWN:
        WMButtonDown(Message, mbLeft, false);
        return;
    case WM_LBUTTONDBLCLK:
        WMButtonDown(Message, mbLeft, true);
        return;
    case WM_RBUTTONDOWN:
        WMButtonDown(Message, mbRight, false);
        return;
    case WM_RBUTTONDBLCLK:
        WMButtonDown(Message, mbRight, true);
        return;
    case WM_MBUTTONDOWN:
        WMButtonDown(Message, mbMiddle, false);
        return;
    case WM_MBUTTONDBLCLK:
        WMButtonDown(Message, mbMiddle, true);
        return;
    case WM_LBUTTONUP:
        WMButtonUp(Message, mbLeft);
        return;
    case WM_RBUTTONUP:
        WMButtonUp(Message, mbRight);
        return;
    case WM_MBUTTONUP:
        WMButtonUp(Message, mbMiddle);
        return;
    case WM_MOUSEWHEEL:
        WMMouseWheel(Message);
        return;
    case WM_CONTEXTMENU:
        WMContextMenu(Message);
        return;
    case WM_CANCELMODE:
        WMCancelMode(Message);
        return;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(Message);
        return;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(Message);
        return;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(Message);
        return;
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        return;
    case CM_COLORCHANGED:
        CMColorChanged(Message);
        return;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(Message);
        return;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(Message);
        return;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(Message);
        return;
    case CM_PARENTBIDIMODECHANGED:
        CMParentBiDiModeChanged(Message);
        return;
    case CM_TEXTCHANGED:
        CMTextChanged(Message);
        return;
    case CM_HITTEST:
        CMHitTest(Message);
        return;
    case CM_MOUSEENTER:
        CMMouseEnter(Message);
        return;
    case CM_MOUSELEAVE:
        CMMouseLeave(Message);
        return;
    case CM_MOUSEWHEEL:
        CMMouseWheel(Message);
        return;
    case CM_HINTSHOW:
        CMHintShow(Message);
        return;
    case CM_CURSORCHANGED:
        CMCursorChanged(Message);
        return;
    case CM_INVALIDATE:
        CMInvalidate(Message);
        return;
    default:
        DefaultHandler(Message);
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETTEXT: {
        auto* Buffer = reinterpret_cast<char*>(Message.LParam);
        int Size = static_cast<int>(Message.WParam);
        if (!Buffer || Size <= 0) {
            Message.Result = 0;
            return;
        }
        int Len = std::min(static_cast<int>(FText.size()), Size - 1);
        // Never cut a character in two.
        while (Len > 0 && Len < static_cast<int>(FText.size()) &&
               (static_cast<unsigned char>(FText[Len]) & 0xC0) == 0x80)
            --Len;
        std::memcpy(Buffer, FText.data(), std::size_t(Len));
        Buffer[Len] = '\0';
        Message.Result = Len;
        return;
    }
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(FText.size());
        return;
    case WM_SETTEXT:
        FText = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
        Message.Result = 1;
        return;
    default:
        Message.Result = 0;
    }
}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&) {
    // Showing or hiding repaints where the control lies in its parent.
    if (FParent && FParent->HandleAllocated()) {
        TRect R = BoundsRect();
        InvalidateRect(FParent->Handle(), &R, !FControlStyle.Contains(csOpaque));
    }
}

void TControl::CMTextChanged(TMessage&) {
    Invalidate();
}

void TControl::CMHitTest(TMessage& Message) {
    Message.Result = 1;
}

void TControl::CMMouseEnter(TMessage& Message) {
    // The parent learns which of its children the pointer moved onto.
    if (FParent)
        FParent->Perform(Message.Msg, 0, LPARAM(this));
}

void TControl::CMMouseLeave(TMessage& Message) {
    if (FParent)
        FParent->Perform(Message.Msg, 0, LPARAM(this));
}

void TControl::CMMouseWheel(TMessage& Message) {
    if (FParent)
        Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::CMInvalidate(TMessage&) {
    Invalidate();
}

// ---- painting

void TControl::Invalidate() {
    if (!FParent || !FParent->HandleAllocated() || !FVisible)
        return;
    TRect R = BoundsRect();
    bool Erase = !FControlStyle.Contains(csOpaque) && !FParent->ControlStyle().Contains(csOpaque);
    InvalidateRect(FParent->Handle(), &R, Erase);
}

void TControl::Repaint() {
    if (!FVisible || !FParent || !FParent->HandleAllocated())
        return;
    if (FControlStyle.Contains(csOpaque)) {
        // Painted at once on a parent DC clipped to the control.
        HDC DC = GetDC(FParent->Handle());
        int Saved = SaveDC(DC);
        IntersectClipRect(DC, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
        FParent->PaintControls(DC, this);
        RestoreDC(DC, Saved);
        ReleaseDC(FParent->Handle(), DC);
    } else {
        Invalidate();
        Update();
    }
}

void TControl::Update() {
    if (FParent)
        FParent->Update();
}

void TControl::WMPaint(TMessage& Message) {
    DefaultHandler(Message);
}

void TControl::WMWindowPosChanged(TMessage& Message) {
    DefaultHandler(Message);
}

// ---- mouse

bool TControl::MouseCapture() {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (MouseCapture() == Value)
        return;
    SetCaptureControl(Value ? this : nullptr);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::WMMouseMove(TMessage& Message) {
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseMove(KeysToShiftState(WORD(Message.WParam)), GET_X_LPARAM(Message.LParam),
                  GET_Y_LPARAM(Message.LParam));
}

void TControl::WMButtonDown(TMessage& Message, TMouseButton Button, bool Double) {
    SendCancelMode(this);
    DefaultHandler(Message);
    if (Button == mbLeft) {
        if (FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(true);
        if (FControlStyle.Contains(csClickEvents))
            FControlState.Include(csClicked);
    }
    if (Double && FControlStyle.Contains(csClickEvents))
        DblClick();
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TShiftState Shift = KeysToShiftState(WORD(Message.WParam));
        if (Double)
            Shift.Include(ssDouble);
        MouseDown(Button, Shift, GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    }
}

void TControl::WMButtonUp(TMessage& Message, TMouseButton Button) {
    DefaultHandler(Message);
    TPoint P = LParamToPoint(Message.LParam);
    if (Button == mbLeft) {
        if (FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        if (FControlState.Contains(csClicked)) {
            FControlState.Exclude(csClicked);
            TRect Client = ClientRect();
            if (PtInRect(&Client, P))
                Click();
        }
    }
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseUp(Button, KeysToShiftState(WORD(Message.WParam)), P.X, P.Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    if (!Handled) {
        if (WheelDelta < 0)
            Handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            Handled = DoMouseWheelUp(Shift, MousePos);
    }
    return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, Handled);
    return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, Handled);
    return Handled;
}

void TControl::WMMouseWheel(TMessage& Message) {
    TShiftState Shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
    int Delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
    if (DoMouseWheel(Shift, Delta, LParamToPoint(Message.LParam))) {
        Message.Result = 1;
        return;
    }
    // Unhandled: the parent may scroll.
    if (FParent) {
        Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
        if (Message.Result)
            return;
    }
    DefaultHandler(Message);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
    if (Message.Result != 0)
        return;
    TPoint Pos = LParamToPoint(Message.LParam);
    bool Keyboard = Pos.X == -1 && Pos.Y == -1;
    TPoint Local = Keyboard ? TPoint{-1, -1} : ScreenToClient(Pos);
    bool Handled = false;
    DoContextPopup(Local, Handled);
    Message.Result = Handled ? 1 : 0;
    if (Handled)
        return;
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        if (Keyboard)
            Pos = ClientToScreen({FWidth / 2, FHeight / 2});
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(Pos.X, Pos.Y);
        Message.Result = 1;
        return;
    }
    DefaultHandler(Message);
}

void TControl::WMCancelMode(TMessage& Message) {
    DefaultHandler(Message);
    if (MouseCapture())
        SetMouseCapture(false);
}

// ---------------------------------------------------------------- deferred free

namespace {

std::vector<TControl*> GPendingRelease;
HWND GReleaseWindow = nullptr;
TCursor GScreenCursor = crDefault;

} // namespace

void SetControlReleaseWindow(HWND Wnd) {
    GReleaseWindow = Wnd;
}

void PostReleaseControl(TControl* Control) {
    if (std::find(GPendingRelease.begin(), GPendingRelease.end(), Control) == GPendingRelease.end())
        GPendingRelease.push_back(Control);
    if (GReleaseWindow)
        PostMessage(GReleaseWindow, CM_FREECONTROL, 0, LPARAM(Control));
}

void ForgetReleasedControl(TControl* Control) {
    GPendingRelease.erase(std::remove(GPendingRelease.begin(), GPendingRelease.end(), Control),
                          GPendingRelease.end());
}

void FreeReleasedControl(TControl* Control) {
    auto It = std::find(GPendingRelease.begin(), GPendingRelease.end(), Control);
    if (It == GPendingRelease.end())
        return;
    GPendingRelease.erase(It);
    delete Control;
}

// ---------------------------------------------------------------- cursors

TCursor ScreenCursor() {
    return GScreenCursor;
}

void SetScreenCursor(TCursor Value) {
    GScreenCursor = Value;
}

HCURSOR CursorHandle(TCursor Cursor) {
    int Id = IDC_ARROW;
    switch (Cursor) {
    case crNone:
        return nullptr;
    case crCross:
        Id = IDC_CROSS;
        break;
    case crIBeam:
        Id = IDC_IBEAM;
        break;
    case crSizeNESW:
        Id = IDC_SIZENESW;
        break;
    case crSizeNS:
    case crVSplit:
        Id = IDC_SIZENS;
        break;
    case crSizeNWSE:
        Id = IDC_SIZENWSE;
        break;
    case crSizeWE:
    case crHSplit:
        Id = IDC_SIZEWE;
        break;
    case crSizeAll:
        Id = IDC_SIZEALL;
        break;
    case crUpArrow:
        Id = IDC_UPARROW;
        break;
    case crHourGlass:
        Id = IDC_WAIT;
        break;
    case crNo:
        Id = IDC_NO;
        break;
    case crAppStart:
        Id = IDC_APPSTARTING;
        break;
    case crHelp:
        Id = IDC_HELP;
        break;
    case crHandPoint:
        Id = IDC_HAND;
        break;
    default:
        break;
    }
    return LoadCursor(nullptr, Id);
}

// ---------------------------------------------------------------- capture

TControl* GetCaptureControl() {
    HWND Wnd = GetCapture();
    if (!Wnd)
        return nullptr;
    TWinControl* Control = FindControl(Wnd);
    if (!Control)
        return nullptr;
    if (GCaptureControl && GCaptureControl->Parent() == Control)
        return GCaptureControl;
    return Control;
}

void SetCaptureControl(TControl* Control) {
    GCaptureControl = nullptr;
    if (!Control) {
        ReleaseCapture();
        return;
    }
    if (auto* Win = dynamic_cast<TWinControl*>(Control)) {
        SetCapture(Win->Handle());
        return;
    }
    // A graphic control captures through its parent's window.
    if (Control->Parent()) {
        SetCapture(Control->Parent()->Handle());
        GCaptureControl = Control;
    }
}

TPoint TMouse::CursorPos() const {
    TPoint P;
    GetCursorPos(&P);
    return P;
}

void TMouse::SetCursorPos(TPoint Value) {
    ::SetCursorPos(Value.X, Value.Y);
}

HWND TMouse::Capture() const {
    return GetCapture();
}

void TMouse::SetCapture(HWND Value) {
    if (Value)
        ::SetCapture(Value);
    else
        ReleaseCapture();
}
