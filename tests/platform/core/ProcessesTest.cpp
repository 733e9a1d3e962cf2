#include "platform/core/Processes.h"

#include "platform/core/Threads.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>

namespace {

struct TEnd {
    int Status;
    std::string Output;
};

// Serves the main thread's queue until the child's end arrives (bounded, so
// a hung child fails the test instead of stopping it).
std::optional<TEnd> RunChild(const std::vector<std::string>& Argv, std::string* Error = nullptr) {
    std::optional<TEnd> End;
    std::string Why;
    if (!StartProcess(
            Argv,
            [&](int Status, const std::string& Output) {
                End = TEnd{Status, Output};
            },
            Why)) {
        if (Error)
            *Error = Why;
        return std::nullopt;
    }
    const auto GiveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!End && std::chrono::steady_clock::now() < GiveUp)
        CheckSynchronize(50);
    return End;
}

} // namespace

TEST(Processes, OutputAndStatusReachTheMainThread) {
    // Both streams are collected; the status comes back as the child left.
    auto End = RunChild({"sh", "-c", "echo out; echo err >&2; exit 3"});
    ASSERT_TRUE(End);
    EXPECT_EQ(End->Status, 3);
    EXPECT_EQ(End->Output, "out\nerr\n");

    End = RunChild({"/bin/true"});
    ASSERT_TRUE(End);
    EXPECT_EQ(End->Status, 0);
    EXPECT_EQ(End->Output, "");

    // A child ended by a signal reports -1.
    End = RunChild({"sh", "-c", "kill -KILL $$"});
    ASSERT_TRUE(End);
    EXPECT_EQ(End->Status, -1);
}

TEST(Processes, InputIsEmptyAndNoDescriptorOfTheProgramIsInherited) {
    TTempDir Dir;
    // A descriptor opened without close-on-exec would leak into a child.
    const int Open = ::open(Dir.File("held").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(Open, 3);
    auto End = RunChild({"sh", "-c", "cat; ls /proc/self/fd | sort -n | tr '\\n' ' '"});
    ::close(Open);
    ASSERT_TRUE(End);
    EXPECT_EQ(End->Status, 0);
    // cat read nothing; the listing shows 0, 1, 2 and the one ls opened.
    EXPECT_EQ(End->Output, "0 1 2 3 ");
}

TEST(Processes, AProgramThatCannotStartIsAnErrorAndLeavesNoChild) {
    std::string Error;
    EXPECT_FALSE(RunChild({"ostrela-no-such-program"}, &Error));
    EXPECT_NE(Error.find("ostrela-no-such-program"), std::string::npos);
    EXPECT_FALSE(RunChild({}, &Error));
    EXPECT_FALSE(Error.empty());
    // Every child started above has been reaped.
    ASSERT_TRUE(RunChild({"true"}));
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}
