#include "platform/core/Paths.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Masks.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

std::size_t LastDelimiter(std::string_view Path) {
    return Path.rfind(PathDelim);
}

// The position of the extension's dot, or npos when the last part has none.
std::size_t ExtensionDot(std::string_view FileName) {
    std::size_t dot = FileName.rfind('.');
    std::size_t delimiter = LastDelimiter(FileName);
    if (dot == std::string_view::npos)
        return dot;
    if (delimiter != std::string_view::npos && dot < delimiter)
        return std::string_view::npos;
    return dot;
}

} // namespace

std::string IncludeTrailingPathDelimiter(std::string_view Path) {
    std::string result(Path);
    if (result.empty() || result.back() != PathDelim)
        result += PathDelim;
    return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view Path) {
    if (!Path.empty() && Path.back() == PathDelim)
        Path.remove_suffix(1);
    return std::string(Path);
}

std::string ExtractFilePath(std::string_view FileName) {
    std::size_t delimiter = LastDelimiter(FileName);
    return delimiter == std::string_view::npos ? std::string()
                                               : std::string(FileName.substr(0, delimiter + 1));
}

std::string ExtractFileDir(std::string_view FileName) {
    std::size_t delimiter = LastDelimiter(FileName);
    if (delimiter == std::string_view::npos)
        return "";
    // The root keeps its delimiter: the folder of "/a" is "/".
    return std::string(FileName.substr(0, delimiter == 0 ? 1 : delimiter));
}

std::string ExtractFileName(std::string_view FileName) {
    std::size_t delimiter = LastDelimiter(FileName);
    return std::string(delimiter == std::string_view::npos ? FileName
                                                           : FileName.substr(delimiter + 1));
}

std::string ExtractFileExt(std::string_view FileName) {
    std::size_t dot = ExtensionDot(FileName);
    return dot == std::string_view::npos ? std::string() : std::string(FileName.substr(dot));
}

std::string ChangeFileExt(std::string_view FileName, std::string_view Extension) {
    std::size_t dot = ExtensionDot(FileName);
    std::string result(FileName.substr(0, dot == std::string_view::npos ? FileName.size() : dot));
    result += Extension;
    return result;
}

