#include "tests/support/CommaLocale.h"

#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool HasDecimalComma() {
    const std::lconv* Conventions = std::localeconv();
    return Conventions && std::string(Conventions->decimal_point) == ",";
}

bool Use(const char* Name) {
    return std::setlocale(LC_NUMERIC, Name) != nullptr && HasDecimalComma();
}

// Compiles de_DE.UTF-8 into a folder shared by the test programs of this
// user; a second program waits for nothing, since the folder appears whole
// by a rename.
bool CompileLocale() {
    const std::string Base = "/tmp/ostrela-locales-" + std::to_string(getuid());
    const std::string Target = Base + "/de_DE.UTF-8";
    struct stat Info {};
    if (stat(Target.c_str(), &Info) != 0) {
        mkdir(Base.c_str(), 0755);
        const std::string Temporary = Target + "." + std::to_string(getpid());
        const std::string Command =
            "localedef -i de_DE -f UTF-8 '" + Temporary + "' >/dev/null 2>&1";
        if (std::system(Command.c_str()) != 0 ||
            std::rename(Temporary.c_str(), Target.c_str()) != 0) {
            std::system(("rm -rf '" + Temporary + "'").c_str());
            if (stat(Target.c_str(), &Info) != 0)
                return false;
        }
    }
    setenv("LOCPATH", Base.c_str(), 1);
    return true;
}

} // namespace

TCommaNumericLocale::TCommaNumericLocale() : FSaved(std::setlocale(LC_NUMERIC, nullptr)) {
    FActive = Use("de_DE.UTF-8") || Use("fr_FR.UTF-8") || (CompileLocale() && Use("de_DE.UTF-8"));
    if (!FActive)
        std::setlocale(LC_NUMERIC, FSaved.c_str());
}

TCommaNumericLocale::~TCommaNumericLocale() {
    std::setlocale(LC_NUMERIC, FSaved.c_str());
}
