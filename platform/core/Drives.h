// The mounted file systems, which stand in for the drives a file browser
// lists: "/" first, then the mount points a user would visit, each with a
// drive type and a volume label.
//
// Everything is read afresh on each call from three places of the system (the
// mount table, the label links and the block-device folder); tests point
// them at a fake tree through SetDriveEnvironment.
#pragma once

#include <string>
#include <vector>

// The traditional numbering, 0 to 6.
enum TDriveType { dtUnknown, dtNoRootDir, dtRemovable, dtFixed, dtRemote, dtCDROM, dtRAMDisk };

// One line of the mount table, its octal escapes ("\040" ...) decoded.
struct TMountEntry {
    std::string Source, MountPoint, FileSystem, Options;
};

// The lines of a mount table in their order; malformed lines are skipped.
// A table that cannot be read gives no lines.
std::vector<TMountEntry> ReadMountTable(const std::string& FileName);

struct TDriveInfo {
    std::string MountPoint;
    TDriveType Type = dtUnknown;
    std::string Source;
    std::string Label;
};

struct TDriveEnvironment {
    std::string MountTable = "/proc/self/mounts";
    std::string LabelFolder = "/dev/disk/by-label";
    std::string BlockFolder = "/sys/class/block";
    // Put in front of mount points and device paths when they are looked at
    // on disk; empty for the real system.
    std::string RootFolder;
};

// The process-wide environment; safe to read from any thread.
void SetDriveEnvironment(const TDriveEnvironment& Environment);
TDriveEnvironment DriveEnvironment();

// "/" first, then the other mount points by path; pseudo file systems,
// mounts under /proc, /sys, /dev and /run (but /run/media), and mount
// points that are not folders are left out. A mount point listed twice
// counts once, with its last entry.
std::vector<TDriveInfo> GetDrives();

// The mount point of GetDrives() that holds an absolute path ("/" at
// least); empty for an empty or relative path.
std::string MountPointOf(const std::string& Path);

// nfs, cifs, sshfs and the other network file systems that count as remote.
bool IsRemoteFileSystem(const std::string& FileSystem);

// The label of a "/dev/..." source, from the label links; empty when none.
std::string VolumeLabelOf(const std::string& Source);

// Whether names on the volume holding Path keep their letter case and tell
// letter cases apart. False (both flags true) when the volume cannot be
// asked.
bool GetVolumeCaseFlags(const std::string& Path, bool& PreserveCase, bool& CaseSensitive);
