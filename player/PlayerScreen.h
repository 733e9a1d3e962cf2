// The player's screen: SDL draws into its in-memory surface, and this copies
// what it drew into the host window through the window system.
//
// The copy is 32 bits per pixel, B, G, R, 0 in memory like the surface, and
// has its own leaf lock: the play thread writes it, the host's thread paints
// from it. Presenting posts one message to the host (never sends), so no
// drawing thread waits for the user-interface thread.
#pragma once

#include "media/libsdl.h"
#include "platform/win/Messages.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class TPlayerScreen {
public:
    TPlayerScreen();
    ~TPlayerScreen();
    TPlayerScreen(const TPlayerScreen&) = delete;
    TPlayerScreen& operator=(const TPlayerScreen&) = delete;

    // The message that asks the host to repaint from the copy.
    static UINT PresentMessage();

    // Subclasses AHost on the calling thread, which must own it. False when
    // the window system refuses.
    bool Attach(HWND AHost);
    // Stops presenting at once; the subclass only passes messages on until
    // Detach removes it on the host's thread.
    void Deactivate();
    // Removes the subclass (on the host's thread); harmless when none.
    void Detach();
    HWND Host() const { return FHost; }
    bool Active() const { return FActive; }
    DWORD HostThread() const { return FHostThread; }

    // A new surface: the copy becomes black at its size and is presented;
    // null forgets the surface (the host paints itself again).
    void Replace(SDL_Surface* ASurface);
    // Copies that rectangle of the surface into the copy and asks the host
    // to repaint.
    void PresentRect(SDL_Surface* ASurface, const SDL_Rect& ARect);

    // A snapshot of the copy, for tests and pictures.
    int Width() const;
    int Height() const;
    std::vector<std::uint32_t> Pixels() const;

private:
    static LRESULT SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                DWORD_PTR Data);
    LRESULT Paint(HWND Wnd);
    void OnResize(HWND Wnd);
    void Post();

    std::atomic<HWND> FHost{nullptr};
    DWORD FHostThread = 0;
    bool FInstalled = false;
    std::atomic<bool> FActive{false};
    std::atomic<bool> FPresentPending{false};
    mutable std::mutex FLock; // the copy
    int FWidth = 0;
    int FHeight = 0;
    std::atomic<bool> FHasSurface{false};
    std::vector<std::uint32_t> FPixels;
};
