#include "media/FrameHook.h"

#include "media/AVUtilStubs.h"
#include "platform/core/StringLists.h"

#include <dlfcn.h>

#include <memory>

namespace {

std::unique_ptr<TStringList>& Libraries() {
    static std::unique_ptr<TStringList> List;
    return List;
}

void LogError(const char* AFormat, const char* AText) {
    avutil::av_log(nullptr, AV_LOG_ERROR, AFormat, AText);
}

// The module of AName, loaded on its first use; null (logged) when it does
// not load. Called with the list's lock held.
void* LibraryHandle(const char* AName) {
    std::unique_ptr<TStringList>& List = Libraries();
    if (!List)
        List = std::make_unique<TStringList>();
    const int Index = List->IndexOf(AName);
    if (Index >= 0)
        return static_cast<void*>(List->Objects(Index));
    void* Handle = dlopen(AName, RTLD_NOW | RTLD_LOCAL);
    if (!Handle) {
        const char* Reason = dlerror();
        LogError("%s\n", Reason ? Reason : AName);
        return nullptr;
    }
    // The list keeps the handle where it keeps objects; nothing ever frees it
    // as one, since the libraries stay loaded.
    List->AddObject(AName, static_cast<TObject*>(Handle));
    return Handle;
}

template <class TFn> TFn Entry(void* AHandle, const char* AName) {
    return reinterpret_cast<TFn>(dlsym(AHandle, AName));
}

} // namespace

std::mutex& FrameHookLibrariesLock() {
    static std::mutex Lock;
    return Lock;
}

TStringList* FrameHookLibraries() {
    return Libraries().get();
}

int AddFrameHook(PFrameHookEntry& AFirstHook, int argc, char** argv) {
    if (argc < 1 || !argv || !argv[0])
        return -2;
    void* Handle;
    {
        std::lock_guard Guard(FrameHookLibrariesLock());
        Handle = LibraryHandle(argv[0]);
    }
    if (!Handle)
        return -1;

    auto* Hook = static_cast<TFrameHookEntry*>(avutil::av_mallocz(sizeof(TFrameHookEntry)));
    if (!Hook)
        return -12;
    Hook->Configure = Entry<TFrameHookConfigureFn>(Handle, "Configure");
    Hook->Process = Entry<TFrameHookProcessFn>(Handle, "Process");
    Hook->Release = Entry<TFrameHookReleaseFn>(Handle, "Release");

    // A refused hook is freed here: the caller never sees it.
    if (!Hook->Process) {
        LogError("Failed to find Process entrypoint in %s\n", argv[0]);
        avutil::av_free(Hook);
        return -2;
    }
    if (!Hook->Configure && argc > 1) {
        LogError("Failed to find Configure entrypoint in %s\n", argv[0]);
        avutil::av_free(Hook);
        return -2;
    }
    if (Hook->Configure && Hook->Configure(&Hook->ctx, argc, argv, 63) != 0) {
        LogError("Failed to Configure %s\n", argv[0]);
        avutil::av_free(Hook);
        return -22;
    }

    PFrameHookEntry* Tail = &AFirstHook;
    while (*Tail)
        Tail = &(*Tail)->next;
    *Tail = Hook;
    return 0;
}

void ProcessFrameHooks(PFrameHookEntry AFirstHook, TFrameHookPicture* APicture, int APixFmt,
                       int AWidth, int AHeight, std::int64_t APTS) {
    for (PFrameHookEntry Hook = AFirstHook; Hook; Hook = Hook->next)
        Hook->Process(Hook->ctx, APicture, APixFmt, AWidth, AHeight, APTS);
}

void ReleaseFrameHooks(PFrameHookEntry& AFirstHook) {
    while (AFirstHook) {
        PFrameHookEntry Hook = AFirstHook;
        AFirstHook = Hook->next;
        if (Hook->Release)
            Hook->Release(Hook->ctx);
        avutil::av_free(Hook);
    }
}
