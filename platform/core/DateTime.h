// Dates and times as the class library counts them: days since
// 1899-12-30 00:00 local time, the fraction being the time of day.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = HoursPerDay * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;
// The day number of 1970-01-01.
constexpr double UnixDateDelta = 25569.0;

TDateTime Now();
TDateTime Date();
TDateTime Time();

bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);

// Invalid values raise EConvertError.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value);
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);

// yyyy yy m mm (minutes right after h/hh) d dd h hh n nn s ss z zzz,
// '/' date separator, ':' time separator, 'c' short date then long time
// unless midnight, quoted text copied, anything else copied.
std::string FormatDateTime(std::string_view Fmt, TDateTime Value);
void DateTimeToString(std::string& Result, std::string_view Fmt, TDateTime Value);
// FormatDateTime("c", Value).
std::string DateTimeToStr(TDateTime Value);

// A file time (seconds and nanoseconds since 1970-01-01 UTC) as a local
// date-time.
TDateTime FileTimeToDateTime(std::time_t Seconds, long Nanoseconds = 0);

// The local zone's standard offset in minutes with the "bias" sign
// (UTC = local + bias): -480 for UTC+8. Daylight saving is ignored.
int GetTimeZoneBias();