std::string ExpandFileName(std::string_view FileName) {
    if (FileName.empty())
        return "";
    std::string path(FileName);
    if (path.front() != PathDelim)
        path = IncludeTrailingPathDelimiter(GetCurrentDir()) + path;
    std::vector<std::string_view> parts;
    std::string_view rest(path);
    while (!rest.empty()) {
        std::size_t delimiter = rest.find(PathDelim);
        std::string_view part = rest.substr(0, delimiter);
        rest =
            delimiter == std::string_view::npos ? std::string_view() : rest.substr(delimiter + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (std::string_view part : parts) {
        result += PathDelim;
        result += part;
    }
    if (result.empty() || path.back() == PathDelim)
        result += PathDelim;
    return result;
}

bool FileExists(const std::string& FileName) {
    struct stat info {};
    return !FileName.empty() && ::stat(FileName.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& Directory) {
    struct stat info {};
    return !Directory.empty() && ::stat(Directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SameFile(const std::string& A, const std::string& B) {
    struct stat a {};
    struct stat b {};
    if (A.empty() || B.empty() || ::stat(A.c_str(), &a) != 0 || ::stat(B.c_str(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool ForceDirectories(const std::string& Directory) {
    if (Directory.empty())
        return false;
    std::string folder = Directory.size() > 1 ? ExcludeTrailingPathDelimiter(Directory) : Directory;
    if (DirectoryExists(folder))
        return true;
    std::string parent = ExtractFileDir(folder);
    if (!parent.empty() && parent != folder && !ForceDirectories(parent))
        return false;
    ::mkdir(folder.c_str(), 0777);
    return DirectoryExists(folder);
}

bool CreateDir(const std::string& Directory) {
    return ::mkdir(Directory.c_str(), 0777) == 0;
}

bool RemoveDir(const std::string& Directory) {
    return ::rmdir(Directory.c_str()) == 0;
}

bool DeleteFile(const std::string& FileName) {
    return ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
    // A rename never replaces an existing file: nothing is lost by a name
    // that happens to be taken.
    if (::renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system cannot refuse a replacement itself.
    struct stat info {};
    if (::lstat(NewName.c_str(), &info) == 0)
        return false;
    return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

bool RenameFileReplacing(const std::string& OldName, const std::string& NewName) {
    return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

std::string GetCurrentDir() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return "";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

bool SetCurrentDir(const std::string& Directory) {
    return ::chdir(Directory.c_str()) == 0;
}

// File search

struct TSearchState {
    struct TCloseDir {
        void operator()(DIR* Dir) const { ::closedir(Dir); }
    };
    std::unique_ptr<DIR, TCloseDir> Dir;
    std::string Folder;
    std::string Mask;
    int Attr = 0;
    bool IsRoot = false;
};

namespace {

// File names often hold brackets ("[HD] clip.avi"), and a search for such a
// name must find that file, not read "[HD]" as a set of two letters or fail
// on an unclosed bracket. So a search mask has only '*' and '?'; a bracket
// stands for itself ("[[]" is the set of the one character '[').
std::string LiteralBrackets(const std::string& Mask) {
    std::string result;
    for (const char c : Mask)
        result += c == '[' ? std::string("[[]") : std::string(1, c);
    return result;
}

// Fills Rec from the entry Name; false when the entry vanished meanwhile.
bool DescribeEntry(const std::string& Folder, const std::string& Name, TSearchRec& Rec) {
    std::string full = Folder + Name;
    struct stat info {};
    if (::lstat(full.c_str(), &info) != 0)
        return false;
    int attr = 0;
    if (S_ISLNK(info.st_mode)) {
        attr |= faSymLink;
        // A link is described by what it points to, when that exists.
        struct stat target {};
        if (::stat(full.c_str(), &target) == 0)
            info = target;
    }
    if (S_ISDIR(info.st_mode))
        attr |= faDirectory;
    else if (S_ISREG(info.st_mode))
        attr |= faArchive;
    else if (!S_ISLNK(info.st_mode))
        attr |= faSysFile;
    if (Name.front() == '.' && Name != "." && Name != "..")
        attr |= faHidden;
    if (::access(full.c_str(), W_OK) != 0)
        attr |= faReadOnly;
    Rec.Name = Name;
    Rec.Attr = attr;
    Rec.Size = (attr & faDirectory) ? 0 : static_cast<std::int64_t>(info.st_size);
    // A time the calendar cannot hold (some file systems store years far
    // beyond 9999) must not stop the listing of a whole folder.
    try {
        Rec.TimeStamp = FileTimeToDateTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    } catch (const EConvertError&) {
        Rec.TimeStamp = 0;
    }
    return true;
}

int NextMatch(TSearchRec& F) {
    TSearchState* state = F.FindHandle.get();
    if (!state || !state->Dir)
        return EBADF;
    constexpr int Filtered = faHidden | faSysFile | faDirectory;
    for (;;) {
        errno = 0;
        dirent* entry = ::readdir(state->Dir.get());
        if (!entry)
            return errno != 0 ? errno : ENOENT;
        std::string name = entry->d_name;
        if (state->IsRoot && (name == "." || name == ".."))
            continue;
        if (!MatchesMask(name, state->Mask))
            continue;
        if (!DescribeEntry(state->Folder, name, F))
            continue;
        if ((F.Attr & Filtered & ~state->Attr) == 0)
            return 0;
    }
}

} // namespace

int FindFirst(const std::string& Path, int Attr, TSearchRec& F) {
    FindClose(F);
    auto state = std::make_shared<TSearchState>();
    state->Folder = ExtractFilePath(Path);
    state->Mask = LiteralBrackets(ExtractFileName(Path));
    state->Attr = Attr;
    std::string folder = state->Folder.empty() ? std::string(".") : state->Folder;
    state->Dir.reset(::opendir(folder.c_str()));
    if (!state->Dir)
        return errno;
    struct stat folderInfo {
    }, rootInfo{};
    state->IsRoot = ::stat(folder.c_str(), &folderInfo) == 0 && ::stat("/", &rootInfo) == 0 &&
                    folderInfo.st_dev == rootInfo.st_dev && folderInfo.st_ino == rootInfo.st_ino;
    F.FindHandle = std::move(state);
    int result = NextMatch(F);
    if (result != 0)
        FindClose(F);
    return result;
}

int FindNext(TSearchRec& F) {
    return NextMatch(F);
}

void FindClose(TSearchRec& F) {
    F.FindHandle.reset();
}
