#include "platform/core/DateTime.h"

#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"

#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t Year, int Month, int Day) {
    Year -= Month <= 2;
    const std::int64_t era = (Year >= 0 ? Year : Year - 399) / 400;
    const std::int64_t yearOfEra = Year - era * 400;
    const std::int64_t dayOfYear = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t Days, int& Year, int& Month, int& Day) {
    Days += 719468;
    const std::int64_t era = (Days >= 0 ? Days : Days - 146096) / 146097;
    const std::int64_t dayOfEra = Days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    Day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    Month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    Year = static_cast<int>(yearOfEra + era * 400 + (Month <= 2));
}

// A date-time split into whole days and milliseconds of the day, rounded to
// the nearest millisecond so that 23:59:59.9999 becomes the next midnight.
// As in the class library, the time of a negative value is its absolute
// fraction.
void SplitDateTime(TDateTime Value, std::int64_t& Days, int& MSec) {
    const auto total = static_cast<std::int64_t>(std::llround(Value * MSecsPerDay));
    Days = total / MSecsPerDay;
    const std::int64_t rest = total % MSecsPerDay;
    MSec = static_cast<int>(rest < 0 ? -rest : rest);
}

std::string TwoDigits(int Value) {
    std::string text = std::to_string(Value);
    return text.size() < 2 ? "0" + text : text;
}

std::string Padded(int Value, std::size_t Width) {
    std::string text = std::to_string(Value);
    return text.size() < Width ? std::string(Width - text.size(), '0') + text : text;
}

char UpperAscii(char C) {
    return (C >= 'a' && C <= 'z') ? char(C - 'a' + 'A') : C;
}

// The parts of one value that the formatter reads.
struct TDateTimeParts {
    int Year, Month, Day, Hour, Min, Sec, MSec;
};

void AppendFormatted(std::string& Out, std::string_view Fmt, const TDateTimeParts& Parts,
                     int Depth) {
    char lastLetter = 0;
    std::size_t pos = 0;
    while (pos < Fmt.size()) {
        const char c = Fmt[pos];
        if (c == '"' || c == '\'') {
            const std::size_t close = Fmt.find(c, pos + 1);
            const std::size_t end = close == std::string_view::npos ? Fmt.size() : close;
            Out.append(Fmt.substr(pos + 1, end - pos - 1));
            pos = end == Fmt.size() ? end : end + 1;
            continue;
        }
        char token = UpperAscii(c);
        std::size_t run = 1;
        while (pos + run < Fmt.size() && UpperAscii(Fmt[pos + run]) == token)
            ++run;
        if (token >= 'A' && token <= 'Z') {
            // "m" right after an hour means minutes, even across separators.
            if (token == 'M' && lastLetter == 'H')
                token = 'N';
            lastLetter = token;
        }
        switch (token) {
        case 'Y':
            Out += run <= 2 ? TwoDigits(Parts.Year % 100) : Padded(Parts.Year, 4);
            break;
        case 'M':
        case 'D':
        case 'H':
        case 'N':
        case 'S': {
            const int value = token == 'M'   ? Parts.Month
                              : token == 'D' ? Parts.Day
                              : token == 'H' ? Parts.Hour
                              : token == 'N' ? Parts.Min
                                             : Parts.Sec;
            run = run >= 2 ? 2 : 1;
            Out += run == 2 ? TwoDigits(value) : std::to_string(value);
            break;
        }
        case 'Z':
            run = run >= 3 ? 3 : 1;
            Out += run == 3 ? Padded(Parts.MSec, 3) : std::to_string(Parts.MSec);
            break;
        case 'C':
            run = 1;
            // A 'c' inside the settings' own patterns must not recurse forever.
            if (Depth > 0)
                break;
            AppendFormatted(Out, FormatSettings.ShortDateFormat, Parts, Depth + 1);
            if (Parts.Hour != 0 || Parts.Min != 0 || Parts.Sec != 0 || Parts.MSec != 0) {
                Out += ' ';
                AppendFormatted(Out, FormatSettings.LongTimeFormat, Parts, Depth + 1);
            }
            break;
        case '/':
            run = 1;
            Out += FormatSettings.DateSeparator;
            break;
        case ':':
            run = 1;
            Out += FormatSettings.TimeSeparator;
            break;
        default:
            run = 1;
            Out += c;
            break;
        }
        pos += run;
    }
}

TDateTime FromTm(const std::tm& Tm, int MSec) {
    return EncodeDate(Tm.tm_year + 1900, Tm.tm_mon + 1, Tm.tm_mday) +
           EncodeTime(Tm.tm_hour, Tm.tm_min, Tm.tm_sec > 59 ? 59 : Tm.tm_sec, MSec);
}

} // namespace

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return Month == 2 && IsLeapYear(Year) ? 29 : days[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInMonth(Year, Month))
        return false;
    Value = static_cast<double>(DaysFromCivil(Year, Month, Day)) + UnixDateDelta;
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value) {
    if (Hour < 0 || Hour >= 24 || Min < 0 || Min >= 60 || Sec < 0 || Sec >= 60 || MSec < 0 ||
        MSec >= 1000)
        return false;
    Value = (((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / static_cast<double>(MSecsPerDay);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime value = 0;
    if (!TryEncodeDate(Year, Month, Day, value))
        throw EConvertError("Invalid argument to date encode");
    return value;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
    TDateTime value = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, value))
        throw EConvertError("Invalid argument to time encode");
    return value;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
    if (!std::isfinite(Value) || std::fabs(Value) > 3e6)
        throw EConvertError("Invalid argument to date decode");
    std::int64_t days = 0;
    int msec = 0;
    SplitDateTime(Value, days, msec);
    CivilFromDays(days - static_cast<std::int64_t>(UnixDateDelta), Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
    if (!std::isfinite(Value) || std::fabs(Value) > 3e6)
        throw EConvertError("Invalid argument to time decode");
    std::int64_t days = 0;
    int msec = 0;
    SplitDateTime(Value, days, msec);
    Hour = msec / 3600000;
    Min = msec / 60000 % 60;
    Sec = msec / 1000 % 60;
    MSec = msec % 1000;
}

TDateTime Now() {
    std::timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return FileTimeToDateTime(now.tv_sec, now.tv_nsec);
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    const TDateTime now = Now();
    return now - std::trunc(now);
}

std::string FormatDateTime(std::string_view Fmt, TDateTime Value) {
    std::string result;
    DateTimeToString(result, Fmt, Value);
    return result;
}

void DateTimeToString(std::string& Result, std::string_view Fmt, TDateTime Value) {
    TDateTimeParts parts{};
    DecodeDate(Value, parts.Year, parts.Month, parts.Day);
    DecodeTime(Value, parts.Hour, parts.Min, parts.Sec, parts.MSec);
    Result.clear();
    AppendFormatted(Result, Fmt, parts, 0);
}

std::string DateTimeToStr(TDateTime Value) {
    return FormatDateTime("c", Value);
}

TDateTime FileTimeToDateTime(std::time_t Seconds, long Nanoseconds) {
    std::tm local{};
    if (localtime_r(&Seconds, &local) == nullptr)
        throw EConvertError("Invalid argument to date encode");
    const long msec = Nanoseconds / 1000000;
    return FromTm(local, msec < 0 ? 0 : (msec > 999 ? 999 : static_cast<int>(msec)));
}

int GetTimeZoneBias() {
    tzset();
    // glibc's timezone holds the standard offset in seconds west of UTC,
    // which is exactly the bias.
    return static_cast<int>(timezone / 60);
}
