// DefWindowProc: the default answers, the plain frame, caption buttons, the
// move/size loop and the tracking of plain scroll bars.
#include "platform/core/Clock.h"
#include "platform/win/WinInternal.h"

#include <algorithm>

namespace winsys {

int CopyWindowText(const std::string& Text, char* Buffer, int MaxCount);
void DefWindowPosChanged(TWnd* W, const WINDOWPOS* Pos);
void DefWindowPosChanging(TWnd* W, WINDOWPOS* Pos);
void TrackScrollBar(TWnd* W, int Bar, TPoint Screen);
void PaintScrollBars(TWnd* W, HDC DC);
TRect ScrollBarRect(TWnd* W, int Bar); // window coordinates

namespace {

int BorderWidth(DWORD Style, DWORD ExStyle) {
    if (Style & WS_THICKFRAME)
        return GetSystemMetrics(SM_CXSIZEFRAME);
    if ((ExStyle & WS_EX_DLGMODALFRAME) || (Style & WS_DLGFRAME))
        return GetSystemMetrics(SM_CXFIXEDFRAME);
    if (Style & WS_BORDER)
        return GetSystemMetrics(SM_CXBORDER);
    return 0;
}

int CaptionHeight(DWORD Style, DWORD ExStyle) {
    if ((Style & WS_CAPTION) != WS_CAPTION)
        return 0;
    return GetSystemMetrics((ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int EdgeWidth(DWORD ExStyle) {
    return ((ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0) + ((ExStyle & WS_EX_STATICEDGE) ? 1 : 0);
}

// The caption buttons in window coordinates: close, maximize, minimize.
struct TCaptionButtons {
    TRect Close, Max, Min;
    bool HasClose = false, HasMax = false, HasMin = false;
};

TCaptionButtons CaptionButtons(TWnd* W) {
    TCaptionButtons B;
    int Cap = CaptionHeight(W->Style, W->ExStyle);
    if (!Cap || !(W->Style & WS_SYSMENU))
        return B;
    int Border = BorderWidth(W->Style, W->ExStyle);
    int Width = W->Window.Width();
    int BW = Cap - 3, BH = Cap - 5;
    int Top = Border + 2;
    int Right = Width - Border - 2;
    B.HasClose = true;
    B.Close = Rect(Right - BW, Top, Right, Top + BH);
    if ((W->Style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) && !(W->ExStyle & WS_EX_TOOLWINDOW)) {
        B.HasMax = B.HasMin = true;
        B.Max = Rect(B.Close.Left - 2 - BW, Top, B.Close.Left - 2, Top + BH);
        B.Min = Rect(B.Max.Left - BW, Top, B.Max.Left, Top + BH);
    }
    return B;
}

HBRUSH ClassBrush(HBRUSH Brush) {
    auto V = reinterpret_cast<std::uintptr_t>(Brush);
    // The platform lets a class name a system colour as index + 1.
    if (V > 0 && V <= 31)
        return GetSysColorBrush(int(V - 1));
    return Brush;
}

void FillSys(HDC DC, TRect R, int Index) {
    FillRect(DC, &R, GetSysColorBrush(Index));
}

void Line(HDC DC, int X1, int Y1, int X2, int Y2) {
    MoveToEx(DC, X1, Y1, nullptr);
    LineTo(DC, X2, Y2);
}

// The caption button held down under the pointer, drawn pressed.
HWND PressedWnd = nullptr;
int PressedHit = 0;

void DrawCaptionButton(HDC DC, TRect R, int Kind, bool Maximized, bool Pressed) {
    TRect E = R;
    DrawEdge(DC, &E, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    if (Pressed)
        OffsetRect(&R, 1, 1);
    HPEN Pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ Old = SelectObject(DC, ToObj(Pen));
    int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
    switch (Kind) {
    case HTCLOSE:
        for (int D = 0; D < 2; ++D) {
            Line(DC, CX - 4 + D, CY - 3, CX + 3 + D, CY + 4);
            Line(DC, CX + 2 + D, CY - 3, CX - 5 + D, CY + 4);
        }
        break;
    case HTMAXBUTTON:
        if (Maximized) {
            TRect A = Rect(CX - 2, CY - 4, CX + 4, CY + 1),
                  B = Rect(CX - 4, CY - 1, CX + 2, CY + 4);
            FrameRect(DC, &A, GetSysColorBrush(COLOR_BTNTEXT));
            FrameRect(DC, &B, GetSysColorBrush(COLOR_BTNTEXT));
        } else {
            TRect A = Rect(CX - 4, CY - 4, CX + 5, CY + 4);
            FrameRect(DC, &A, GetSysColorBrush(COLOR_BTNTEXT));
            Line(DC, A.Left, A.Top + 1, A.Right, A.Top + 1);
        }
        break;
    case HTMINBUTTON:
        Line(DC, CX - 4, CY + 3, CX + 3, CY + 3);
        Line(DC, CX - 4, CY + 2, CX + 3, CY + 2);
        break;
    }
    SelectObject(DC, Old);
    DeleteObject(ToObj(Pen));
}

void SendRootCommand(TWnd* W, WPARAM Cmd, LPARAM L) {
    TWnd* Root = TopLevelOf(W);
    if (Root)
        Send(Root, WM_SYSCOMMAND, Cmd, L);
}

// Tracks a pressed caption button until the release; answers whether the
// release came over it.
bool TrackCaptionButton(TWnd* W, int Hit) {
    HWND H = W->Handle;
    TThreadQueue& Q = CurrentQueue();
    TGlobal& Global = G();
    if (!(Global.AsyncKeyState[VK_LBUTTON] & 0x80))
        return false;
    SetCapture(H);
    Global.CancelTracking = false;
    bool Over = true;
    auto ShowPressed = [&](bool Pressed) {
        PressedWnd = Pressed ? H : nullptr;
        PressedHit = Hit;
        if (TWnd* Alive = Ptr(H))
            PaintPlainFrame(Alive);
    };
    ShowPressed(true);
    for (;;) {
        HandleSentMessages(Q);
        PullBackendEvents(Q);
        if (!Ptr(H) || Global.CancelTracking)
            break;
        if (!Q.RawInput.empty()) {
            TRawInput In = Q.RawInput.front();
            Q.RawInput.pop_front();
            if (In.Event.Kind == TBackendEventKind::PointerMove ||
                In.Event.Kind == TBackendEventKind::ButtonUp) {
                bool Now = PlainHitTest(W, In.Event.Point) == Hit;
                if (Now != Over)
                    ShowPressed(Now);
                Over = Now;
            }
            if (In.Event.Kind == TBackendEventKind::ButtonUp && In.Event.Button == 0)
                break;
            continue;
        }
        const TModalStep Step = DispatchModalMessage(Q);
        if (Step == TModalStep::Quit)
            break;
        if (Step == TModalStep::Dispatched)
            continue;
        WaitForMessages(Q, "the caption button tracking");
    }
    if (PressedWnd)
        ShowPressed(false);
    if (Global.Capture == H)
        ReleaseCapture();
    return Over && Ptr(H) && !Global.CancelTracking;
}

LRESULT DefKeyUp(TWnd* W, WPARAM Key) {
    TGlobal& Global = G();
    bool Shift = Global.AsyncKeyState[VK_SHIFT] & 0x80;
    if ((Key == VK_MENU || Key == VK_LMENU || Key == VK_RMENU) && Global.AltAlone) {
        Global.AltAlone = false;
        SendRootCommand(W, SC_KEYMENU, 0);
    } else if (Key == WPARAM(VK_F10)) {
        if (Shift)
            Send(W, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(W->Handle), -1);
        else
            SendRootCommand(W, SC_KEYMENU, 0);
    } else if (Key == WPARAM(VK_APPS))
        Send(W, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(W->Handle), -1);
    return 0;
}

} // namespace

TFrameInsets FrameInsets(DWORD Style, DWORD ExStyle, bool WithScrollBars) {
    int B = BorderWidth(Style, ExStyle) + EdgeWidth(ExStyle);
    TFrameInsets In{B, B, B, B};
    In.Top += CaptionHeight(Style, ExStyle);
    if (WithScrollBars) {
        if (Style & WS_VSCROLL)
            In.Right += GetSystemMetrics(SM_CXVSCROLL);
        if (Style & WS_HSCROLL)
            In.Bottom += GetSystemMetrics(SM_CYHSCROLL);
    }
    return In;
}

int PlainHitTest(TWnd* W, TPoint Screen) {
    TRect R = WindowRectScreen(W);
    if (!PtInRect(&R, Screen))
        return HTNOWHERE;
    TPoint P{Screen.X - R.Left, Screen.Y - R.Top};
    TRect Client = W->Client;
    OffsetRect(&Client, -W->Window.Left, -W->Window.Top);
    if (PtInRect(&Client, P))
        return HTCLIENT;
    int Width = R.Width(), Height = R.Height();
    int Border = BorderWidth(W->Style, W->ExStyle);
    if (P.X < Border || P.Y < Border || P.X >= Width - Border || P.Y >= Height - Border) {
        if (!(W->Style & WS_THICKFRAME) || (W->Style & WS_MAXIMIZE))
            return HTBORDER;
        int Corner = GetSystemMetrics(SM_CYCAPTION) + Border;
        bool Left = P.X < Corner, Right = P.X >= Width - Corner;
        bool Top = P.Y < Corner, Bottom = P.Y >= Height - Corner;
        if (P.Y < Border)
            return Left ? HTTOPLEFT : Right ? HTTOPRIGHT : HTTOP;
        if (P.Y >= Height - Border)
            return Left ? HTBOTTOMLEFT : Right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (P.X < Border)
            return Top ? HTTOPLEFT : Bottom ? HTBOTTOMLEFT : HTLEFT;
        return Top ? HTTOPRIGHT : Bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    int Cap = CaptionHeight(W->Style, W->ExStyle);
    if (Cap && P.Y < Border + Cap) {
        TCaptionButtons B = CaptionButtons(W);
        if (B.HasClose && PtInRect(&B.Close, P))
            return HTCLOSE;
        if (B.HasMax && PtInRect(&B.Max, P))
            return HTMAXBUTTON;
        if (B.HasMin && PtInRect(&B.Min, P))
            return HTMINBUTTON;
        if ((W->Style & WS_SYSMENU) && !(W->ExStyle & WS_EX_TOOLWINDOW) &&
            P.X < Border + GetSystemMetrics(SM_CXSIZE))
            return HTSYSMENU;
        return HTCAPTION;
    }
    for (int Bar : {SB_VERT, SB_HORZ}) {
        TRect SR = ScrollBarRect(W, Bar);
        if (PtInRect(&SR, P))
            return Bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    return HTBORDER;
}

void PaintPlainFrame(TWnd* W) {
    int Border = BorderWidth(W->Style, W->ExStyle);
    int Cap = CaptionHeight(W->Style, W->ExStyle);
    int Edge = EdgeWidth(W->ExStyle);
    bool Bars = W->Style & (WS_VSCROLL | WS_HSCROLL);
    if (!Border && !Cap && !Edge && !Bars)
        return;
    HDC DC = GetDCEx(W->Handle, nullptr, DCX_WINDOW);
    if (!DC)
        return;
    TRect Client = W->Client;
    OffsetRect(&Client, -W->Window.Left, -W->Window.Top);
    ExcludeClipRect(DC, Client.Left, Client.Top, Client.Right, Client.Bottom);
    TRect R = Rect(0, 0, W->Window.Width(), W->Window.Height());
    bool Active = W->NcActive;
    auto Pressed = [W](int Hit) { return PressedWnd == W->Handle && PressedHit == Hit; };
    if (W->Style & WS_THICKFRAME) {
        TRect E = R;
        DrawEdge(DC, &E, EDGE_RAISED, BF_RECT | BF_ADJUST);
        HBRUSH Fill = GetSysColorBrush(Active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
        for (int I = 2; I < Border; ++I) {
            FrameRect(DC, &E, Fill);
            InflateRect(&E, -1, -1);
        }
    } else if (Border > 1) {
        TRect E = R;
        DrawEdge(DC, &E, EDGE_RAISED, BF_RECT | BF_ADJUST);
        for (int I = 2; I < Border; ++I) {
            FrameRect(DC, &E, GetSysColorBrush(COLOR_BTNFACE));
            InflateRect(&E, -1, -1);
        }
    } else if (Border == 1) {
        FrameRect(DC, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    if (Cap) {
        TRect C = Rect(Border, Border, R.Right - Border, Border + Cap);
        FillSys(DC, Rect(C.Left, C.Bottom - 1, C.Right, C.Bottom), COLOR_BTNFACE);
        C.Bottom -= 1;
        FillSys(DC, C, Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        TCaptionButtons B = CaptionButtons(W);
        TRect TextR = C;
        TextR.Left += 4;
        if (B.HasClose)
            TextR.Right = (B.HasMin ? B.Min.Left : B.Close.Left) - 2;
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, GetSysColor(Active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        LOGFONT LF;
        LF.lfHeight = -11;
        LF.lfWeight = FW_BOLD;
        HFONT Font = CreateFontIndirect(&LF);
        HGDIOBJ OldFont = SelectObject(DC, ToObj(Font));
        try {
            DrawText(DC, W->Text, -1, &TextR,
                     DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        } catch (const EInvalidOperation&) {
            // Without the font engine (tests with no GUI) the caption has no text.
        }
        SelectObject(DC, OldFont);
        DeleteObject(ToObj(Font));
        if (B.HasClose)
            DrawCaptionButton(DC, B.Close, HTCLOSE, false, Pressed(HTCLOSE));
        if (B.HasMax)
            DrawCaptionButton(DC, B.Max, HTMAXBUTTON, (W->Style & WS_MAXIMIZE) != 0,
                              Pressed(HTMAXBUTTON));
        if (B.HasMin)
            DrawCaptionButton(DC, B.Min, HTMINBUTTON, false, Pressed(HTMINBUTTON));
    }
    if (Edge) {
        TRect E = Client;
        if (Bars) {
            if (W->Style & WS_VSCROLL)
                E.Right += GetSystemMetrics(SM_CXVSCROLL);
            if (W->Style & WS_HSCROLL)
                E.Bottom += GetSystemMetrics(SM_CYHSCROLL);
        }
        InflateRect(&E, Edge, Edge);
        if (W->ExStyle & WS_EX_CLIENTEDGE)
            DrawEdge(DC, &E, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        if (W->ExStyle & WS_EX_STATICEDGE)
            DrawEdge(DC, &E, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    if (Bars)
        PaintScrollBars(W, DC);
    ReleaseDC(W->Handle, DC);
}

// ---------------------------------------------------------------- the move/size loop

void MoveSizeLoop(TWnd* W, WPARAM Command, LPARAM Point) {
    HWND H = W->Handle;
    TGlobal& Global = G();
    TThreadQueue& Q = CurrentQueue();
    bool Sizing = (Command & 0xFFF0) == SC_SIZE;
    WPARAM Edge = Command & 0xF;
    Send(W, WM_ENTERSIZEMOVE, 0, 0);
    if (!Ptr(H))
        return;
    if (!(Global.AsyncKeyState[VK_LBUTTON] & 0x80)) {
        Send(W, WM_EXITSIZEMOVE, 0, 0);
        return;
    }
    SetCapture(H);
    Global.InSizeMove = true;
    Global.CancelTracking = false;
    MINMAXINFO Info;
    FillMinMaxInfo(W, Info);
    if (Sizing) {
        Send(W, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    }
    const TRect Orig = W->Window;
    // The drag starts where the button went down.
    DWORD Pos = GetMessagePos();
    TPoint Start = Point ? LParamToPoint(Point) : LParamToPoint(LPARAM(std::int32_t(Pos)));
    // Rectangles of WM_MOVING/WM_SIZING are in screen coordinates.
    TPoint ParentOrigin = ClientOriginScreen(W->Parent);
    for (;;) {
        HandleSentMessages(Q);
        PullBackendEvents(Q);
        if (!Ptr(H) || Global.CancelTracking)
            break;
        if (!Q.RawInput.empty()) {
            TRawInput In = Q.RawInput.front();
            Q.RawInput.pop_front();
            const TBackendEvent& E = In.Event;
            if (E.Kind == TBackendEventKind::ButtonUp && E.Button == 0)
                break;
            if (E.Kind == TBackendEventKind::KeyDown && E.VirtualKey == VK_ESCAPE) {
                SetWindowPosImpl(W, nullptr, Orig.Left, Orig.Top, Orig.Width(), Orig.Height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            }
            if (E.Kind != TBackendEventKind::PointerMove)
                continue;
            int DX = E.Point.X - Start.X, DY = E.Point.Y - Start.Y;
            TRect R = Orig;
            OffsetRect(&R, ParentOrigin.X, ParentOrigin.Y);
            if (!Sizing) {
                OffsetRect(&R, DX, DY);
                Send(W, WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
            } else {
                bool L = Edge == WMSZ_LEFT || Edge == WMSZ_TOPLEFT || Edge == WMSZ_BOTTOMLEFT;
                bool Rt = Edge == WMSZ_RIGHT || Edge == WMSZ_TOPRIGHT || Edge == WMSZ_BOTTOMRIGHT;
                bool T = Edge == WMSZ_TOP || Edge == WMSZ_TOPLEFT || Edge == WMSZ_TOPRIGHT;
                bool B = Edge == WMSZ_BOTTOM || Edge == WMSZ_BOTTOMLEFT || Edge == WMSZ_BOTTOMRIGHT;
                if (L)
                    R.Left += DX;
                if (Rt)
                    R.Right += DX;
                if (T)
                    R.Top += DY;
                if (B)
                    R.Bottom += DY;
                Send(W, WM_SIZING, Edge, reinterpret_cast<LPARAM>(&R));
                // The tracking limits hold whatever the handler made of it;
                // the edge that is not dragged stays put.
                int MinW = Info.ptMinTrackSize.X, MaxW = std::max(MinW, Info.ptMaxTrackSize.X);
                int MinH = Info.ptMinTrackSize.Y, MaxH = std::max(MinH, Info.ptMaxTrackSize.Y);
                int NW = std::clamp(R.Width(), MinW, MaxW), NH = std::clamp(R.Height(), MinH, MaxH);
                if (L)
                    R.Left = R.Right - NW;
                else
                    R.Right = R.Left + NW;
                if (T)
                    R.Top = R.Bottom - NH;
                else
                    R.Bottom = R.Top + NH;
            }
            if (!Ptr(H))
                break;
            OffsetRect(&R, -ParentOrigin.X, -ParentOrigin.Y);
            SetWindowPosImpl(W, nullptr, R.Left, R.Top, R.Width(), R.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE | (Sizing ? 0 : SWP_NOSIZE));
            continue;
        }
        const TModalStep Step = DispatchModalMessage(Q);
        if (Step == TModalStep::Quit)
            break;
        if (Step == TModalStep::Dispatched)
            continue;
        WaitForMessages(Q, "the move/size loop");
    }
    Global.InSizeMove = false;
    if (Global.Capture == H)
        ReleaseCapture();
    if (Ptr(H))
        Send(W, WM_EXITSIZEMOVE, 0, 0);
}

} // namespace winsys

using namespace winsys;

namespace winsys {
void EnterDefProc();
void LeaveDefProc();
} // namespace winsys

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return 0;
    EnterDefProc();
    struct TLeave {
        ~TLeave() { LeaveDefProc(); }
    } Leave;
    TGlobal& Global = G();
    TWnd* Parent =
        (W->Style & WS_CHILD) && W->Parent && !W->Parent->IsDesktop ? W->Parent : nullptr;
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_NCCALCSIZE: {
        TRect* R = WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam)->rgrc[0]
                          : reinterpret_cast<TRect*>(LParam);
        if (!R)
            return 0;
        TFrameInsets In = FrameInsets(W->Style, W->ExStyle, true);
        R->Left += In.Left;
        R->Top += In.Top;
        R->Right -= In.Right;
        R->Bottom -= In.Bottom;
        R->Right = std::max(R->Right, R->Left);
        R->Bottom = std::max(R->Bottom, R->Top);
        return 0;
    }
    case WM_NCHITTEST:
        return PlainHitTest(W, LParamToPoint(LParam));
    case WM_NCPAINT:
        PaintPlainFrame(W);
        return 0;
    case WM_NCACTIVATE:
        W->NcActive = WParam != 0;
        if (IsVisible(W))
            PaintPlainFrame(W);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(WParam) != WA_INACTIVE && !(W->Style & WS_MINIMIZE)) {
            TWnd* F = Ptr(Global.Focus);
            if (!F || TopLevelOf(F) != W)
                SetFocusImpl(W);
        }
        return 0;
    case WM_SETTEXT:
        W->Text = LParam ? reinterpret_cast<const char*>(LParam) : "";
        if (W->Surface)
            Backend().SetTitle(W->Surface, W->Text);
        if (CaptionHeight(W->Style, W->ExStyle) && IsVisible(W))
            PaintPlainFrame(W);
        return TRUE;
    case WM_GETTEXT:
        return CopyWindowText(W->Text, reinterpret_cast<char*>(LParam), int(WParam));
    case WM_GETTEXTLENGTH:
        return LRESULT(W->Text.size());
    case WM_CLOSE:
        DestroyWindow(Wnd);
        return 0;
    case WM_ERASEBKGND: {
        HBRUSH Brush = W->Class ? ClassBrush(W->Class->Background) : nullptr;
        if (!Brush)
            return 0;
        HDC DC = reinterpret_cast<HDC>(WParam);
        TRect Box;
        if (GetClipBox(DC, &Box) == ERROR)
            return 0;
        FillRect(DC, &Box, Brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT PS;
        BeginPaint(Wnd, &PS);
        EndPaint(Wnd, &PS);
        return 0;
    }
    case WM_WINDOWPOSCHANGING:
        DefWindowPosChanging(W, reinterpret_cast<WINDOWPOS*>(LParam));
        return 0;
    case WM_WINDOWPOSCHANGED:
        DefWindowPosChanged(W, reinterpret_cast<const WINDOWPOS*>(LParam));
        return 0;
    case WM_SETREDRAW:
        W->RedrawOff = WParam == 0;
        return 0;
    case WM_SETCURSOR: {
        if (Parent && Send(Parent, WM_SETCURSOR, WParam, LParam))
            return TRUE;
        int Hit = short(LOWORD(LParam));
        UINT Mouse = HIWORD(LParam);
        if (Hit == HTERROR &&
            (Mouse == WM_LBUTTONDOWN || Mouse == WM_RBUTTONDOWN || Mouse == WM_MBUTTONDOWN))
            MessageBeep(0);
        int Id = IDC_ARROW;
        switch (Hit) {
        case HTLEFT:
        case HTRIGHT:
            Id = IDC_SIZEWE;
            break;
        case HTTOP:
        case HTBOTTOM:
            Id = IDC_SIZENS;
            break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            Id = IDC_SIZENWSE;
            break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            Id = IDC_SIZENESW;
            break;
        case HTCLIENT:
            if (W->Class && W->Class->Cursor) {
                SetCursor(W->Class->Cursor);
                return TRUE;
            }
            break;
        default:
            break;
        }
        SetCursor(LoadCursor(nullptr, Id));
        return TRUE;
    }
    case WM_MOUSEACTIVATE:
        if (Parent)
            if (LRESULT R = Send(Parent, WM_MOUSEACTIVATE, WParam, LParam))
                return R;
        return MA_ACTIVATE;
    case WM_MOUSEWHEEL:
        return Parent ? Send(Parent, Msg, WParam, LParam) : 0;
    case WM_RBUTTONUP: {
        TPoint P = LParamToPoint(LParam);
        ClientToScreen(Wnd, &P);
        Send(W, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), PointToLParam(P));
        return 0;
    }
    case WM_NCRBUTTONUP:
        Send(W, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), LParam);
        return 0;
    case WM_CONTEXTMENU:
        if (Parent)
            Send(Parent, WM_CONTEXTMENU, WParam, LParam);
        return 0;
    case WM_NCLBUTTONDOWN: {
        int Hit = int(std::intptr_t(WParam));
        if (Hit == HTCAPTION)
            Send(W, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, LParam);
        else if (Hit >= HTLEFT && Hit <= HTBOTTOMRIGHT)
            Send(W, WM_SYSCOMMAND, SC_SIZE + WPARAM(Hit - 9), LParam);
        else if (Hit == HTCLOSE || Hit == HTMINBUTTON || Hit == HTMAXBUTTON) {
            if (TrackCaptionButton(W, Hit) && Ptr(Wnd)) {
                WPARAM Cmd = Hit == HTCLOSE             ? SC_CLOSE
                             : Hit == HTMINBUTTON       ? SC_MINIMIZE
                             : (W->Style & WS_MAXIMIZE) ? SC_RESTORE
                                                        : SC_MAXIMIZE;
                Send(W, WM_SYSCOMMAND, Cmd, LParam);
            }
        } else if (Hit == HTVSCROLL && (W->Style & WS_VSCROLL))
            TrackScrollBar(W, SB_VERT, LParamToPoint(LParam));
        else if (Hit == HTHSCROLL && (W->Style & WS_HSCROLL))
            TrackScrollBar(W, SB_HORZ, LParamToPoint(LParam));
        return 0;
    }
    case WM_NCLBUTTONDBLCLK: {
        int Hit = int(std::intptr_t(WParam));
        if (Hit == HTCAPTION && (W->Style & WS_MAXIMIZEBOX))
            Send(W, WM_SYSCOMMAND, (W->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, LParam);
        else if (Hit == HTSYSMENU)
            Send(W, WM_SYSCOMMAND, SC_CLOSE, LParam);
        return 0;
    }
    case WM_SYSCOMMAND:
        switch (WParam & 0xFFF0) {
        case SC_SIZE:
        case SC_MOVE:
            if (IsTopLevel(W) || (W->Style & WS_CHILD))
                MoveSizeLoop(W, WParam, LParam);
            return 0;
        case SC_MINIMIZE:
            ShowWindow(Wnd, SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowWindow(Wnd, SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(Wnd, SW_RESTORE);
            return 0;
        case SC_CLOSE:
            Send(W, WM_CLOSE, 0, 0);
            return 0;
        default:
            return 0;
        }
    case WM_SYSKEYDOWN:
        if (WParam == WPARAM(VK_F4) && (LParam & (1 << 29)))
            SendRootCommand(W, SC_CLOSE, 0);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return DefKeyUp(W, WParam);
    case WM_SYSCHAR:
        SendRootCommand(W, SC_KEYMENU, LParam ? WParam : WParam);
        return 0;
    case WM_CANCELMODE:
        if (Global.Capture == Wnd) {
            Global.CancelTracking = true;
            ReleaseCapture();
        }
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        // A parent that does not answer lets the list box act on the key.
        return -1;
    case WM_GETDLGCODE:
    default:
        return 0;
    }
}
