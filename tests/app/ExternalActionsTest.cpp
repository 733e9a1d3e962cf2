// The real power-off and sound commands, with harmless commands in their
// place: a command that fails reaches the failure event with its output, on
// the main thread; one that cannot start is an error at once.
#include "app/ExternalActions.h"

#include "platform/core/Threads.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

struct TFailure {
    std::string Action, Text;
};

// Serves the main thread's queue until Done() or a generous guard.
template <class F> void ServeUntil(F Done) {
    const auto GiveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!Done() && std::chrono::steady_clock::now() < GiveUp)
        CheckSynchronize(20);
}

} // namespace

TEST(ExternalActions, AFailedPowerOffReachesTheFailureEventWithItsOutput) {
    TExternalActions Actions({"sh", "-c", "echo no >&2; exit 1"});
    std::vector<TFailure> Failures;
    Actions.SetOnFailure([&](const std::string& Action, const std::string& Text) {
        Failures.push_back({Action, Text});
    });
    std::string Error;
    ASSERT_TRUE(Actions.PowerOff(Error)) << Error;
    ServeUntil([&] { return !Failures.empty(); });
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Action, "PowerOff");
    EXPECT_EQ(Failures[0].Text, "no");

    TExternalActions Missing({"ostrela-no-such-poweroff"});
    EXPECT_FALSE(Missing.PowerOff(Error));
    EXPECT_NE(Error.find("ostrela-no-such-poweroff"), std::string::npos);
}

TEST(ExternalActions, TheSoundChildGetsItsSwitchAndOnlyAFailureIsReported) {
    TTempDir Dir;
    const std::string Program = Dir.File("player.sh");
    std::ofstream(Program)
        << "#!/bin/sh\n"
           "echo \"$@\" >\"" +
               Dir.File("args.txt") +
               "\"\n"
               "[ -f \"$2\" ] || { echo \"ostrela: $2: missing\" >&2; exit 1; }\n";
    std::filesystem::permissions(Program, std::filesystem::perms::owner_all);
    std::ofstream(Dir.File("ring.wav")) << "RIFF";

    TExternalActions Actions({"true"}, Program);
    std::vector<TFailure> Failures;
    Actions.SetOnFailure([&](const std::string& Action, const std::string& Text) {
        Failures.push_back({Action, Text});
    });
    std::string Error;
    ASSERT_TRUE(Actions.PlaySound(Dir.File("ring.wav"), Error)) << Error;
    ASSERT_TRUE(Actions.PlaySound(Dir.File("gone.wav"), Error)) << Error;
    ServeUntil([&] { return !Failures.empty(); });
    // Let the good child's end arrive too, if it came last.
    for (int I = 0; I < 10; ++I)
        CheckSynchronize(20);
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Action, "PlaySound");
    EXPECT_EQ(Failures[0].Text, "ostrela: " + Dir.File("gone.wav") + ": missing");
}

TEST(ExternalActions, ACommandEndingAfterTheServiceIsGoneReportsNothing) {
    int Calls = 0;
    {
        auto Actions = std::make_unique<TExternalActions>(
            std::vector<std::string>{"sh", "-c", "sleep 0.2; exit 1"});
        Actions->SetOnFailure([&](const std::string&, const std::string&) { ++Calls; });
        std::string Error;
        ASSERT_TRUE(Actions->PowerOff(Error));
    }
    for (int I = 0; I < 30; ++I)
        CheckSynchronize(20);
    EXPECT_EQ(Calls, 0);
}
