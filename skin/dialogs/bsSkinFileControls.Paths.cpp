#include "platform/core/Drives.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "platform/gdi/Graphics.h"
#include "skin/dialogs/bsSkinFilePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace {

std::string InCase(const std::string& Text, TTextCase TextCase) {
    return TextCase == tcUpperCase ? UpperCase(Text) : LowerCase(Text);
}

const TDriveInfo* FindDrive(const std::vector<TDriveInfo>& Drives, const std::string& MountPoint) {
    for (const TDriveInfo& Drive : Drives)
        if (Drive.MountPoint == MountPoint)
            return &Drive;
    return nullptr;
}

// What entering the folder would take: it exists, is a folder and may be
// searched by us.
void CheckEnterable(const std::string& Folder) {
    struct stat Info {};
    if (Folder.empty() || Folder[0] != PathDelim)
        throw EInOutError(ENOENT);
    if (::stat(Folder.c_str(), &Info) != 0)
        throw EInOutError(errno);
    if (!S_ISDIR(Info.st_mode))
        throw EInOutError(ENOTDIR);
    if (::access(Folder.c_str(), X_OK) != 0)
        throw EInOutError(errno);
}

bool IsFileIn(const std::string& Folder, const std::string& Name) {
    struct stat Info {};
    return ::stat(JoinFolderAndName(Folder, Name).c_str(), &Info) == 0 && !S_ISDIR(Info.st_mode);
}

} // namespace

bool IsFolderPath(const std::string& Path) {
    return !Path.empty() && DirectoryExists(Path);
}

std::string JoinFolderAndName(const std::string& Folder, const std::string& Name) {
    if (!Folder.empty() && Folder.back() == PathDelim)
        return Folder + Name;
    return Folder + PathDelim + Name;
}

void CutFirstFolder(std::string& S) {
    if (S == "/") {
        S.clear();
        return;
    }
    const bool Rooted = !S.empty() && S[0] == PathDelim;
    if (Rooted)
        S.erase(0, 1);
    // A leading "." is the ".../" a previous cut left.
    if (!S.empty() && S[0] == '.')
        S.erase(0, std::min<std::size_t>(4, S.size()));
    const std::size_t Slash = S.find(PathDelim);
    if (Slash != std::string::npos)
        S = ".../" + S.substr(Slash + 1);
    else
        S.clear();
    if (Rooted)
        S.insert(0, 1, PathDelim);
}

std::string FitPathToWidth(const std::string& FileName, TCanvas* Canvas, int MaxWidth) {
    std::string Result = FileName;
    std::string Dir = ExtractFilePath(FileName);
    const std::string Name = ExtractFileName(FileName);
    while (!Dir.empty() && Canvas->TextWidth(Result) > MaxWidth) {
        if (Dir == "/.../")
            Dir = ".../";
        else
            CutFirstFolder(Dir);
        Result = Dir + Name;
    }
    return Result;
}

std::string GetVolumeLabelText(const std::string& MountPoint, TTextCase TextCase) {
    const std::vector<TDriveInfo> Drives = GetDrives();
    const TDriveInfo* Drive = FindDrive(Drives, MountPoint);
    return "[" + InCase(Drive ? Drive->Label : std::string(), TextCase) + "]";
}

std::string GetNetworkVolumeText(const std::string& MountPoint, TTextCase TextCase) {
    const std::vector<TDriveInfo> Drives = GetDrives();
    const TDriveInfo* Drive = FindDrive(Drives, MountPoint);
    if (Drive && Drive->Type == dtRemote)
        return InCase(Drive->Source, TextCase);
    return GetVolumeLabelText(MountPoint, TextCase);
}

void SplitFileSpec(const std::string& Text, const std::string& Base, std::string& Drive,
                   std::string& DirPart, std::string& FilePart) {
    DirPart = Text;
    if (DirPart.size() >= 2 && DirPart.front() == '[' && DirPart.back() == ']')
        DirPart = DirPart.substr(1, DirPart.size() - 2);
    FilePart = ExtractFileName(DirPart);
    if (DirPart.size() == FilePart.size() + 1)
        DirPart = "/";
    else if (DirPart.size() > FilePart.size())
        DirPart.erase(DirPart.size() - FilePart.size() - 1);
    else
        DirPart = Base.empty() ? std::string("/") : Base;
    // A relative folder is taken from Base, never from the process's
    // current folder.
    if (DirPart[0] != PathDelim)
        DirPart = Base.empty() ? std::string() : JoinFolderAndName(Base, DirPart);
    CheckEnterable(DirPart);
    if (!FilePart.empty() && FilePart.find_first_of("*?") == std::string::npos &&
        !IsFileIn(DirPart, FilePart)) {
        const std::string Folder = JoinFolderAndName(DirPart, FilePart);
        CheckEnterable(Folder);
        DirPart = Folder;
        FilePart.clear();
    }
    Drive = MountPointOf(DirPart);
}

std::string EnterableFolder(const std::string& Folder) {
    CheckEnterable(Folder);
    std::unique_ptr<char, decltype(&std::free)> Real(::realpath(Folder.c_str(), nullptr),
                                                     &std::free);
    if (!Real)
        throw EInOutError(errno);
    return Real.get();
}

int CountBackslashes(const std::string& Path) {
    return static_cast<int>(std::count(Path.begin(), Path.end(), PathDelim));
}
