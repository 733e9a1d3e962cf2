// ostrela-skingen: makes the program's stored skins at build time. Usage:
//   ostrela-skingen --out FOLDER            the eleven compressed frames, an
//                                           index of display names and the
//                                           source that embeds them
//   ostrela-skingen --folders FOLDER        each skin as a skin folder
//   ostrela-skingen --contact-sheet FOLDER  pictures of every skin
// A failing check prints what failed and ends with status 1.
#include "platform/core/Threads.h"
#include "skin/stored/generator/ContactSheet.h"
#include "skin/stored/generator/Generator.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 3) {
        std::fprintf(stderr, "usage: ostrela-skingen --out|--folders|--contact-sheet FOLDER\n");
        return 2;
    }
    const std::string Mode = argv[1], Folder = argv[2];
    try {
        std::string Errors;
        if (Mode == "--out")
            Errors = skingen::WriteStoredSkins(Folder);
        else if (Mode == "--folders")
            Errors = skingen::WriteSkinFolders(Folder);
        else if (Mode == "--contact-sheet")
            return skingen::WriteContactSheets(argv[0], Folder);
        else {
            std::fprintf(stderr, "ostrela-skingen: unknown mode %s\n", Mode.c_str());
            return 2;
        }
        if (!Errors.empty()) {
            std::fprintf(stderr, "ostrela-skingen: the stored skins fail their checks:\n%s",
                         Errors.c_str());
            return 1;
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "ostrela-skingen: %s\n", E.what());
        return 1;
    }
    return 0;
}
