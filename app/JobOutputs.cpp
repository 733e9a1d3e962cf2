#include "app/JobOutputs.h"

#include "catalogue/ProfileWorkingSet.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace {

bool Exists(const std::string& Path) {
    struct stat Info {};
    return ::lstat(Path.c_str(), &Info) == 0;
}

std::string FolderOf(const std::string& Path) {
    const std::size_t Slash = Path.rfind('/');
    return Slash == std::string::npos ? std::string() : Path.substr(0, Slash);
}

} // namespace

std::string PartialOutputPath(const std::string& Final) {
    const std::string Name = FileNamePart(Final);
    const std::string Ext = FileNameExtension(Name);
    return Final.substr(0, Final.size() - Ext.size()) + ".part" + Ext;
}

std::string ResolveOutputName(const std::string& Folder, const std::string& FileName,
                              bool Overwrite, const std::vector<std::string>& OtherRows) {
    const std::string Ext = FileNameExtension(FileName);
    const std::string Base = Folder + "/" + FileName.substr(0, FileName.size() - Ext.size());
    auto Free = [&](const std::string& Path) {
        if (std::find(OtherRows.begin(), OtherRows.end(), Path) != OtherRows.end())
            return false;
        if (Exists(PartialOutputPath(Path)))
            return false;
        return !Exists(Path) || (Overwrite && !DirectoryExists(Path));
    };
    std::string Candidate = Base + Ext;
    for (int N = 1; !Free(Candidate); ++N)
        Candidate = Base + "_" + std::to_string(N) + Ext;
    return Candidate;
}

bool MovePartialIntoPlace(const std::string& Final, bool Overwrite,
                          const std::vector<std::string>& OtherRows, std::string& Placed,
                          std::string& Error) {
    const std::string Partial = PartialOutputPath(Final);
    if (Overwrite) {
        if (RenameFileReplacing(Partial, Final)) {
            Placed = Final;
            return true;
        }
        Error = SysErrorMessage(errno);
        return false;
    }
    std::string Target = Final;
    // A file may take the name between the check and the rename; the rename
    // never replaces it, and the next free name is tried.
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        if (RenameFile(Partial, Target)) {
            Placed = Target;
            return true;
        }
        if (errno != EEXIST && !Exists(Target)) {
            Error = SysErrorMessage(errno);
            return false;
        }
        Target = ResolveOutputName(FolderOf(Final), FileNamePart(Final), false, OtherRows);
    }
    Error = SysErrorMessage(EEXIST);
    return false;
}
