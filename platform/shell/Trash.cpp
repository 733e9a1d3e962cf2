#include "platform/shell/Trash.h"

#include "platform/core/DateTime.h"
#include "platform/core/Paths.h"
#include "platform/shell/ShellInternal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

using namespace shell_detail;

namespace {

bool IsAtOrBelow(const std::string& Path, const std::string& Folder) {
    return Path == Folder ||
           (Path.size() > Folder.size() && Path.compare(0, Folder.size(), Folder) == 0 &&
            (Folder == "/" || Path[Folder.size()] == '/'));
}

// A folder of the trash: made with mode 0700 when missing, and never
// reached through a link.
bool EnsureFolder(const std::string& Path) {
    if (::mkdir(Path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat Info {};
    if (::lstat(Path.c_str(), &Info) != 0)
        return false;
    if (!S_ISDIR(Info.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

bool EnsureTrash(const std::string& Trash) {
    const std::string Above = ExtractFileDir(Trash);
    if (!Above.empty() && !DirectoryExists(Above) && !ForceDirectories(Above))
        return false;
    return EnsureFolder(Trash) && EnsureFolder(Trash + "/files") && EnsureFolder(Trash + "/info");
}

// The highest folder above Path on the same file system.
std::string TopFolderOf(const std::string& Path, dev_t Device) {
    std::string Top = ExtractFileDir(Path);
    for (;;) {
        if (Top.empty() || Top == "/")
            return "/";
        const std::string Up = ExtractFileDir(Top).empty() ? "/" : ExtractFileDir(Top);
        struct stat Info {};
        if (::stat(Up.c_str(), &Info) != 0 || Info.st_dev != Device)
            return Top;
        Top = Up;
    }
}

// The nearest folder at or above Path that exists.
std::string ExistingFolderAbove(std::string Path) {
    while (!Path.empty() && Path != "/" && !DirectoryExists(Path))
        Path = ExtractFileDir(Path);
    return Path.empty() ? "/" : Path;
}

std::string TrashFor(const std::string& Path, dev_t Device) {
    const std::string Home = ShellEnvironment().DataHome + "/Trash";
    struct stat Info {};
    if (::stat(ExistingFolderAbove(Home).c_str(), &Info) == 0 && Info.st_dev == Device)
        return Home;
    const std::string Top = TopFolderOf(Path, Device);
    return (Top == "/" ? std::string() : Top) + "/.Trash-" + std::to_string(::getuid());
}

bool WriteAll(int File, std::string_view Text) {
    while (!Text.empty()) {
        const ssize_t Written = ::write(File, Text.data(), Text.size());
        if (Written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        Text.remove_prefix(static_cast<std::size_t>(Written));
    }
    return true;
}

bool Fail(int Code) {
    SetLastError(Code);
    return false;
}

} // namespace

std::string TrashPercentEncode(const std::string& Path) {
    static const char Hex[] = "0123456789ABCDEF";
    std::string Result;
    for (const unsigned char C : Path) {
        if ((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') ||
            C == '/' || C == '-' || C == '.' || C == '_' || C == '~')
            Result += static_cast<char>(C);
        else
            Result += {'%', Hex[C >> 4], Hex[C & 15]};
    }
    return Result;
}

bool MoveToTrash(const std::string& Path) {
    if (Path.empty() || Path[0] != '/' || Path == "/")
        return Fail(EINVAL);
    struct stat Info {};
    if (::lstat(Path.c_str(), &Info) != 0)
        return Fail(errno);
    const std::string Parent = ExtractFileDir(Path).empty() ? "/" : ExtractFileDir(Path);
    struct stat Up {};
    if (::stat(Parent.c_str(), &Up) != 0)
        return Fail(errno);
    const std::string Trash = TrashFor(Path, Info.st_dev);
    const TShellEnvironment Env = ShellEnvironment();
    if (Info.st_dev != Up.st_dev || IsMountPoint(Path) || Path == Env.Home ||
        IsAtOrBelow(Trash, Path) || IsAtOrBelow(Path, Trash))
        return Fail(EPERM);
    if (!EnsureTrash(Trash))
        return Fail(errno);

    // The info file reserves the name; "files" must not hold it either.
    const std::string Name = ExtractFileName(Path);
    for (int Number = 1; Number < 10000; ++Number) {
        const std::string Free = Number == 1 ? Name : Name + "." + std::to_string(Number);
        const std::string InfoFile = Trash + "/info/" + Free + ".trashinfo";
        const int File = ::open(InfoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (File < 0) {
            if (errno == EEXIST)
                continue;
            return Fail(errno);
        }
        const std::string Text =
            "[Trash Info]\nPath=" + TrashPercentEncode(Path) +
            "\nDeletionDate=" + FormatDateTime("yyyy-mm-dd\"T\"hh:nn:ss", Now()) + "\n";
        const bool Written = WriteAll(File, Text);
        ::close(File);
        const std::string Target = Trash + "/files/" + Free;
        if (Written &&
            ::renameat2(AT_FDCWD, Path.c_str(), AT_FDCWD, Target.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        const int Code = Written ? errno : EIO;
        ::unlink(InfoFile.c_str());
        if (Code == EEXIST)
            continue;
        return Fail(Code);
    }
    return Fail(EEXIST);
}
