// Entry points of SDL 1.2, bound by name when the loader loads it and null
// otherwise. Call them as sdl::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <SDL.h>

#include <cstdint>
#include <span>
#include <string>

#define OSTRELA_SDL_ENTRIES(X)                                                                     \
    X(SDL_Init)                                                                                    \
    X(SDL_Quit)                                                                                    \
    X(SDL_GetError)                                                                                \
    X(SDL_AddTimer)                                                                                \
    X(SDL_RemoveTimer)                                                                             \
    X(SDL_OpenAudio)                                                                               \
    X(SDL_PauseAudio)                                                                              \
    X(SDL_CloseAudio)                                                                              \
    X(SDL_MixAudio)                                                                                \
    X(SDL_WaitEvent)                                                                               \
    X(SDL_PollEvent)                                                                               \
    X(SDL_PushEvent)                                                                               \
    X(SDL_EventState)                                                                              \
    X(SDL_GetVideoInfo)                                                                            \
    X(SDL_SetVideoMode)                                                                            \
    X(SDL_UpdateRect)                                                                              \
    X(SDL_WM_SetCaption)                                                                           \
    X(SDL_MapRGB)                                                                                  \
    X(SDL_FillRect)                                                                                \
    X(SDL_CreateYUVOverlay)                                                                        \
    X(SDL_LockYUVOverlay)                                                                          \
    X(SDL_UnlockYUVOverlay)                                                                        \
    X(SDL_DisplayYUVOverlay)                                                                       \
    X(SDL_FreeYUVOverlay)                                                                          \
    X(SDL_LockSurface)                                                                             \
    X(SDL_UnlockSurface)                                                                           \
    X(SDL_CreateMutex)                                                                             \
    X(SDL_mutexP)                                                                                  \
    X(SDL_mutexV)                                                                                  \
    X(SDL_DestroyMutex)                                                                            \
    X(SDL_CreateCond)                                                                              \
    X(SDL_DestroyCond)                                                                             \
    X(SDL_CondSignal)                                                                              \
    X(SDL_CondWait)                                                                                \
    X(SDL_CreateThread)                                                                            \
    X(SDL_WaitThread)                                                                              \
    X(SDL_AudioDriverName)                                                                         \
    X(SDL_VideoDriverName)                                                                         \
    X(SDL_RWFromFile)                                                                              \
    X(SDL_LoadWAV_RW)                                                                              \
    X(SDL_FreeWAV)                                                                                 \
    X(SDL_Delay)

namespace sdl {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_SDL_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace sdl

void SDLFixup(const std::string& ALibName, void* AHandle);
void SDLUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> SDLEntries();
