// The hint window and the application's hint tracking.
//
// Tracking runs on the application's hint timer and at idle: a control with
// a hint under a resting pointer gets its hint after HintPause (HintShortPause
// right after another hint); the hint goes after its HideTimeout, when the
// pointer leaves the control, on a key or button, and on deactivation.
#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"

namespace {

constexpr UINT_PTR HintTimerId = 1;

// The control whose hint shows for the control under the pointer.
TControl* HintControlFor(TControl* Control) {
    while (Control && (Control->Hint().empty() || !Control->ShowHint())) {
        if (!Control->Hint().empty())
            return nullptr;
        Control = Control->Parent();
    }
    return Control;
}

} // namespace

// ---------------------------------------------------------------- THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FColor = Application ? Application->HintColor() : clInfoBk;
    FBrush.SetColor(FColor);
    if (Screen)
        FFont.Assign(Screen->HintFont());
    FFont.SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    Params.WindowClass.style |= CS_SAVEBITS;
    Params.WndParent = Application ? Application->Handle() : nullptr;
}

void THintWindow::Paint() {
    TRect R = ClientRect();
    FCanvas.Brush()->SetColor(FColor);
    FCanvas.FillRect(R);
    InflateRect(&R, -2, -2);
    FCanvas.Font()->Assign(&FFont);
    FCanvas.Font()->SetColor(clInfoText);
    FCanvas.Brush()->SetStyle(bsClear);
    std::string Text = Caption();
    DrawText(FCanvas.Handle(), Text, -1, &R, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*) {
    TRect R{0, 0, MaxWidth, 0};
    HDC DC = CreateCompatibleDC(nullptr);
    HGDIOBJ Old = SelectObject(DC, ToObj(FFont.Handle()));
    DrawText(DC, AHint, -1, &R, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(DC, Old);
    DeleteDC(DC);
    R.Right += 6;
    R.Bottom += 2;
    return R;
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
    SetCaption(AHint);
    // Kept on the work area of the monitor the hint starts on.
    if (Screen) {
        TRect Work = Screen->MonitorFromPoint(Rect.TopLeft())->WorkareaRect();
        if (Rect.Right > Work.Right)
            OffsetRect(&Rect, Work.Right - Rect.Right, 0);
        if (Rect.Left < Work.Left)
            OffsetRect(&Rect, Work.Left - Rect.Left, 0);
        if (Rect.Bottom > Work.Bottom)
            OffsetRect(&Rect, 0, Work.Bottom - Rect.Bottom);
    }
    FLeft = Rect.Left;
    FTop = Rect.Top;
    FWidth = Rect.Width();
    FHeight = Rect.Height();
    HandleNeeded();
    FVisible = true;
    FShowing = true;
    SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const std::string& AHint, void*) {
    ActivateHint(Rect, AHint);
}

bool THintWindow::IsHintMsg(const MSG& Msg) {
    UINT M = Msg.message;
    return (M >= WM_KEYFIRST && M <= WM_KEYLAST) ||
           (M >= WM_LBUTTONDOWN && M <= WM_MOUSELAST && M != WM_MOUSEMOVE) ||
           (M >= WM_NCLBUTTONDOWN && M <= WM_NCMBUTTONDBLCLK) || M == WM_ACTIVATEAPP;
}

void THintWindow::ReleaseHandle() {
    FVisible = false;
    FShowing = false;
    DestroyHandle();
}

void THintWindow::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCHITTEST:
        Message.Result = HTTRANSPARENT;
        return;
    case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        return;
    default:
        TCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- tracking

std::uint32_t TApplication::Now() const {
    return GetTickCount();
}

void TApplication::SetHint(const std::string& Value) {
    if (Value == FHint)
        return;
    FHint = Value;
    if (OnHint)
        OnHint(this);
}

void TApplication::SetShowHint(bool Value) {
    if (Value == FShowHint)
        return;
    FShowHint = Value;
    if (!Value) {
        HideHintWindow();
        // The next hint makes a new window of the current class.
        delete FHintWindow;
        FHintWindow = nullptr;
    }
}

void TApplication::CreateHintWindow() {
    if (FHintWindow)
        return;
    FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
    FHintWindow->SetColor(FHintColor);
}

bool TApplication::IsHintMsg(MSG& Msg) {
    if (FHintShowing && FHintWindow && FHintWindow->IsHintMsg(Msg)) {
        CancelHint();
        return false;
    }
    if ((Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) ||
        (Msg.message >= WM_NCMOUSEMOVE && Msg.message <= WM_NCMBUTTONDBLCLK))
        TrackHint();
    return false;
}

void TApplication::HideHintWindow() {
    if (FHintWindow && FHintShowing)
        FHintWindow->ReleaseHandle();
    if (FHintShowing)
        FHintHiddenAt = Now();
    FHintShowing = false;
}

void TApplication::HideHint() {
    HideHintWindow();
    SetHint("");
}

void TApplication::CancelHint() {
    HideHintWindow();
    // The control keeps the pointer but its hint does not come back until
    // the pointer moves to another control.
    FHintControl = FHintCandidate;
    FHintCandidate = nullptr;
    if (FHandle)
        KillTimer(FHandle, HintTimerId);
}

bool TApplication::RunShowHintHooks(std::string& HintStr, THintInfo& Info) {
    bool CanShow = true;
    if (OnShowHint)
        OnShowHint(HintStr, CanShow, Info);
    auto Hooks = FShowHintHooks;
    for (auto It = Hooks.rbegin(); It != Hooks.rend() && CanShow; ++It)
        if (std::find(FShowHintHooks.begin(), FShowHintHooks.end(), *It) != FShowHintHooks.end())
            (*It)(HintStr, CanShow, Info);
    return CanShow;
}

void TApplication::ActivateHint(TPoint CursorPos) {
    TControl* Control = HintControlFor(FindControlUnderPointer(CursorPos));
    if (Control)
        ShowHintFor(Control, CursorPos);
}

void TApplication::ShowHintFor(TControl* Control, TPoint CursorPos) {
    THintInfo Info;
    Info.HintControl = Control;
    Info.HintWindowClass = HintWindowClass;
    // Below the cursor: by the rows of the cursor shape under its hot spot.
    int Below = GetSystemMetrics(SM_CYCURSOR);
    ICONINFO CursorInfo;
    HCURSOR Cursor = GetCursor();
    if (Cursor && GetIconInfo(reinterpret_cast<HICON>(Cursor), &CursorInfo)) {
        Below = GetSystemMetrics(SM_CYCURSOR) - int(CursorInfo.yHotspot);
        if (CursorInfo.hbmMask)
            DeleteObject(ToObj(CursorInfo.hbmMask));
        if (CursorInfo.hbmColor)
            DeleteObject(ToObj(CursorInfo.hbmColor));
    }
    Info.HintPos = {CursorPos.X, CursorPos.Y + Below};
    Info.HintMaxWidth = Screen ? Screen->Width() : 1920;
    Info.HintColor = FHintColor;
    TRect Client = Control->ClientRect();
    TPoint Origin = Control->ClientToScreen({0, 0});
    Info.CursorRect = Client;
    Info.CursorPos = Control->ScreenToClient(CursorPos);
    Info.ReshowTimeout = 0;
    Info.HideTimeout = FHintHidePause;
    Info.HintStr = GetShortHint(Control->Hint());
    Info.HintData = nullptr;
    if (Control->Perform(CM_HINTSHOW, 0, LPARAM(&Info)) != 0)
        return;
    std::string HintStr = Info.HintStr;
    if (!RunShowHintHooks(HintStr, Info) || HintStr.empty())
        return;
    if (!FShowHint)
        return;
    if (FHintWindow && Info.HintWindowClass && HintWindowClass &&
        Info.HintWindowClass.target_type() != HintWindowClass.target_type()) {
        delete FHintWindow;
        FHintWindow = nullptr;
    }
    CreateHintWindow();
    FHintWindow->SetColor(Info.HintColor);
    TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, HintStr, Info.HintData);
    OffsetRect(&R, Info.HintPos.X, Info.HintPos.Y);
    FHintWindow->ActivateHintData(R, HintStr, Info.HintData);
    FHintShowing = true;
    FHintShownAt = Now();
    FHintControl = Control;
    FHintCursorRect = Info.CursorRect;
    OffsetRect(&FHintCursorRect, Origin.X, Origin.Y);
    FHintHideTimeout = Info.HideTimeout;
    SetHint(GetLongHint(Control->Hint()));
}

void TApplication::TrackHint() {
    if (!FShowHint && !FHintShowing)
        return;
    TPoint P;
    if (!GetCursorPos(&P))
        return;
    std::uint32_t T = Now();
    auto Schedule = [this](std::uint32_t Ms) {
        SetTimer(Handle(), HintTimerId, Ms == 0 ? 1 : Ms, nullptr);
    };
    if (FHintShowing) {
        if (!PtInRect(&FHintCursorRect, P)) {
            HideHintWindow();
            FHintRecentlyShown = true;
            FHintControl = nullptr;
        } else if (FHintHideTimeout > 0 && T - FHintShownAt >= std::uint32_t(FHintHideTimeout)) {
            // Timed out: not again until the pointer moves elsewhere.
            HideHintWindow();
            FHintRecentlyShown = false;
            KillTimer(Handle(), HintTimerId);
            return;
        } else {
            Schedule(FHintHideTimeout > 0 ? FHintHideTimeout - (T - FHintShownAt) : 100);
            return;
        }
    }
    TControl* Under = HintControlFor(FindControlUnderPointer(P));
    if (!FShowHint || !Under) {
        FHintCandidate = nullptr;
        if (!Under)
            FHintControl = nullptr;
        KillTimer(Handle(), HintTimerId);
        return;
    }
    if (Under == FHintControl)
        return;
    if (Under != FHintCandidate) {
        FHintCandidate = Under;
        FHintCandidateSince = T;
        Under->FreeNotification(this);
    }
    std::uint32_t Pause = FHintRecentlyShown && T - FHintHiddenAt < std::uint32_t(FHintHidePause)
                              ? std::uint32_t(FHintShortPause)
                              : std::uint32_t(FHintPause);
    std::uint32_t Waited = T - FHintCandidateSince;
    if (Waited < Pause) {
        Schedule(Pause - Waited);
        return;
    }
    FHintCandidate = nullptr;
    ShowHintFor(Under, P);
    if (FHintShowing)
        Schedule(FHintHideTimeout > 0 ? std::uint32_t(FHintHideTimeout) : 100);
    else
        KillTimer(Handle(), HintTimerId);
}
