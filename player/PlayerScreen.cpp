#include "player/PlayerScreen.h"

#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"
#include "player/FFPlay.h"

#include <algorithm>
#include <cstring>

TPlayerScreen::TPlayerScreen() = default;

TPlayerScreen::~TPlayerScreen() {
    Detach();
}

UINT TPlayerScreen::PresentMessage() {
    static const UINT Message = RegisterWindowMessage("OstrelaPlayerPresent");
    return Message;
}

bool TPlayerScreen::Attach(HWND AHost) {
    Detach();
    if (!AHost || !IsWindow(AHost))
        return false;
    if (!SetWindowSubclass(AHost, SubclassProc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this)))
        return false;
    FHost = AHost;
    FHostThread = GetWindowThreadProcessId(AHost, nullptr);
    FInstalled = true;
    FPresentPending = false;
    FActive = true;
    return true;
}

void TPlayerScreen::Deactivate() {
    FActive = false;
}

void TPlayerScreen::Detach() {
    FActive = false;
    if (FInstalled && FHost && IsWindow(FHost))
        RemoveWindowSubclass(FHost, SubclassProc, reinterpret_cast<UINT_PTR>(this));
    FInstalled = false;
    FHost = nullptr;
}

void TPlayerScreen::Replace(SDL_Surface* ASurface) {
    {
        std::lock_guard Lock(FLock);
        FHasSurface = ASurface != nullptr;
        FWidth = ASurface ? ASurface->w : 0;
        FHeight = ASurface ? ASurface->h : 0;
        FPixels.assign(static_cast<std::size_t>(FWidth) * FHeight, 0);
    }
    Post();
}

void TPlayerScreen::PresentRect(SDL_Surface* ASurface, const SDL_Rect& ARect) {
    if (!ASurface || ASurface->format->BytesPerPixel != 4)
        return;
    {
        std::lock_guard Lock(FLock);
        const int Right = std::min({int(ARect.x) + int(ARect.w), ASurface->w, FWidth});
        const int Bottom = std::min({int(ARect.y) + int(ARect.h), ASurface->h, FHeight});
        const int Left = std::max(0, int(ARect.x));
        const int Top = std::max(0, int(ARect.y));
        for (int Y = Top; Y < Bottom; ++Y) {
            const auto* Source = static_cast<const std::uint8_t*>(ASurface->pixels) +
                                 static_cast<std::size_t>(Y) * ASurface->pitch + Left * 4;
            std::memcpy(&FPixels[static_cast<std::size_t>(Y) * FWidth + Left], Source,
                        static_cast<std::size_t>(std::max(0, Right - Left)) * 4);
        }
    }
    Post();
}

int TPlayerScreen::Width() const {
    std::lock_guard Lock(FLock);
    return FWidth;
}

int TPlayerScreen::Height() const {
    std::lock_guard Lock(FLock);
    return FHeight;
}

std::vector<std::uint32_t> TPlayerScreen::Pixels() const {
    std::lock_guard Lock(FLock);
    return FPixels;
}

// At most one present message waits in the host's queue.
void TPlayerScreen::Post() {
    if (!FActive || FPresentPending.exchange(true))
        return;
    if (!PostMessage(FHost, PresentMessage(), 0, 0))
        FPresentPending = false;
}

LRESULT TPlayerScreen::Paint(HWND Wnd) {
    PAINTSTRUCT PS;
    HDC DC = BeginPaint(Wnd, &PS);
    TRect Client;
    GetClientRect(Wnd, &Client);
    int Width = 0, Height = 0;
    {
        std::lock_guard Lock(FLock);
        Width = std::min(FWidth, Client.Width());
        Height = std::min(FHeight, Client.Height());
        if (Width > 0 && Height > 0) {
            BITMAPINFO Info;
            Info.bmiHeader.biWidth = FWidth;
            Info.bmiHeader.biHeight = -FHeight; // top-down
            Info.bmiHeader.biBitCount = 32;
            // The whole rows, clipped to the client on the right by the width.
            SetDIBitsToDevice(DC, 0, 0, Width, Height, 0, 0, 0, FHeight, FPixels.data(), &Info,
                              DIB_RGB_COLORS);
        }
    }
    auto Black = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const TRect Right{std::max(Width, 0), 0, Client.Right, Client.Bottom};
    const TRect Below{0, std::max(Height, 0), std::max(Width, 0), Client.Bottom};
    if (!IsRectEmpty(&Right))
        FillRect(DC, &Right, Black);
    if (!IsRectEmpty(&Below))
        FillRect(DC, &Below, Black);
    EndPaint(Wnd, &PS);
    return 0;
}

void TPlayerScreen::OnResize(HWND Wnd) {
    if (!FActive || !SDLHolder())
        return;
    TRect Client;
    GetClientRect(Wnd, &Client);
    {
        std::lock_guard Lock(FLock);
        if (Client.Width() == FWidth && Client.Height() == FHeight)
            return;
    }
    SDL_Event Event{};
    Event.type = SDL_VIDEORESIZE;
    Event.resize.w = Client.Width();
    Event.resize.h = Client.Height();
    std::lock_guard Lock(SDLLock());
    if (SDLHolder() && sdl::SDL_PushEvent)
        PushPlayerEvent(Event);
}

LRESULT TPlayerScreen::SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                    DWORD_PTR Data) {
    auto* Self = reinterpret_cast<TPlayerScreen*>(Data);
    if (Msg == PresentMessage()) {
        Self->FPresentPending = false;
        if (Self->FActive)
            InvalidateRect(Wnd, nullptr, FALSE);
        return 0;
    }
    switch (Msg) {
    case WM_PAINT:
        if (Self->FActive && Self->FHasSurface)
            return Self->Paint(Wnd);
        break;
    case WM_ERASEBKGND:
        if (Self->FActive && Self->FHasSurface)
            return 1;
        break;
    case WM_SIZE:
        Self->OnResize(Wnd);
        break;
    case WM_CLOSE:
        if (Self->FActive)
            return 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (Self->FActive)
            SetFocus(Wnd);
        break;
    case WM_NCDESTROY:
        // The host goes away: nothing is presented any more.
        Self->FActive = false;
        Self->FInstalled = false;
        Self->FHost = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(Wnd, Msg, WParam, LParam);
}
