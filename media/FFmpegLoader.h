// The process-wide library loader, FFLoader, and the codec lock.
//
// Nothing of FFmpeg, SDL or the C library is linked: each library is loaded
// with dlopen and its entry points are bound by name into the variables of
// its binding unit (AVUtilStubs and friends). A component loads its set
// (ConverterLibs, ProbeLibs, PlayerLibs) before its first call. Each library
// counts the set loads that hold it, so one component's Unload never frees a
// library another component still uses.
//
// Start-up and end: InitializeMediaUnits (the logger's unit, then this one:
// floating point, codec lock) runs at the top of main, or on first use of
// FFLoader(). FinalizeMediaUnits runs the end steps in reverse once every
// media component is gone; the libraries stay loaded.
#pragma once

#include "media/CodecLock.h"
#include "media/MyUtils.h"
#include "platform/core/Objects.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

enum TLibrary : std::uint8_t {
    avCodec,
    avDevice,
    avFilter,
    avFormat,
    avUtil,
    swScale,
    swResample,
    myUtil,
    lbSDL
};
inline constexpr int LibraryCount = 9;

// A set of TLibrary.
class TLibraries {
public:
    constexpr TLibraries() = default;
    constexpr TLibraries(std::initializer_list<TLibrary> ALibraries) {
        for (TLibrary Lib : ALibraries)
            FBits |= Bit(Lib);
    }
    constexpr bool Contains(TLibrary ALibrary) const { return (FBits & Bit(ALibrary)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    friend constexpr bool operator==(TLibraries, TLibraries) = default;

private:
    static constexpr std::uint16_t Bit(TLibrary ALibrary) {
        return static_cast<std::uint16_t>(1u << ALibrary);
    }
    std::uint16_t FBits = 0;
};

inline constexpr TLibraries ConverterLibs{avCodec, avFilter,   avFormat, avUtil,
                                          swScale, swResample, myUtil};
inline constexpr TLibraries ProbeLibs{avCodec, avFormat, avUtil, swScale, swResample, myUtil};
inline constexpr TLibraries PlayerLibs{avCodec, avFilter,   avFormat, avUtil,
                                       swScale, swResample, myUtil,   lbSDL};
// The program's chime needs only SDL.
inline constexpr TLibraries SoundLibs{lbSDL};

using TFixupProc = void (*)(const std::string& ALibName, void* AHandle);
using TUnfixProc = void (*)();
using TEntriesProc = std::span<const TEntryPoint> (*)();

// One row of the static library table.
struct TLibraryItem {
    TLibrary Lib;
    const char* Name;
    int Version; // the major; -1 = none
    TFixupProc Fixup;
    TUnfixProc Unfix;
    TEntriesProc Entries;
};
const TLibraryItem& LibraryItem(TLibrary ALibrary);

// The run-time state of one library.
struct TLibraryStatus {
    TLibrary Lib;
    std::string Name; // a file-name override; the loader never fills it
    void* Handle = nullptr;
    bool Fixuped = false;
    int UseCount = 0; // set loads that hold the library
};

class TFFmpegLoader : public TObject {
public:
    // A successful load of avutil installs the logger's FFmpeg callback.
    bool InstallLogger = true;

    bool Load(TLibrary ALibrary);
    // Loads in dependency order and counts one use of every member; on a
    // failure gives back only what this call took and answers false.
    bool Load(TLibraries ALibraries);
    bool Loaded(TLibrary ALibrary) const;
    bool Loaded(TLibraries ALibraries) const;
    // A library that a set load still holds stays loaded.
    void Unload(TLibrary ALibrary);
    // Gives back one use of every member; a member is freed when none is left.
    void Unload(TLibraries ALibraries);

    // The last load or bind failure; a success never clears it.
    std::string LastErrMsg() const;
    std::string LibraryPath() const;
    void SetLibraryPath(const std::string& Value);
    std::string LibraryFileName(TLibrary ALibrary) const;

    // The process-wide status row of a library.
    TLibraryStatus& Status(TLibrary ALibrary);
    const TLibraryStatus& Status(TLibrary ALibrary) const;

private:
    void Release(TLibrary ALibrary);
    void Free(TLibrary ALibrary);
};

TFFmpegLoader& FFLoader();

// The start-up steps of the logger's and the loader's units, in that order;
// safe to call again. The floating-point environment is saved, every
// exception masked and rounding set to nearest.
void InitializeMediaUnits();
// The end steps in reverse order: the codec lock is waited for, the saved
// floating-point environment comes back, the logger puts FFmpeg's default
// callback back and goes. Runs after every media component is destroyed.
void FinalizeMediaUnits();
