#include "app/ProgramServices.h"

#include "platform/core/Environment.h"
#include "platform/core/Paths.h"

namespace {

TProgramServices& Services() {
    static TProgramServices Current;
    return Current;
}

} // namespace

void SetProgramServices(const TProgramServices& Value) {
    Services() = Value;
}

const TProgramServices& ProgramServices() {
    return Services();
}

std::string ProgramFolder() {
    const std::string& Folder = Services().ProgramFolder;
    return Folder.empty() ? GetAppPath() : IncludeTrailingPathDelimiter(Folder);
}
