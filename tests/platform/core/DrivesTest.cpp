#include "platform/core/Drives.h"

#include "tests/platform/core/FakeDriveTree.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string TypeName(TDriveType Type) {
    static const char* Names[] = {"unknown", "noroot", "removable", "fixed",
                                  "remote",  "cdrom",  "ramdisk"};
    return Names[Type];
}

// The machine every drive test looks at: a labelled system disk, a
// removable stick mounted under a name with a blank, a labelled disc, a
// network share, a RAM disk, pseudo file systems, a bind-mounted file, a
// mount point mounted twice and a damaged line.
class DrivesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tree.AddDisk("sda", false, 3);
        Tree.AddDisk("sdb", true, 1);
        Tree.AddDisk("sdc", false, 1);
        Tree.AddDisk("sr0", false, 0);
        Tree.AddLabel("system", "sda1");
        Tree.AddLabel("dvd", "sr0");
        Tree.AddLabel("archive", "sdc1");
        Tree.AddLabel("my\\x20stick", "sdb1");
        Tree.Mount("/dev/sda1", "/", "ext4");
        Tree.Mount("proc", "/proc", "proc", "/proc");
        Tree.Mount("tmpfs", "/tmp", "tmpfs", "/tmp");
        Tree.Mount("/dev/sdb1", "/media/my\\040disk", "vfat", "/media/my disk");
        Tree.Mount("/dev/sr0", "/mnt/cd", "iso9660", "/mnt/cd");
        Tree.Mount("//server/share", "/mnt/share", "cifs", "/mnt/share");
        Tree.AddFile("/hosts");
        Tree.Mount("/dev/sda2", "/hosts", "ext4");
        Tree.Mount("cgroup2", "/sys/fs/cgroup", "cgroup2", "/sys/fs/cgroup");
        Tree.Mount("tmpfs", "/run/user/1000", "tmpfs", "/run/user/1000");
        Tree.Mount("/dev/sdc1", "/run/media/u/pen", "ext4", "/run/media/u/pen");
        Tree.Mount("/dev/sda3", "/data", "ext4", "/data");
        Tree.AddLine("this line is damaged");
        Tree.AddLine("");
        Tree.Mount("/dev/sdc1", "/data", "ext4");
    }

    TFakeDriveTree Tree;
};

TEST_F(DrivesTest, ListsTheRootFirstThenTheVisibleMountPointsByPath) {
    struct TRow {
        std::string MountPoint, Type, Source, Label;
    };
    const std::vector<TRow> Expected = {
        {"/", "fixed", "/dev/sda1", "system"},
        {"/data", "fixed", "/dev/sdc1", "archive"}, // the later line wins
        {"/media/my disk", "removable", "/dev/sdb1", "my stick"},
        {"/mnt/cd", "cdrom", "/dev/sr0", "dvd"},
        {"/mnt/share", "remote", "//server/share", ""},
        {"/run/media/u/pen", "fixed", "/dev/sdc1", "archive"},
        {"/tmp", "ramdisk", "tmpfs", ""},
    };
    const std::vector<TDriveInfo> Drives = GetDrives();
    ASSERT_EQ(Drives.size(), Expected.size());
    for (std::size_t I = 0; I < Expected.size(); ++I) {
        SCOPED_TRACE(Expected[I].MountPoint);
        EXPECT_EQ(Drives[I].MountPoint, Expected[I].MountPoint);
        EXPECT_EQ(TypeName(Drives[I].Type), Expected[I].Type);
        EXPECT_EQ(Drives[I].Source, Expected[I].Source);
        EXPECT_EQ(Drives[I].Label, Expected[I].Label);
    }
}

TEST_F(DrivesTest, RootIsListedEvenWhenTheTableLacksIt) {
    TFakeDriveTree Empty;
    Empty.Mount("tmpfs", "/tmp", "tmpfs", "/tmp");
    const std::vector<TDriveInfo> Drives = GetDrives();
    ASSERT_EQ(Drives.size(), 2u);
    EXPECT_EQ(Drives[0].MountPoint, "/");
    EXPECT_EQ(Drives[0].Type, dtFixed);
    EXPECT_EQ(Drives[1].MountPoint, "/tmp");
}

TEST_F(DrivesTest, MountTableLinesKeepEveryFieldAndDecodeEscapes) {
    TTempDir Dir;
    std::ofstream(Dir.File("mounts"))
        << "/dev/sdb1 /media/a\\040b\\011c\\012d\\134e vfat rw,uid=1000 0 0\n"
        << "short line\n"
        << "src relative ext4 rw 0 0\n"
        << "x /odd\\9 ext4\n";
    const std::vector<TMountEntry> Lines = ReadMountTable(Dir.File("mounts"));
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(Lines[0].Source, "/dev/sdb1");
    EXPECT_EQ(Lines[0].MountPoint, "/media/a b\tc\nd\\e");
    EXPECT_EQ(Lines[0].FileSystem, "vfat");
    EXPECT_EQ(Lines[0].Options, "rw,uid=1000");
    // A backslash that starts no escape stays; a line without options is kept.
    EXPECT_EQ(Lines[1].MountPoint, "/odd\\9");
    EXPECT_EQ(Lines[1].Options, "");
    EXPECT_TRUE(ReadMountTable(Dir.File("missing")).empty());
}

TEST_F(DrivesTest, MountPointOfFindsTheDeepestMountHoldingThePath) {
    const std::vector<std::pair<std::string, std::string>> Cases = {
        {"/", "/"},
        {"/home/u/clip.avi", "/"},
        {"/data", "/data"},
        {"/data/x/y", "/data"},
        {"/data2/x", "/"},
        {"/media/my disk/film.mkv", "/media/my disk"},
        {"/mnt/share/a", "/mnt/share"},
        {"/proc/self", "/"}, // hidden mounts are no drives
        {"/tmp/", "/tmp"},
        {"relative/path", ""},
        {"", ""},
    };
    for (const auto& [Path, MountPoint] : Cases)
        EXPECT_EQ(MountPointOf(Path), MountPoint) << Path;
}

TEST_F(DrivesTest, VolumeLabelOfLooksOnlyAtDevices) {
    EXPECT_EQ(VolumeLabelOf("/dev/sda1"), "system");
    EXPECT_EQ(VolumeLabelOf("/dev/sda2"), "");
    EXPECT_EQ(VolumeLabelOf("/dev/missing"), "");
    EXPECT_EQ(VolumeLabelOf("//server/share"), "");
}

TEST(DrivesCaseFlags, AnOrdinaryTemporaryFolderKeepsAndTellsCases) {
    TTempDir Dir;
    bool PreserveCase = false, CaseSensitive = false;
    ASSERT_TRUE(GetVolumeCaseFlags(Dir.Path(), PreserveCase, CaseSensitive));
    EXPECT_TRUE(PreserveCase);
    EXPECT_TRUE(CaseSensitive);
    EXPECT_FALSE(GetVolumeCaseFlags(Dir.File("missing"), PreserveCase, CaseSensitive));
    EXPECT_TRUE(PreserveCase);
    EXPECT_TRUE(CaseSensitive);
}

} // namespace
