#include "platform/shell/ChangeNotify.h"

#include "platform/core/Paths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr DWORD Names = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

// The change handle and a wake-up handle, closed with the object.
struct TWatch {
    TWatch(const std::string& Path, BOOL Subtree)
        : Change(FindFirstChangeNotification(Path, Subtree, Names)), WakeUp(CreateWakeUpHandle()) {}
    ~TWatch() {
        FindCloseChangeNotification(Change);
        CloseWakeUpHandle(WakeUp);
    }
    DWORD Wait() { return WaitForChangeOrWakeUp(Change, WakeUp); }
    // Answers what comes first after re-arming: a change or the wake-up.
    DWORD WaitAfterRearm() {
        FindNextChangeNotification(Change);
        SignalWakeUp(WakeUp);
        return Wait();
    }
    HANDLE Change;
    HANDLE WakeUp;
};

TEST(ChangeNotify, OnlyExistingAbsoluteFoldersCanBeWatched) {
    TTempDir Dir;
    std::ofstream(Dir.File("file"));
    ForceDirectories(Dir.File("sub"));
    const std::string Saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Dir.Path()));
    for (const std::string& Path : std::vector<std::string>{Dir.File("missing"), Dir.File("file"),
                                                            "Computer", "::{Computer}", "sub", ""})
        EXPECT_EQ(FindFirstChangeNotification(Path, FALSE, Names), INVALID_HANDLE_VALUE) << Path;
    ASSERT_TRUE(SetCurrentDir(Saved));
}

TEST(ChangeNotify, ABurstIsOneChangeAndRearmingDropsIt) {
    TTempDir Dir;
    TWatch Watch(Dir.Path(), FALSE);
    ASSERT_NE(Watch.Change, INVALID_HANDLE_VALUE);
    for (int I = 0; I < 100; ++I)
        std::ofstream(Dir.File("f" + std::to_string(I)));
    EXPECT_EQ(Watch.Wait(), WAIT_OBJECT_0);
    EXPECT_EQ(Watch.WaitAfterRearm(), WAIT_OBJECT_0 + 1);
    // The wake-up was consumed: the next change is seen as a change.
    std::ofstream(Dir.File("late"));
    EXPECT_EQ(Watch.Wait(), WAIT_OBJECT_0);
}

TEST(ChangeNotify, ASubtreeWatchSeesDeepAndNewFolders) {
    TTempDir Dir;
    ForceDirectories(Dir.File("a/b"));
    TWatch Deep(Dir.Path(), TRUE);
    TWatch Flat(Dir.Path(), FALSE);
    std::ofstream(Dir.File("a/b/deep"));
    EXPECT_EQ(Deep.Wait(), WAIT_OBJECT_0);
    EXPECT_EQ(Flat.WaitAfterRearm(), WAIT_OBJECT_0 + 1);

    EXPECT_EQ(Deep.WaitAfterRearm(), WAIT_OBJECT_0 + 1);
    ForceDirectories(Dir.File("later"));
    EXPECT_EQ(Deep.Wait(), WAIT_OBJECT_0);
    EXPECT_EQ(Deep.WaitAfterRearm(), WAIT_OBJECT_0 + 1);
    std::ofstream(Dir.File("later/file"));
    EXPECT_EQ(Deep.Wait(), WAIT_OBJECT_0);
}

TEST(ChangeNotify, BadHandlesFailInsteadOfWaitingForever) {
    EXPECT_EQ(WaitForChangeOrWakeUp(INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE), WAIT_FAILED);
    EXPECT_FALSE(FindNextChangeNotification(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(FindCloseChangeNotification(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(SignalWakeUp(nullptr));
}

} // namespace
