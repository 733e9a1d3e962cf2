// The frame-hook chain of a job: hook libraries (shared objects written
// against media/FrameHookApi.h) that work on every decoded picture in its own
// pixel format.
//
// The libraries themselves are shared by the whole process: each file is
// loaded once, on the first hook that names it, and stays loaded until the
// process ends. The chains belong to their jobs.
#pragma once

#define OSTRELA_FRAME_HOOK_TYPES_ONLY
#include "media/FrameHookApi.h"
#undef OSTRELA_FRAME_HOOK_TYPES_ONLY

#include <cstdint>
#include <mutex>

class TStringList;

// One hook of a chain; made with av_mallocz and freed with av_free.
struct TFrameHookEntry {
    TFrameHookEntry* next; // first, so the head can be walked as an entry
    TFrameHookConfigureFn Configure;
    TFrameHookProcessFn Process;
    TFrameHookReleaseFn Release;
    void* ctx;
};
using PFrameHookEntry = TFrameHookEntry*;

// Appends the hook of argv[0] (a file with a "/", else a name for the
// system's library search) configured with argv to the chain. 0 on success;
// -2 no words or a required entry missing, -1 the library does not load,
// -12 no memory, -22 Configure refused. Failures are logged through av_log.
int AddFrameHook(PFrameHookEntry& AFirstHook, int argc, char** argv);
// Runs every hook of the chain on the picture, in chain order.
void ProcessFrameHooks(PFrameHookEntry AFirstHook, TFrameHookPicture* APicture, int APixFmt,
                       int AWidth, int AHeight, std::int64_t APTS);
// Releases and frees every hook of the chain; the head becomes null.
void ReleaseFrameHooks(PFrameHookEntry& AFirstHook);

// The libraries loaded so far: each name as first given (compared without
// regard to case), its module handle as the object. Null before the first
// hook. Guarded by FrameHookLibrariesLock().
TStringList* FrameHookLibraries();
std::mutex& FrameHookLibrariesLock();
