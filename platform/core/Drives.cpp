#include "platform/core/Drives.h"

#include "platform/core/Paths.h"

#include <dirent.h>
#include <sys/statfs.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string_view>

namespace {

std::mutex EnvironmentLock;
TDriveEnvironment CurrentEnvironment;

bool IsOctalDigit(char C) {
    return C >= '0' && C <= '7';
}

// The kernel writes blanks, tabs, newlines and backslashes of mount-table
// fields as "\ooo".
std::string DecodeOctalEscapes(std::string_view Text) {
    std::string Result;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '\\' && I + 3 < Text.size() && IsOctalDigit(Text[I + 1]) &&
            IsOctalDigit(Text[I + 2]) && IsOctalDigit(Text[I + 3])) {
            const int Code =
                (Text[I + 1] - '0') * 64 + (Text[I + 2] - '0') * 8 + (Text[I + 3] - '0');
            if (Code <= 0xFF && Code != 0) {
                Result += static_cast<char>(Code);
                I += 3;
                continue;
            }
        }
        Result += Text[I];
    }
    return Result;
}

int HexValue(char C) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// The label links write unsafe characters as "\xNN".
std::string DecodeHexEscapes(std::string_view Text) {
    std::string Result;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '\\' && I + 3 < Text.size() && Text[I + 1] == 'x') {
            const int High = HexValue(Text[I + 2]);
            const int Low = HexValue(Text[I + 3]);
            if (High >= 0 && Low >= 0 && (High | Low) != 0) {
                Result += static_cast<char>(High * 16 + Low);
                I += 3;
                continue;
            }
        }
        Result += Text[I];
    }
    return Result;
}

bool StartsWith(std::string_view Text, std::string_view Head) {
    return Text.substr(0, Head.size()) == Head;
}

// Path is Folder itself or lies below it.
bool IsAtOrBelow(std::string_view Path, std::string_view Folder) {
    if (Folder == "/")
        return StartsWith(Path, "/");
    return Path == Folder || (StartsWith(Path, Folder) && Path[Folder.size()] == '/');
}

bool IsPseudoFileSystem(const std::string& Type) {
    static const std::array<std::string_view, 21> Pseudo = {
        "proc",      "sysfs",  "devtmpfs",    "devpts",     "securityfs", "cgroup",   "cgroup2",
        "pstore",    "bpf",    "tracefs",     "debugfs",    "configfs",   "fusectl",  "mqueue",
        "hugetlbfs", "autofs", "binfmt_misc", "rpc_pipefs", "nsfs",       "efivarfs", "selinuxfs"};
    return std::find(Pseudo.begin(), Pseudo.end(), Type) != Pseudo.end();
}

bool IsHiddenPlace(const std::string& MountPoint) {
    if (IsAtOrBelow(MountPoint, "/proc") || IsAtOrBelow(MountPoint, "/sys") ||
        IsAtOrBelow(MountPoint, "/dev"))
        return true;
    return IsAtOrBelow(MountPoint, "/run") && !IsAtOrBelow(MountPoint, "/run/media");
}

std::string RealPath(const std::string& Path) {
    char Buffer[PATH_MAX];
    if (!::realpath(Path.c_str(), Buffer))
        return {};
    return Buffer;
}

std::string ReadFirstLine(const std::string& FileName) {
    std::ifstream In(FileName);
    std::string Line;
    std::getline(In, Line);
    return Line;
}

// The device a "/dev/..." source names, as the system sees it on disk.
std::string DevicePath(const TDriveEnvironment& Env, const std::string& Source) {
    return RealPath(Env.RootFolder + Source);
}

// The block folder keeps "removable" on the whole disk; a partition's entry
// is a link into the disk's own folder and holds a "partition" file.
bool IsRemovableDevice(const TDriveEnvironment& Env, const std::string& Source) {
    if (!StartsWith(Source, "/dev/"))
        return false;
    const std::string Device = DevicePath(Env, Source);
    const std::string Name = ExtractFileName(Device.empty() ? Source : Device);
    if (Name.empty())
        return false;
    const std::string Entry = Env.BlockFolder + "/" + Name;
    if (ReadFirstLine(Entry + "/removable") == "1")
        return true;
    if (!FileExists(Entry + "/partition"))
        return false;
    const std::string Real = RealPath(Entry);
    return !Real.empty() && ReadFirstLine(ExtractFilePath(Real) + "removable") == "1";
}

TDriveType DriveTypeOf(const TDriveEnvironment& Env, const TMountEntry& Entry) {
    if (Entry.FileSystem == "iso9660" || Entry.FileSystem == "udf")
        return dtCDROM;
    if (IsRemovableDevice(Env, Entry.Source))
        return dtRemovable;
    if (Entry.FileSystem == "tmpfs" || Entry.FileSystem == "ramfs")
        return dtRAMDisk;
    if (IsRemoteFileSystem(Entry.FileSystem))
        return dtRemote;
    return dtFixed;
}

