// Number conversions with the class library's texts and rules, and the
// process-wide formatting settings. Nothing here follows the C locale: the
// separators come from FormatSettings only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Separators and patterns used by Format, the float conversions and the
// date-time formatter. Set once at start; tests change it to prove it is
// followed.
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '-';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "yyyy-mm-dd";
    std::string LongTimeFormat = "hh:nn:ss";
};

extern TFormatSettings FormatSettings;

// Raises EConvertError with Message; lets units that Exceptions.h itself
// includes raise it without including it back.
[[noreturn]] void ConvertError(const std::string& Message);

std::string IntToStr(std::int64_t Value);

// Leading blanks, an optional sign, then decimal digits or hexadecimal after
// "$", "0x" or "0X"; nothing may follow. Failures raise EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(std::string_view Text);
std::int64_t StrToInt64(std::string_view Text);
bool TryStrToInt(std::string_view Text, int& Value);
bool TryStrToInt64(std::string_view Text, std::int64_t& Value);
int StrToIntDef(std::string_view Text, int Default);
std::int64_t StrToInt64Def(std::string_view Text, std::int64_t Default);

// Blanks allowed at both ends, FormatSettings.DecimalSeparator, optional
// exponent, no thousands separators. Failures raise EConvertError
// "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view Text);
bool TryStrToFloat(std::string_view Text, double& Value);
double StrToFloatDef(std::string_view Text, double Default);

// The shortest text with 15 significant digits: fixed for 1E-5 <= |v| < 1E15,
// otherwise "1.5E-7" style.
std::string FloatToStr(double Value);

// Nearest integer, halves to the even neighbour.
std::int64_t Round(double Value);
// Towards zero.
std::int64_t Trunc(double Value);

// One process-wide linear congruential generator.
// Random(Range) answers 0 .. Range-1 (0 when Range <= 0).
int Random(int Range);
// A value in [0, 1).
double Random();
// Seeds the generator from the clock.
void Randomize();
std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t Seed);
