#include "platform/core/Exceptions.h"
#include "platform/shell/ChangeNotify.h"
#include "skin/dialogs/bsShellChangeNotifier.h"
#include "tests/skin/dialogs/ShellDialogsTestSupport.h"

#include <chrono>

namespace {

// Serves synchronous calls until Done() holds; false when ten seconds pass
// without it (a test that would otherwise hang fails instead).
template <class F> bool ServeUntil(F Done) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        CheckSynchronize(20);
    }
    return true;
}

class ShellChangeNotifierTest : public TShellItemsTest {
protected:
    // A handler that counts its calls and checks where it runs.
    TThreadMethod Counter() {
        return [this] {
            ++Calls;
            if (GetCurrentThreadId() != MainThreadID())
                ++CallsOffMainThread;
        };
    }
    // Makes files in Folder until the notifier reports one: the worker
    // watches from then on, and nothing is left over.
    void WaitUntilWatching(const std::string& Folder) {
        const int Before = Calls;
        int Probe = 0;
        ASSERT_TRUE(ServeUntil([&] {
            if (Calls > Before)
                return true;
            Touch(Folder + "/probe" + std::to_string(Probe++));
            return false;
        }));
        Calls = 0;
    }

    int Calls = 0;
    int CallsOffMainThread = 0;
};

TEST_F(ShellChangeNotifierTest, AWorkerRunsOnlyWhileAHandlerIsSet) {
    TbsShellChangeNotifier Notifier(nullptr);
    EXPECT_EQ(Notifier.Root(), "/");
    EXPECT_TRUE(Notifier.WatchSubTree());
    EXPECT_EQ(NotifyFlagsOf(Notifier.NotifyFilters()),
              FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    Notifier.SetWatchSubTree(false);
    Notifier.SetRoot(Work);
    EXPECT_EQ(Notifier.Thread(), nullptr);
    Notifier.SetOnChange(Counter());
    ASSERT_NE(Notifier.Thread(), nullptr);
    WaitUntilWatching(Work);

    // A burst while the user-interface thread serves nothing is one call.
    for (int I = 0; I < 100; ++I)
        Touch(Work + "/f" + std::to_string(I));
    ASSERT_TRUE(ServeUntil([&] { return Calls > 0; }));
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(CallsOffMainThread, 0);
    EXPECT_FALSE(CheckSynchronize(0));

    // A change made while the handler runs is reported once more.
    Calls = 0;
    Notifier.SetOnChange([this] {
        if (Calls++ == 0)
            Touch(Work + "/during");
    });
    Touch(Work + "/trigger");
    ASSERT_TRUE(ServeUntil([&] { return Calls >= 2; }));
    EXPECT_FALSE(CheckSynchronize(0));
    EXPECT_EQ(Calls, 2);
}

TEST_F(ShellChangeNotifierTest, RootsCompareByTheirKind) {
    TbsShellChangeNotifier Notifier(nullptr);
    Notifier.SetRoot("rfDesktop");
    Notifier.SetRoot("RFDESKTOP");
    EXPECT_EQ(Notifier.Root(), "rfDesktop");
    ForceDirectories(Work + "/Clips");
    ForceDirectories(Work + "/clips");
    Notifier.SetRoot(Work + "/Clips");
    Notifier.SetRoot(Work + "/clips");
    EXPECT_EQ(Notifier.Root(), Work + "/clips");
}

TEST_F(ShellChangeNotifierTest, ANewRootIsWatchedByTheSameWorker) {
    ForceDirectories(Work + "/a");
    ForceDirectories(Work + "/b");
    TbsShellChangeNotifier Notifier(nullptr);
    Notifier.SetWatchSubTree(false);
    Notifier.SetRoot(Work + "/a");
    Notifier.SetOnChange(Counter());
    TbsShellChangeThread* Worker = Notifier.Thread();
    WaitUntilWatching(Work + "/a");
    Notifier.SetRoot(Work + "/b");
    WaitUntilWatching(Work + "/b");
    EXPECT_EQ(Notifier.Thread(), Worker);
    // The old folder is no longer watched.
    Touch(Work + "/a/late");
    Touch(Work + "/b/late");
    ASSERT_TRUE(ServeUntil([&] { return Calls > 0; }));
    EXPECT_EQ(Calls, 1);
}

TEST_F(ShellChangeNotifierTest, DestroyingNeverCallsAHandlerThatIsGone) {
    // Destroyed while the worker waits.
    {
        TbsShellChangeNotifier Notifier(nullptr);
        Notifier.SetRoot(Work);
        Notifier.SetOnChange(Counter());
        WaitUntilWatching(Work);
    }
    EXPECT_EQ(Calls, 0);
    // Destroyed after the worker saw a change, before the call was served.
    {
        auto Notifier = std::make_unique<TbsShellChangeNotifier>(nullptr);
        Notifier->SetRoot(Work);
        Notifier->SetOnChange(Counter());
        WaitUntilWatching(Work);
        Touch(Work + "/unserved");
        Notifier.reset();
    }
    EXPECT_EQ(Calls, 0);
    EXPECT_FALSE(CheckSynchronize(0));
}

TEST_F(ShellChangeNotifierTest, AWorkerThatEndedOnItsOwnIsLeftAlone) {
    const std::vector<std::string> Roots = {Work + "/missing", "Computer", "relative"};
    for (const std::string& Root : Roots) {
        TbsShellChangeNotifier Notifier(nullptr);
        Notifier.SetRoot(Root);
        Notifier.SetOnChange(Counter());
        ASSERT_TRUE(ServeUntil([&] { return Notifier.Thread()->Finished(); })) << Root;
        // New options restart nothing and touch nothing freed.
        Notifier.SetNotifyFilters({nfSizeChange});
        Notifier.SetOnChange(Counter());
        EXPECT_TRUE(Notifier.Thread()->Finished());
    }
    EXPECT_EQ(Calls, 0);
}

TEST_F(ShellChangeNotifierTest, AHandlerThatRaisesEndsTheWorker) {
    TbsShellChangeNotifier Notifier(nullptr);
    Notifier.SetRoot(Work);
    Notifier.SetOnChange([this] {
        ++Calls;
        throw Exception("handler failed");
    });
    int Probe = 0;
    ASSERT_TRUE(ServeUntil([&] {
        if (Notifier.Thread()->Finished())
            return true;
        if (Calls == 0)
            Touch(Work + "/probe" + std::to_string(Probe++));
        return false;
    }));
    EXPECT_EQ(Calls, 1);
}

} // namespace
