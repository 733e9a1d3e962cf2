// Shows what the loader finds: each library set is loaded in turn and the
// nine libraries are listed with their file names and bound entry points.
//
//   probe_libs                         the table, for a new user
//   probe_libs --library-path DIR      the same, searching DIR first
//   probe_libs --library-path DIR --where
//       loads ConverterLibs and prints, per FFmpeg library, the file that
//       one of its bound entries lives in (the loader test reads this).
#include "media/FFmpegLoader.h"
#include "platform/core/Threads.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const LibraryNames[LibraryCount] = {"avCodec",    "avDevice", "avFilter",
                                                "avFormat",   "avUtil",   "swScale",
                                                "swResample", "myUtil",   "lbSDL"};

void PrintSet(const char* ASetName, TLibraries ASet) {
    TFFmpegLoader& Loader = FFLoader();
    const bool Ok = Loader.Load(ASet);
    std::printf("%s: %s\n", ASetName, Ok ? "loaded" : "FAILED");
    for (int I = 0; I < LibraryCount; ++I) {
        const auto Lib = static_cast<TLibrary>(I);
        const auto Entries = LibraryItem(Lib).Entries();
        std::printf("  %-10s %-20s %-9s %3d/%-3zu bound\n", LibraryNames[I],
                    Loader.LibraryFileName(Lib).c_str(), Loader.Loaded(Lib) ? "loaded" : "-",
                    BoundEntryCount(Entries), Entries.size());
    }
    std::printf("  LastErrMsg: \"%s\"\n\n", Loader.LastErrMsg().c_str());
    if (Ok)
        Loader.Unload(ASet);
}

int PrintWhere() {
    if (!FFLoader().Load(ConverterLibs)) {
        std::printf("error %s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    for (TLibrary Lib : {avUtil, swResample, swScale, avCodec, avFormat, avFilter}) {
        Dl_info Info{};
        void* Entry = *LibraryItem(Lib).Entries()[0].Var;
        if (!dladdr(Entry, &Info) || !Info.dli_fname)
            return 1;
        std::printf("where %s %s\n", FFLoader().LibraryFileName(Lib).c_str(), Info.dli_fname);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    InitializeMediaUnits();
    bool Where = false;
    for (int I = 1; I < argc; ++I) {
        if (std::strcmp(argv[I], "--library-path") == 0 && I + 1 < argc)
            FFLoader().SetLibraryPath(argv[++I]);
        else if (std::strcmp(argv[I], "--where") == 0)
            Where = true;
    }
    if (Where)
        return PrintWhere();
    PrintSet("ConverterLibs", ConverterLibs);
    PrintSet("ProbeLibs", ProbeLibs);
    PrintSet("PlayerLibs", PlayerLibs);
    return 0;
}
