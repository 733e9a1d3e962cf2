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

bool SameName(const std::string& A, const std::string& B) {
    return A == B || SameFile(A, B);
}

bool NamedIn(const std::string& Path, const std::vector<std::string>& Names) {
    return std::any_of(Names.begin(), Names.end(),
                       [&Path](const std::string& Name) { return SameName(Path, Name); });
}

// Whether writing Path could destroy an input or another row's work, live or
// finished.
bool IsTakenName(const std::string& Path, const TTakenNames& Taken) {
    if (NamedIn(Path, Taken.Inputs) || NamedIn(Path, Taken.Outputs))
        return true;
    return std::any_of(Taken.Outputs.begin(), Taken.Outputs.end(), [&Path](const std::string& Row) {
        return SameName(Path, PartialOutputPath(Row));
    });
}

} // namespace

std::string PartialOutputPath(const std::string& Final) {
    const std::string Name = FileNamePart(Final);
    const std::string Ext = FileNameExtension(Name);
    return Final.substr(0, Final.size() - Ext.size()) + ".part" + Ext;
}

std::string ResolveOutputName(const std::string& Folder, const std::string& FileName,
                              bool Overwrite, const TTakenNames& Taken) {
    const std::string Ext = FileNameExtension(FileName);
    const std::string Base = Folder + "/" + FileName.substr(0, FileName.size() - Ext.size());
    auto Free = [&](const std::string& Path) {
        // The job writes its partial path first and its final path last:
        // neither may reach a file it must not destroy.
        const std::string Partial = PartialOutputPath(Path);
        if (IsTakenName(Path, Taken) || IsTakenName(Partial, Taken))
            return false;
        if (Exists(Partial))
            return false;
        return !Exists(Path) || (Overwrite && !DirectoryExists(Path));
    };
    std::string Candidate = Base + Ext;
    for (int N = 1; !Free(Candidate); ++N)
        Candidate = Base + "_" + std::to_string(N) + Ext;
    return Candidate;
}

bool MovePartialIntoPlace(const std::string& Final, bool Overwrite, const TTakenNames& Taken,
                          std::string& Placed, std::string& Error) {
    const std::string Partial = PartialOutputPath(Final);
    // Overwriting gives up an older output, never an input or another row's
    // work.
    if (Overwrite && !IsTakenName(Final, Taken)) {
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
        Target = ResolveOutputName(FolderOf(Final), FileNamePart(Final), false, Taken);
    }
    Error = SysErrorMessage(EEXIST);
    return false;
}
