#include "media/AVCodecStubs.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/Threads.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// The logger with a recording handler, on the logging thread; avutil bound.
class LoggerTest : public testing::Test {
protected:
    TFFLogger* Logger = nullptr;

    void SetUp() override {
        ASSERT_TRUE(FFLoader().Load(ConverterLibs)) << FFLoader().LastErrMsg();
        Logger = GetFFLogger();
        Logger->SetTriggerEventInMainThread(false);
        Logger->SetLogLevel(llInfo);
        Logger->OnLog = [this](TObject* Sender, TThreadID AThreadID, TLogLevel ALevel,
                               const std::string& AMsg) {
            std::lock_guard Guard(FLock);
            FLines.push_back({Sender, AThreadID, ALevel, AMsg});
            FDeliveredOn.push_back(GetCurrentThreadId());
        };
    }

    void TearDown() override {
        Logger->OnLog = nullptr;
        Logger->SetTriggerEventInMainThread(true);
        Logger->SetLogLevel(llInfo);
        FFLoader().Unload(ConverterLibs);
    }

    std::vector<TLogInfo> Lines() {
        std::lock_guard Guard(FLock);
        return FLines;
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> Result;
        for (const TLogInfo& Line : Lines())
            Result.push_back(Line.LogMsg);
        return Result;
    }
    std::vector<TThreadID> DeliveredOn() {
        std::lock_guard Guard(FLock);
        return FDeliveredOn;
    }

private:
    std::mutex FLock;
    std::vector<TLogInfo> FLines;
    std::vector<TThreadID> FDeliveredOn;
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(LoggerTest, PiecesOfALineFromOneThreadArriveAsOneLine) {
    avutil::av_log(nullptr, AV_LOG_INFO, "abc");
    EXPECT_TRUE(Lines().empty());
    avutil::av_log(nullptr, AV_LOG_INFO, "def\n");
    const auto Got = Lines();
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_EQ(Got[0].LogMsg, "abcdef");
    EXPECT_EQ(Got[0].LogLevel, llInfo);
    EXPECT_EQ(Got[0].ThreadID, GetCurrentThreadId());
    EXPECT_EQ(Got[0].Sender, Logger);
}

TEST_F(LoggerTest, AContextPrefixesOnlyTheFirstLineOfACall) {
    AVCodecContext* Context =
        avcodec::avcodec_alloc_context3(avcodec::avcodec_find_decoder(AV_CODEC_ID_MPEG4));
    ASSERT_NE(Context, nullptr);
    avutil::av_log(Context, AV_LOG_WARNING, "a\nb\n");
    const auto Got = Lines();
    ASSERT_EQ(Got.size(), 2u);
    char Expected[64];
    std::snprintf(Expected, sizeof(Expected), "[mpeg4 @ %p]a", static_cast<void*>(Context));
    EXPECT_EQ(Got[0].LogMsg, Expected);
    EXPECT_EQ(Got[1].LogMsg, "b");
    EXPECT_EQ(Got[0].LogLevel, llWarning);
    EXPECT_EQ(Got[1].LogLevel, llWarning);
    avcodec::avcodec_free_context(&Context);
}

TEST_F(LoggerTest, ThreadsLoggingHalfLinesAtOnceKeepTheirOwnLines) {
    constexpr int ThreadCount = 8;
    constexpr int Rounds = 200;
    std::vector<AVCodecContext*> Contexts(ThreadCount);
    for (auto& Context : Contexts)
        Context = avcodec::avcodec_alloc_context3(nullptr);
    std::vector<TThreadID> Ids(ThreadCount);
    std::vector<std::thread> Threads;
    for (int T = 0; T < ThreadCount; ++T)
        Threads.emplace_back([&, T] {
            Ids[T] = GetCurrentThreadId();
            for (int R = 0; R < Rounds; ++R) {
                avutil::av_log(Contexts[T], AV_LOG_INFO, "thread %d ", T);
                avutil::av_log(nullptr, AV_LOG_INFO, "round %d\n", R);
            }
        });
    for (auto& Thread : Threads)
        Thread.join();

    const auto Got = Lines();
    ASSERT_EQ(Got.size(), static_cast<std::size_t>(ThreadCount * Rounds));
    std::vector<int> NextRound(ThreadCount, 0);
    for (const TLogInfo& Line : Got) {
        int T = 0;
        while (T < ThreadCount && Ids[T] != Line.ThreadID)
            ++T;
        ASSERT_LT(T, ThreadCount) << Line.LogMsg;
        char Expected[128];
        std::snprintf(Expected, sizeof(Expected), "[NULL @ %p]thread %d round %d",
                      static_cast<void*>(Contexts[T]), T, NextRound[T]++);
        ASSERT_EQ(Line.LogMsg, Expected);
    }
    for (auto& Context : Contexts)
        avcodec::avcodec_free_context(&Context);
}

TEST_F(LoggerTest, ALongMessageArrivesWhole) {
    std::string Long(5000, 'x');
    for (std::size_t I = 0; I < Long.size(); I += 100)
        Long[I] = static_cast<char>('a' + I / 100 % 26);
    avutil::av_log(nullptr, AV_LOG_INFO, "%s\n", Long.c_str());
    EXPECT_EQ(Messages(), Strings{Long});
}

TEST_F(LoggerTest, BytesBecomeTextValidUtf8IsKept) {
    avutil::av_log(nullptr, AV_LOG_INFO, "\xE9\n");
    avutil::av_log(nullptr, AV_LOG_INFO, "中\n");
    avutil::av_log(nullptr, AV_LOG_INFO, "\xE4\xB8 \xC3\xA9\xFF\n");
    EXPECT_EQ(Messages(), (Strings{"é", "中", "ä\u00B8 é\u00FF"}));
}

TEST_F(LoggerTest, MessagesAboveTheLevelCostNothingAndLeaveNothingPending) {
    Logger->SetLogLevel(llError);
    EXPECT_EQ(avutil::av_log_get_level(), AV_LOG_ERROR);
    avutil::av_log(nullptr, AV_LOG_INFO, "dropped ");
    avutil::av_log(nullptr, AV_LOG_INFO, "dropped too\n");
    avutil::av_log(nullptr, AV_LOG_ERROR, "kept\n");
    EXPECT_EQ(Messages(), Strings{"kept"});
}

TEST_F(LoggerTest, OptLogLevelTakesWordsAndNumbers) {
    const std::pair<const char*, TLogLevel> Cases[] = {{"VERBOSE", llVerbose}, {"quiet", llQuiet},
                                                       {"20", llError},        {"-100", llQuiet},
                                                       {"99", llDebug},        {"$10", llError}};
    for (const auto& [Text, Level] : Cases) {
        Logger->SetLogLevel(llInfo);
        Logger->OptLogLevel(Text);
        EXPECT_EQ(Logger->LogLevel(), Level) << Text;
        EXPECT_EQ(avutil::av_log_get_level(), LogLevelToAV(Level)) << Text;
    }
    EXPECT_THROW(Logger->OptLogLevel("x"), EConvertError);
}

TEST(LogLevels, ConversionsFollowFFmpegsEightStepLevels) {
    const std::pair<int, TLogLevel> Cases[] = {
        {-100, llQuiet}, {-8, llQuiet}, {-7, llPanic},   {0, llPanic}, {7, llPanic},
        {8, llFatal},    {16, llError}, {24, llWarning}, {32, llInfo}, {39, llInfo},
        {40, llVerbose}, {48, llDebug}, {56, llDebug}};
    for (const auto& [Level, Expected] : Cases)
        EXPECT_EQ(AVToLogLevel(Level), Expected) << Level;
    for (int Ordinal = llQuiet; Ordinal <= llDebug; ++Ordinal)
        EXPECT_EQ(AVToLogLevel(LogLevelToAV(static_cast<TLogLevel>(Ordinal))), Ordinal);
}

TEST_F(LoggerTest, ComponentMessagesPassByLevelAndVerboseAlmostAlways) {
    Logger->Log(nullptr, llVerbose, "verbose at info");
    Logger->Log(nullptr, llDebug, "debug at info");
    Logger->Log(nullptr, llWarning, "%s %d", {"warning", 4});
    // A dropped message is not formatted: this format would raise.
    EXPECT_NO_THROW(Logger->Log(nullptr, llDebug, "%d", {"not a number"}));
    Logger->SetLogLevel(llQuiet);
    for (int Level = llQuiet; Level <= llDebug; ++Level)
        Logger->Log(Logger, static_cast<TLogLevel>(Level), Format("level %d", {Level}));
    EXPECT_EQ(Messages(), (Strings{"verbose at info", "warning 4", "level 0"}));
}

TEST_F(LoggerTest, ThereIsOnlyOneLogger) {
    try {
        TFFLogger Second(nullptr);
        FAIL() << "a second logger was made";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Allow creating only one instance of TFFLogger.");
    }
    EXPECT_EQ(GetFFLogger(), Logger);
}

TEST_F(LoggerTest, LoadingAvutilAgainInstallsTheCallbackOnceMore) {
    Logger->SetLogLevel(llWarning);
    ASSERT_TRUE(FFLoader().Load(avUtil));
    EXPECT_EQ(avutil::av_log_get_level(), LogLevelToAV(llWarning));
    avutil::av_log(nullptr, AV_LOG_WARNING, "once\n");
    EXPECT_EQ(Messages(), Strings{"once"});
}

// FFmpeg's messages come through C code (a codec that logs inside its own
// opening may hold FFmpeg's locks): a failing handler must not unwind
// through it, and the lines after the failing one still arrive.
TEST_F(LoggerTest, AFailingHandlerNeverUnwindsThroughFFmpeg) {
    Strings Got;
    Logger->OnLog = [&](TObject*, TThreadID, TLogLevel, const std::string& AMsg) {
        if (AMsg == "fails")
            throw Exception("handler failed");
        Got.push_back(AMsg);
    };
    EXPECT_NO_THROW(avutil::av_log(nullptr, AV_LOG_INFO, "fails\nnext\n"));
    EXPECT_NO_THROW(avutil::av_log(nullptr, AV_LOG_INFO, "later\n"));
    EXPECT_EQ(Got, (Strings{"next", "later"}));
}

// A worker that logs while it holds the codec lock must not wait for the
// user-interface thread, which may be waiting for that very lock.
TEST_F(LoggerTest, ALineLoggedUnderTheCodecLockIsQueuedAndArrivesOnTheMainThread) {
    Logger->SetTriggerEventInMainThread(true);
    std::promise<void> Holding;
    std::promise<void> MainWaits;
    auto Worker = std::async(std::launch::async, [&] {
        TCodecLockGuard Guard(CodecLock());
        Holding.set_value();
        MainWaits.get_future().wait();
        avutil::av_log(nullptr, AV_LOG_INFO, "under the lock\n");
    });
    Holding.get_future().wait();
    MainWaits.set_value();
    {
        TCodecLockGuard Guard(CodecLock()); // waits for the worker to leave
    }
    while (Worker.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        CheckSynchronize(10);
    Worker.get();
    while (CheckSynchronize(0)) {
    }
    EXPECT_EQ(Messages(), Strings{"under the lock"});
    EXPECT_EQ(DeliveredOn(), std::vector<TThreadID>{MainThreadID()});
}

TEST_F(LoggerTest, AWorkersLineRunsOnTheMainThreadWhileTheWorkerWaits) {
    Logger->SetTriggerEventInMainThread(true);
    auto Worker = std::async(std::launch::async, [&] {
        avutil::av_log(nullptr, AV_LOG_INFO, "from a worker\n");
        return Messages().size(); // the line was delivered before av_log returned
    });
    while (Worker.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        CheckSynchronize(10);
    EXPECT_EQ(Worker.get(), 1u);
    EXPECT_EQ(DeliveredOn(), std::vector<TThreadID>{MainThreadID()});
}

// After the end steps FFmpeg's own callback is back: a late message must not
// reach the freed logger.
TEST(LoggerEnd, FFmpegCanStillLogAfterTheEndSteps) {
    ASSERT_TRUE(FFLoader().Load(ConverterLibs)) << FFLoader().LastErrMsg();
    GetFFLogger()->OnLog = [](TObject*, TThreadID, TLogLevel, const std::string&) {
        ADD_FAILURE() << "the freed logger was called";
    };
    avutil::av_log(nullptr, AV_LOG_QUIET, "pending ");
    FinalizeMediaUnits();
    avutil::av_log(nullptr, AV_LOG_QUIET, "after the end\n");
    InitializeMediaUnits();
    FFLoader().Unload(ConverterLibs);
}

TEST(LoggerEnd, InstallingTheCallbackNeedsAvutil) {
    if (FFLoader().Loaded(avUtil))
        GTEST_SKIP() << "avutil is held by another test of this process";
    EXPECT_THROW(GetFFLogger()->InstallAVLogCallback(), EAssertionFailed);
}
