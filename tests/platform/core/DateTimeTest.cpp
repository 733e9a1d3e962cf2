#include "platform/core/DateTime.h"

#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace {

// Sets TZ for one test and puts the old value back.
class TTimeZoneGuard {
public:
    explicit TTimeZoneGuard(const char* Zone) {
        if (const char* old = std::getenv("TZ"))
            FSaved = old;
        setenv("TZ", Zone, 1);
        tzset();
    }
    ~TTimeZoneGuard() {
        if (FSaved)
            setenv("TZ", FSaved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> FSaved;
};

class TFormatSettingsGuard {
public:
    ~TFormatSettingsGuard() { FormatSettings = FSaved; }

private:
    TFormatSettings FSaved = FormatSettings;
};

TDateTime At(int Year, int Month, int Day, int Hour = 0, int Min = 0, int Sec = 0, int MSec = 0) {
    return EncodeDate(Year, Month, Day) + EncodeTime(Hour, Min, Sec, MSec);
}

} // namespace

TEST(DateTime, EncodeCountsDaysFromTheEpochOfTheClassLibrary) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, InvalidPartsRaiseConvertError) {
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2000, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    int y = 0, m = 0, d = 0;
    EXPECT_THROW(DecodeDate(1e300, y, m, d), EConvertError);
}

TEST(DateTime, DecodeGivesThePartsBack) {
    struct TRow {
        TDateTime Value;
        int Year, Month, Day, Hour, Min, Sec, MSec;
    };
    const std::vector<TRow> rows = {
        {At(2024, 2, 29, 23, 59, 58, 999), 2024, 2, 29, 23, 59, 58, 999},
        {At(1, 1, 1), 1, 1, 1, 0, 0, 0, 0},
        {At(9999, 12, 31, 12), 9999, 12, 31, 12, 0, 0, 0},
        // Just below midnight rounds to the next day, not to 24:00.
        {At(2020, 12, 31) + 0.99999999999, 2021, 1, 1, 0, 0, 0, 0},
        // A negative value keeps its date part; the time is the absolute fraction.
        {-1.25, 1899, 12, 29, 6, 0, 0, 0},
    };
    for (const TRow& row : rows) {
        int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
        DecodeDate(row.Value, year, month, day);
        DecodeTime(row.Value, hour, min, sec, msec);
        EXPECT_EQ(
            (std::vector<int>{year, month, day, hour, min, sec, msec}),
            (std::vector<int>{row.Year, row.Month, row.Day, row.Hour, row.Min, row.Sec, row.MSec}))
            << row.Value;
    }
}

TEST(DateTime, FormatDateTimeTokens) {
    const TDateTime morning = At(1970, 1, 1, 8);
    const TDateTime afternoon = At(2009, 7, 5, 13, 4, 9, 42);
    struct TRow {
        const char* Fmt;
        TDateTime Value;
        const char* Text;
    };
    const std::vector<TRow> rows = {
        {"yyyy-mm-dd hh:nn:ss", morning, "1970-01-01 08:00:00"},
        {"hhnnss", afternoon, "130409"},
        {"hh:mm", afternoon, "13:04"},
        {"h m", afternoon, "13 4"},
        {"mm/dd/yy", afternoon, "07-05-09"},
        {"d.m.yyyy", afternoon, "5.7.2009"},
        {"YYYY-MM-DD HH:NN:SS", afternoon, "2009-07-05 13:04:09"},
        {"s.z|ss.zzz", afternoon, "9.42|09.042"},
        {"'yyyy' \"hh\" yyyy", afternoon, "yyyy hh 2009"},
        {"'unclosed", afternoon, "unclosed"},
        // Letters of plain words are tokens too; quotes keep them.
        {"stats", afternoon, "9tat9"},
        {"'stats'_hhnnss", afternoon, "stats_130409"},
        {"c", afternoon, "2009-07-05 13:04:09"},
        {"c", At(2009, 7, 5), "2009-07-05"},
        {"", afternoon, ""},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(FormatDateTime(row.Fmt, row.Value), row.Text) << row.Fmt;

    std::string result = "old";
    DateTimeToString(result, "yyyy", morning);
    EXPECT_EQ(result, "1970");
}

TEST(DateTime, DateTimeToStrLeavesOutAMidnightTime) {
    EXPECT_EQ(DateTimeToStr(At(2024, 5, 6)), "2024-05-06");
    EXPECT_EQ(DateTimeToStr(At(2024, 5, 6, 0, 0, 1)), "2024-05-06 00:00:01");
}

TEST(DateTime, SeparatorsAndPatternsComeFromFormatSettings) {
    TFormatSettingsGuard guard;
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = '.';
    FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    FormatSettings.LongTimeFormat = "hh:nn";
    EXPECT_EQ(DateTimeToStr(At(2024, 5, 6, 7, 8)), "06/05/2024 07.08");
    // A pattern that names 'c' itself must not recurse.
    FormatSettings.ShortDateFormat = "c";
    EXPECT_EQ(FormatDateTime("c", At(2024, 5, 6)), "");
}

TEST(DateTime, TimeZoneBiasIsTheStandardOffset) {
    {
        TTimeZoneGuard zone("Asia/Shanghai");
        EXPECT_EQ(GetTimeZoneBias(), -480);
        EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", FileTimeToDateTime(0)),
                  "1970-01-01 08:00:00");
    }
    {
        TTimeZoneGuard zone("UTC");
        EXPECT_EQ(GetTimeZoneBias(), 0);
        EXPECT_DOUBLE_EQ(FileTimeToDateTime(86400 + 43200, 250000000),
                         25570.5 + 250.0 / MSecsPerDay);
    }
    {
        // Daylight saving never enters the bias, even for a summer date.
        TTimeZoneGuard zone("America/New_York");
        EXPECT_EQ(GetTimeZoneBias(), 300);
        // A file time, by contrast, shows the wall-clock time of its moment.
        EXPECT_EQ(FormatDateTime("hh:nn", FileTimeToDateTime(1720180800)), "08:00");
    }
}

TEST(DateTime, NowLiesBetweenTwoReadingsOfTheSystemClock) {
    const TDateTime before = FileTimeToDateTime(std::time(nullptr));
    const TDateTime now = Now();
    const TDateTime after = FileTimeToDateTime(std::time(nullptr) + 1);
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
    // Midnight may fall between the two calls.
    const TDateTime today = Date();
    const double dayOfNow = static_cast<double>(static_cast<long long>(Now()));
    EXPECT_TRUE(today == dayOfNow || today + 1 == dayOfNow) << today << " " << dayOfNow;
}
