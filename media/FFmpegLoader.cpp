#include "media/FFmpegLoader.h"

#include "media/AVCodecStubs.h"
#include "media/AVDeviceStubs.h"
#include "media/AVFilterStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "media/SwResampleStubs.h"
#include "media/SwScaleStubs.h"
#include "media/libsdl.h"
#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"

#include <dlfcn.h>

#include <array>
#include <atomic>
#include <cfenv>
#include <vector>

namespace {

// The majors are those of the headers the program is built with.
const TLibraryItem LibraryTable[LibraryCount] = {
    {avCodec, "avcodec", LIBAVCODEC_VERSION_MAJOR, AVCodecFixup, AVCodecUnfix, AVCodecEntries},
    {avDevice, "avdevice", LIBAVDEVICE_VERSION_MAJOR, AVDeviceFixup, AVDeviceUnfix,
     AVDeviceEntries},
    {avFilter, "avfilter", LIBAVFILTER_VERSION_MAJOR, AVFilterFixup, AVFilterUnfix,
     AVFilterEntries},
    {avFormat, "avformat", LIBAVFORMAT_VERSION_MAJOR, AVFormatFixup, AVFormatUnfix,
     AVFormatEntries},
    {avUtil, "avutil", LIBAVUTIL_VERSION_MAJOR, AVUtilFixup, AVUtilUnfix, AVUtilEntries},
    {swScale, "swscale", LIBSWSCALE_VERSION_MAJOR, SwScaleFixup, SwScaleUnfix, SwScaleEntries},
    {swResample, "swresample", LIBSWRESAMPLE_VERSION_MAJOR, SwResampleFixup, SwResampleUnfix,
     SwResampleEntries},
    {myUtil, "c", 6, MyUtilFixup, MyUtilUnfix, MyUtilEntries},
    {lbSDL, "SDL-1.2", 0, SDLFixup, SDLUnfix, SDLEntries},
};

// A library's DT_NEEDED siblings then match the copies already loaded (from
// the library folder, when it holds them).
constexpr TLibrary LoadOrder[LibraryCount] = {avUtil,   swResample, swScale, avCodec, avFormat,
                                              avFilter, avDevice,   myUtil,  lbSDL};

struct TLoaderState {
    std::array<TLibraryStatus, LibraryCount> Rows;
    std::string LastErrMsg;
    std::string LibraryPath;
    TLoaderState() {
        for (int I = 0; I < LibraryCount; ++I)
            Rows[I].Lib = static_cast<TLibrary>(I);
    }
};

// Process-wide and never destroyed: components may outlive the end steps.
TLoaderState& State() {
    static TLoaderState& Value = *new TLoaderState;
    return Value;
}

std::mutex UnitLock;
std::atomic<bool> UnitsStarted{false};
std::fenv_t SavedFPEnvironment;

void EnsureStarted() {
    if (!UnitsStarted.load(std::memory_order_acquire))
        InitializeMediaUnits();
}

} // namespace

const TLibraryItem& LibraryItem(TLibrary ALibrary) {
    return LibraryTable[ALibrary];
}

TLibraryStatus& TFFmpegLoader::Status(TLibrary ALibrary) {
    return State().Rows[ALibrary];
}

const TLibraryStatus& TFFmpegLoader::Status(TLibrary ALibrary) const {
    return State().Rows[ALibrary];
}

std::string TFFmpegLoader::LastErrMsg() const {
    return State().LastErrMsg;
}

std::string TFFmpegLoader::LibraryPath() const {
    return State().LibraryPath;
}

void TFFmpegLoader::SetLibraryPath(const std::string& Value) {
    State().LibraryPath = Value;
}

std::string TFFmpegLoader::LibraryFileName(TLibrary ALibrary) const {
    const TLibraryStatus& Row = Status(ALibrary);
    if (!Row.Name.empty())
        return Row.Name;
    const TLibraryItem& Item = LibraryItem(ALibrary);
    std::string Name = std::string("lib") + Item.Name + ".so";
    if (Item.Version >= 0)
        Name += "." + IntToStr(Item.Version);
    return Name;
}

