#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/gdi/Graphics.h"
#include "skin/dialogs/bsSkinFilePaths.h"
#include "tests/platform/core/FakeDriveTree.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace {

TEST(FilePaths, CutFirstFolderReplacesOneFolderAtATime) {
    const std::vector<std::pair<std::string, std::string>> Cases = {
        {"/a/b/c", "/.../b/c"},
        {".../b/c", ".../c"},
        {"/.../b/c", "/.../c"},
        {"c", ""},
        {"/", ""},
        {".a", ""},
        {"a/", ".../"},
        {"", ""},
    };
    for (auto [Input, Expected] : Cases) {
        std::string S = Input;
        CutFirstFolder(S);
        EXPECT_EQ(S, Expected) << Input;
    }
}

TEST(FilePaths, JoinAndCountUseTheSlash) {
    EXPECT_EQ(JoinFolderAndName("/", "x"), "/x");
    EXPECT_EQ(JoinFolderAndName("/a", "x"), "/a/x");
    EXPECT_EQ(JoinFolderAndName("/a/", "x"), "/a/x");
    EXPECT_EQ(CountBackslashes("/a/b/c"), 3);
    EXPECT_EQ(CountBackslashes("a\\b"), 0);
}

TEST(FilePaths, IsFolderPathAnswersOnlyForExistingFolders) {
    TTempDir Dir;
    std::ofstream(Dir.File("file"));
    ASSERT_EQ(::symlink("missing", Dir.File("dangling").c_str()), 0);
    EXPECT_TRUE(IsFolderPath(Dir.Path()));
    EXPECT_FALSE(IsFolderPath(Dir.File("file")));
    EXPECT_FALSE(IsFolderPath(Dir.File("dangling")));
    EXPECT_FALSE(IsFolderPath(""));
}

TEST(FilePaths, FitPathToWidthCutsLeadingFoldersDownToTheName) {
    TBitmap Bitmap;
    Bitmap.SetWidth(8);
    Bitmap.SetHeight(8);
    TCanvas* Canvas = Bitmap.Canvas();
    const std::string Path = "/home/user/videos/clip.avi";
    EXPECT_EQ(FitPathToWidth(Path, Canvas, 1), "clip.avi");
    EXPECT_EQ(FitPathToWidth(Path, Canvas, Canvas->TextWidth(Path)), Path);
    const std::string Short = "/.../videos/clip.avi";
    EXPECT_EQ(FitPathToWidth(Path, Canvas, Canvas->TextWidth(Short)), Short);
    EXPECT_EQ(FitPathToWidth("clip.avi", Canvas, 1), "clip.avi");
}

TEST(FilePaths, VolumeTextsTakeTheirCaseFromTheControl) {
    TFakeDriveTree Tree;
    Tree.AddDisk("sda", false, 1);
    Tree.AddLabel("System", "sda1");
    Tree.Mount("/dev/sda1", "/", "ext4");
    Tree.Mount("//Server/Share", "/mnt/share", "cifs", "/mnt/share");
    Tree.Mount("tmpfs", "/tmp", "tmpfs", "/tmp");
    EXPECT_EQ(GetVolumeLabelText("/", tcLowerCase), "[system]");
    EXPECT_EQ(GetVolumeLabelText("/", tcUpperCase), "[SYSTEM]");
    EXPECT_EQ(GetVolumeLabelText("/tmp", tcLowerCase), "[]");
    EXPECT_EQ(GetVolumeLabelText("/nowhere", tcLowerCase), "[]");
    EXPECT_EQ(GetNetworkVolumeText("/mnt/share", tcLowerCase), "//server/share");
    EXPECT_EQ(GetNetworkVolumeText("/mnt/share", tcUpperCase), "//SERVER/SHARE");
    EXPECT_EQ(GetNetworkVolumeText("/", tcUpperCase), "[SYSTEM]");
}

// A tree T with T/a (holding x.txt), T/sub and a file T/name; the current
// folder is watched by a second thread the whole time.
class SplitFileSpecTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForceDirectories(Dir.File("a"));
        ForceDirectories(Dir.File("sub"));
        std::ofstream(Dir.File("name"));
        std::ofstream(Dir.File("a/x.txt"));
        Start = GetCurrentDir();
        Watcher = std::thread([this] {
            while (!Stop)
                if (GetCurrentDir() != Start)
                    Moved = true;
        });
    }
    void TearDown() override {
        Stop = true;
        Watcher.join();
        EXPECT_FALSE(Moved) << "the current folder changed";
        EXPECT_EQ(GetCurrentDir(), Start);
    }

    TTempDir Dir;
    std::string Start;
    std::atomic<bool> Stop = false, Moved = false;
    std::thread Watcher;
};

TEST_F(SplitFileSpecTest, SplitsWithoutLeavingTheCurrentFolder) {
    const std::string T = Dir.Path();
    struct TCase {
        std::string Text, DirPart, FilePart;
    };
    const std::vector<TCase> Cases = {
        {T + "/a/*.txt", T + "/a", "*.txt"},
        {"[sub]", T + "/sub", ""},
        {"name", T, "name"},
        {"a/x.txt", T + "/a", "x.txt"},
        {"a", T + "/a", ""},
        {T + "/a/", T + "/a", ""},
        {"/", "/", ""},
        {"", T, ""},
    };
    for (const TCase& Case : Cases) {
        std::string Drive, DirPart, FilePart;
        SplitFileSpec(Case.Text, T, Drive, DirPart, FilePart);
        EXPECT_EQ(DirPart, Case.DirPart) << Case.Text;
        EXPECT_EQ(FilePart, Case.FilePart) << Case.Text;
        EXPECT_EQ(Drive, MountPointOf(DirPart)) << Case.Text;
    }
}

TEST_F(SplitFileSpecTest, FoldersThatCannotBeEnteredRaise) {
    const std::string T = Dir.Path();
    const std::vector<std::pair<std::string, std::string>> Cases = {
        {"nosuch", T},   {T + "/nosuch/*.txt", T}, {"name/x", T},
        {"[nosuch]", T}, {"a/x.txt", ""},          {"a/x.txt", "relative"},
    };
    for (const auto& [Text, Base] : Cases) {
        std::string Drive, DirPart, FilePart;
        EXPECT_THROW(SplitFileSpec(Text, Base, Drive, DirPart, FilePart), EInOutError)
            << Text << " from " << Base;
    }
    std::string Drive, DirPart, FilePart;
    try {
        SplitFileSpec("nosuch", T, Drive, DirPart, FilePart);
    } catch (const EInOutError& E) {
        EXPECT_EQ(E.ErrorCode(), ENOENT);
    }
}

} // namespace
