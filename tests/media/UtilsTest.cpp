#include "media/FFBaseComponent.h"
#include "media/MyUtils.h"
#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/core/Threads.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <future>
#include <string>

TEST(MyUtils, FormatFileSizePicksTheUnitAndFollowsTheDecimalSeparator) {
    const std::pair<std::int64_t, const char*> Cases[] = {
        {0, "0 Byte"},           {1024, "1024 Byte"},  {1025, "1.00 KB"},
        {1048576, "1024.00 KB"}, {1048577, "1.00 MB"}, {1073741824, "1024.00 MB"},
        {1073741825, "1.00 GB"}, {-1, "-1 Byte"},      {INT64_C(5368709120), "5.00 GB"}};
    for (const auto& [Size, Text] : Cases)
        EXPECT_EQ(FormatFileSize(Size), Text) << Size;

    const char Saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ',';
    EXPECT_EQ(FormatFileSize(1025), "1,00 KB");
    FormatSettings.DecimalSeparator = Saved;
}

TEST(MyUtils, CutHeadTakesTheTextBeforeTheDelimiter) {
    struct TCase {
        const char* Source;
        const char* Delimiter;
        bool Remove;
        const char* Head;
        const char* Rest;
    };
    const TCase Cases[] = {{"name=>value=>x", "=>", true, "name", "value=>x"},
                           {"name=>value", "=>", false, "name", "name=>value"},
                           {"no delimiter", "=>", true, "no delimiter", ""},
                           {"no delimiter", "=>", false, "no delimiter", "no delimiter"},
                           {"=>lead", "=>", true, "", "lead"},
                           {"", ",", true, "", ""}};
    for (const TCase& Case : Cases) {
        std::string Source = Case.Source;
        EXPECT_EQ(CutHead(Source, Case.Delimiter, Case.Remove), Case.Head) << Case.Source;
        EXPECT_EQ(Source, Case.Rest) << Case.Source;
    }
}

TEST(MyUtils, GetFileSizeByNameCountsFilesOnly) {
    TTempDir Dir;
    std::ofstream(Dir.File("empty")).close();
    const std::string Sparse = Dir.File("sparse");
    std::ofstream(Sparse).close();
    ASSERT_EQ(truncate(Sparse.c_str(), INT64_C(5368709120)), 0);
    ASSERT_EQ(mkdir(Dir.File("folder").c_str(), 0700), 0);

    EXPECT_EQ(GetFileSizeByName(Dir.File("missing")), -1);
    EXPECT_EQ(GetFileSizeByName(Dir.File("empty")), 0);
    EXPECT_EQ(GetFileSizeByName(Dir.File("folder")), -1);
    EXPECT_EQ(GetFileSizeByName(Sparse), INT64_C(5368709120));
}

TEST(MyUtils, TheProgramsOwnFileAndFolder) {
    EXPECT_EQ(ExtractFileName(GetAppFileName()), "test_media");
    ASSERT_FALSE(GetAppPath().empty());
    EXPECT_EQ(GetAppPath().back(), '/');
    EXPECT_EQ(GetAppPath(), ExtractFilePath(GetAppFileName()));
}

TEST(MyUtils, UnixSecondsBecomeLocalTimeWithTheStandardOffset) {
    const char* Saved = std::getenv("TZ");
    const std::string SavedValue = Saved ? Saved : "";
    setenv("TZ", "CST-8", 1);
    EXPECT_DOUBLE_EQ(GetGMTOffset(), 1.0 / 3);
    const TDateTime Value = UnixSecondsToLocalDateTime(0);
    EXPECT_DOUBLE_EQ(Value, 25569 + 1.0 / 3);
    EXPECT_EQ(FormatDateTimeStr("yyyy-mm-dd hh:nn", Value), "1970-01-01 08:00");
    // The standard offset only: a daylight-saving rule changes nothing.
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    EXPECT_DOUBLE_EQ(GetGMTOffset(), -5.0 / 24);
    if (Saved)
        setenv("TZ", SavedValue.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(FFBaseComponent, SeekFlagsMapToFFmpegsBits) {
    const std::pair<TSeekFlags, int> Cases[] = {{{}, 0},
                                                {{sfBackward}, 1},
                                                {{sfByte}, 2},
                                                {{sfAny}, 4},
                                                {{sfFrame}, 8},
                                                {{sfBackward, sfFrame}, 9},
                                                {{sfBackward, sfByte, sfAny, sfFrame}, 15}};
    for (const auto& [Flags, Bits] : Cases)
        EXPECT_EQ(SeekFlagsToInt(Flags), Bits);
}

namespace {

// Serves the main thread's queue until the worker is done, as a waiting
// user-interface thread does.
template <typename T> T ServeUntilReady(std::future<T>& AWorker) {
    while (AWorker.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        CheckSynchronize(10);
    return AWorker.get();
}

} // namespace

TEST(CallInMainThread, OnTheMainThreadItRunsAtOnce) {
    int Runs = 0;
    CallInMainThread([&] { ++Runs; });
    EXPECT_EQ(Runs, 1);
    EXPECT_FALSE(CheckSynchronize(0));
}

TEST(CallInMainThread, FromAWorkerItRunsOnTheMainThreadAndTheWorkerWaits) {
    TThreadID RanOn = 0;
    auto Worker = std::async(std::launch::async, [&] {
        CallInMainThread([&] { RanOn = GetCurrentThreadId(); });
        return RanOn; // read after the call: the worker waited for it
    });
    EXPECT_EQ(ServeUntilReady(Worker), MainThreadID());
    EXPECT_NE(MainThreadID(), 0u);
}

TEST(CallInMainThread, TheMethodsExceptionReachesTheWorker) {
    auto Worker = std::async(std::launch::async, [] {
        try {
            CallInMainThread([] { throw EConvertError("'x' is not a valid integer value"); });
        } catch (const EConvertError& E) {
            return E.Message();
        }
        return std::string("nothing raised");
    });
    EXPECT_EQ(ServeUntilReady(Worker), "'x' is not a valid integer value");
}