bool TFFmpegLoader::Load(TLibrary ALibrary) {
    TLibraryStatus& Row = Status(ALibrary);
    if (!Row.Handle) {
        const std::string FileName = LibraryFileName(ALibrary);
        std::string Folder = ExtractFilePath(FileName);
        if (Folder.empty() && !LibraryPath().empty())
            Folder = IncludeTrailingPathDelimiter(LibraryPath());
        const std::string Name = ExtractFileName(FileName);
        std::string Error, Tried;
        void* Handle = LoadLibraryWithPath(Folder, Name, Error, Tried);
        if (!Handle) {
            State().LastErrMsg = Format("Load library %s error: %s", {Tried, Error});
            return false;
        }
        Row.Handle = Handle;
    }
    if (!Row.Fixuped) {
        try {
            LibraryItem(ALibrary).Fixup(LibraryFileName(ALibrary), Row.Handle);
            Row.Fixuped = true;
        } catch (const Exception& E) {
            State().LastErrMsg = E.Message();
        }
    }
    if (!Row.Fixuped) {
        Free(ALibrary);
        return false;
    }
    if (ALibrary == avUtil && InstallLogger)
        GetFFLogger()->InstallAVLogCallback();
    return true;
}

bool TFFmpegLoader::Load(TLibraries ALibraries) {
    Assert(!ALibraries.Empty());
    std::vector<TLibrary> Taken;
    for (TLibrary Lib : LoadOrder) {
        if (!ALibraries.Contains(Lib))
            continue;
        if (!Load(Lib)) {
            for (auto It = Taken.rbegin(); It != Taken.rend(); ++It)
                Release(*It);
            return false;
        }
        ++Status(Lib).UseCount;
        Taken.push_back(Lib);
    }
    return true;
}

bool TFFmpegLoader::Loaded(TLibrary ALibrary) const {
    const TLibraryStatus& Row = Status(ALibrary);
    return Row.Handle && Row.Fixuped;
}

bool TFFmpegLoader::Loaded(TLibraries ALibraries) const {
    Assert(!ALibraries.Empty());
    for (int I = 0; I < LibraryCount; ++I)
        if (ALibraries.Contains(static_cast<TLibrary>(I)) && !Loaded(static_cast<TLibrary>(I)))
            return false;
    return true;
}

void TFFmpegLoader::Unload(TLibrary ALibrary) {
    if (Status(ALibrary).UseCount == 0)
        Free(ALibrary);
}

void TFFmpegLoader::Unload(TLibraries ALibraries) {
    Assert(!ALibraries.Empty());
    for (auto It = std::rbegin(LoadOrder); It != std::rend(LoadOrder); ++It) {
        if (!ALibraries.Contains(*It))
            continue;
        if (Status(*It).UseCount > 0)
            Release(*It);
        else
            Free(*It);
    }
}

void TFFmpegLoader::Release(TLibrary ALibrary) {
    if (--Status(ALibrary).UseCount == 0)
        Free(ALibrary);
}

void TFFmpegLoader::Free(TLibrary ALibrary) {
    TLibraryStatus& Row = Status(ALibrary);
    if (Row.Fixuped) {
        LibraryItem(ALibrary).Unfix();
        Row.Fixuped = false;
    }
    if (Row.Handle) {
        dlclose(Row.Handle);
        Row.Handle = nullptr;
    }
}

TFFmpegLoader& FFLoader() {
    EnsureStarted();
    static TFFmpegLoader& Loader = *new TFFmpegLoader;
    return Loader;
}

void InitializeMediaUnits() {
    std::lock_guard Guard(UnitLock);
    if (UnitsStarted)
        return;
    InitializeLoggerUnit();
    // Divisions by zero give infinities, never a signal; threads started
    // later inherit this environment.
    std::fegetenv(&SavedFPEnvironment);
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
    UnitsStarted.store(true, std::memory_order_release);
    FFLoader().InstallLogger = true;
    CodecLock();
}

void FinalizeMediaUnits() {
    std::lock_guard Guard(UnitLock);
    if (!UnitsStarted)
        return;
    // Wait for a current holder to leave.
    CodecLock().Enter();
    CodecLock().Leave();
    std::fesetenv(&SavedFPEnvironment);
    State().LastErrMsg.clear();
    State().LibraryPath.clear();
    for (TLibraryStatus& Row : State().Rows)
        Row.Name.clear();
    FinalizeLoggerUnit();
    UnitsStarted.store(false, std::memory_order_release);
}