std::string LabelOf(const TDriveEnvironment& Env, const std::string& Source) {
    if (!StartsWith(Source, "/dev/"))
        return {};
    const std::string Device = DevicePath(Env, Source);
    if (Device.empty())
        return {};
    DIR* Folder = ::opendir(Env.LabelFolder.c_str());
    if (!Folder)
        return {};
    std::string Label;
    while (const dirent* Item = ::readdir(Folder)) {
        const std::string Name = Item->d_name;
        if (Name == "." || Name == "..")
            continue;
        if (RealPath(Env.LabelFolder + "/" + Name) == Device) {
            Label = DecodeHexEscapes(Name);
            break;
        }
    }
    ::closedir(Folder);
    return Label;
}

TDriveInfo MakeDrive(const TDriveEnvironment& Env, const TMountEntry& Entry) {
    return {Entry.MountPoint, DriveTypeOf(Env, Entry), Entry.Source, LabelOf(Env, Entry.Source)};
}

} // namespace

bool IsRemoteFileSystem(const std::string& FileSystem) {
    static const std::array<std::string_view, 10> Remote = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "afs", "ceph", "glusterfs", "fuse.sshfs"};
    return std::find(Remote.begin(), Remote.end(), FileSystem) != Remote.end();
}

std::vector<TMountEntry> ReadMountTable(const std::string& FileName) {
    std::vector<TMountEntry> Result;
    std::ifstream In(FileName);
    std::string Line;
    while (std::getline(In, Line)) {
        std::istringstream Fields(Line);
        std::string Source, MountPoint, FileSystem, Options;
        if (!(Fields >> Source >> MountPoint >> FileSystem))
            continue;
        Fields >> Options;
        TMountEntry Entry{DecodeOctalEscapes(Source), DecodeOctalEscapes(MountPoint),
                          DecodeOctalEscapes(FileSystem), DecodeOctalEscapes(Options)};
        if (!StartsWith(Entry.MountPoint, "/"))
            continue;
        Result.push_back(std::move(Entry));
    }
    return Result;
}

void SetDriveEnvironment(const TDriveEnvironment& Environment) {
    std::lock_guard Guard(EnvironmentLock);
    CurrentEnvironment = Environment;
}

TDriveEnvironment DriveEnvironment() {
    std::lock_guard Guard(EnvironmentLock);
    return CurrentEnvironment;
}

std::vector<TDriveInfo> GetDrives() {
    const TDriveEnvironment Env = DriveEnvironment();
    // The later line of a mount point is the one on top.
    std::map<std::string, TMountEntry> Top;
    for (TMountEntry& Entry : ReadMountTable(Env.MountTable))
        Top[Entry.MountPoint] = std::move(Entry);

    std::vector<TDriveInfo> Result;
    const auto Root = Top.find("/");
    Result.push_back(Root != Top.end() ? MakeDrive(Env, Root->second)
                                       : TDriveInfo{"/", dtFixed, {}, {}});
    // std::map walks its keys in byte order.
    for (const auto& [MountPoint, Entry] : Top) {
        if (MountPoint == "/" || IsPseudoFileSystem(Entry.FileSystem) || IsHiddenPlace(MountPoint))
            continue;
        if (!DirectoryExists(Env.RootFolder + MountPoint))
            continue;
        Result.push_back(MakeDrive(Env, Entry));
    }
    return Result;
}

std::string MountPointOf(const std::string& Path) {
    if (!StartsWith(Path, "/"))
        return {};
    std::string Best = "/";
    for (const TDriveInfo& Drive : GetDrives())
        if (Drive.MountPoint.size() > Best.size() && IsAtOrBelow(Path, Drive.MountPoint))
            Best = Drive.MountPoint;
    return Best;
}

std::string VolumeLabelOf(const std::string& Source) {
    return LabelOf(DriveEnvironment(), Source);
}

bool GetVolumeCaseFlags(const std::string& Path, bool& PreserveCase, bool& CaseSensitive) {
    PreserveCase = true;
    CaseSensitive = true;
    struct statfs Info {};
    if (::statfs(Path.c_str(), &Info) != 0)
        return false;
    constexpr unsigned long FatMagic = 0x4d44;
    constexpr unsigned long ExFatMagic = 0x2011BAB0;
    constexpr unsigned long NtfsMagic = 0x5346544e;
    constexpr unsigned long Ntfs3Magic = 0x7366746e;
    const auto Type = static_cast<unsigned long>(Info.f_type);
    if (Type == FatMagic || Type == ExFatMagic || Type == NtfsMagic || Type == Ntfs3Magic)
        CaseSensitive = false;
    return true;
}
