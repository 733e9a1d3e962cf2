#include "platform/core/Conversions.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <locale.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <mutex>

TFormatSettings FormatSettings;

namespace {

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= 32;
}

int HexDigit(char C) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// Parses the integer grammar into a value between Min and Max.
bool ParseInteger(std::string_view Text, std::int64_t Min, std::int64_t Max, std::int64_t& Value) {
    std::size_t pos = 0;
    while (pos < Text.size() && IsBlank(Text[pos]))
        ++pos;
    bool negative = false;
    if (pos < Text.size() && (Text[pos] == '-' || Text[pos] == '+'))
        negative = Text[pos++] == '-';
    int base = 10;
    if (pos < Text.size() && Text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < Text.size() && Text[pos] == '0' &&
               (Text[pos + 1] == 'x' || Text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= Text.size())
        return false;
    // The magnitude may reach 2^63 for the most negative value. Hexadecimal
    // spells the bits of the type: "$FFFFFFFF" is -1 for a 32-bit value, which
    // is how colours such as 0xFF00000F are stored in skins and ini files.
    const std::uint64_t unsignedMax =
        static_cast<std::uint64_t>(Max) - static_cast<std::uint64_t>(Min);
    const std::uint64_t limit = base == 16 ? unsignedMax
                                           : (negative ? 0 - static_cast<std::uint64_t>(Min)
                                                       : static_cast<std::uint64_t>(Max));
    std::uint64_t magnitude = 0;
    for (; pos < Text.size(); ++pos) {
        const int digit = HexDigit(Text[pos]);
        if (digit < 0 || digit >= base)
            return false;
        if (magnitude > (limit - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    if (negative)
        magnitude = 0 - magnitude;
    if (base == 16 && unsignedMax != std::numeric_limits<std::uint64_t>::max()) {
        // Wrap into the narrower type's two's complement.
        const std::uint64_t bits = magnitude & unsignedMax;
        Value = bits > static_cast<std::uint64_t>(Max)
                    ? static_cast<std::int64_t>(bits) - static_cast<std::int64_t>(unsignedMax) - 1
                    : static_cast<std::int64_t>(bits);
        return true;
    }
    Value = static_cast<std::int64_t>(magnitude);
    return true;
}

[[noreturn]] void InvalidInteger(std::string_view Text) {
    throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
}

// Checks the float grammar and rewrites it for from_chars, which always
// reads '.' and never a leading '+'.
bool NormalizeFloat(std::string_view Text, std::string& Out) {
    const std::string body = Trim(Text);
    std::size_t pos = 0;
    auto digits = [&] {
        const std::size_t start = pos;
        while (pos < body.size() && body[pos] >= '0' && body[pos] <= '9')
            Out += body[pos++];
        return pos - start;
    };
    if (pos < body.size() && (body[pos] == '-' || body[pos] == '+')) {
        if (body[pos] == '-')
            Out += '-';
        ++pos;
    }
    std::size_t mantissaDigits = digits();
    if (pos < body.size() && body[pos] == FormatSettings.DecimalSeparator) {
        Out += '.';
        ++pos;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return false;
    if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
        Out += 'e';
        ++pos;
        if (pos < body.size() && (body[pos] == '-' || body[pos] == '+'))
            Out += body[pos++];
        if (digits() == 0)
            return false;
    }
    return pos == body.size();
}

std::mutex RandomLock;
std::uint32_t Seed = 0;

// Advances the generator and answers the new state.
std::uint32_t NextRandom() {
    std::lock_guard lock(RandomLock);
    Seed = Seed * 0x08088405u + 1u;
    return Seed;
}

[[noreturn]] void InvalidRound(const char* Operation) {
    throw EInvalidOperation(std::string(Operation) +
                            ": the value is not a number or lies outside the 64-bit range");
}

bool FitsInt64(double Value) {
    // 2^63 is the first double past the range; -2^63 is inside it.
    return Value >= -9223372036854775808.0 && Value < 9223372036854775808.0;
}

} // namespace

void ConvertError(const std::string& Message) {
    throw EConvertError(Message);
}

std::string IntToStr(std::int64_t Value) {
    return std::to_string(Value);
}

bool TryStrToInt64(std::string_view Text, std::int64_t& Value) {
    return ParseInteger(Text, std::numeric_limits<std::int64_t>::min(),
                        std::numeric_limits<std::int64_t>::max(), Value);
}

bool TryStrToInt(std::string_view Text, int& Value) {
    std::int64_t wide = 0;
    if (!ParseInteger(Text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), wide))
        return false;
    Value = static_cast<int>(wide);
    return true;
}

int StrToInt(std::string_view Text) {
    int value = 0;
    if (!TryStrToInt(Text, value))
        InvalidInteger(Text);
    return value;
}

std::int64_t StrToInt64(std::string_view Text) {
    std::int64_t value = 0;
    if (!TryStrToInt64(Text, value))
        InvalidInteger(Text);
    return value;
}

int StrToIntDef(std::string_view Text, int Default) {
    int value = 0;
    return TryStrToInt(Text, value) ? value : Default;
}

std::int64_t StrToInt64Def(std::string_view Text, std::int64_t Default) {
    std::int64_t value = 0;
    return TryStrToInt64(Text, value) ? value : Default;
}

bool TryStrToFloat(std::string_view Text, double& Value) {
    std::string normalized;
    if (!NormalizeFloat(Text, normalized))
        return false;
    double result = 0.0;
    const char* end = normalized.data() + normalized.size();
    const auto [ptr, ec] = std::from_chars(normalized.data(), end, result);
    if (ec == std::errc::result_out_of_range && ptr == end) {
        // from_chars reports a value too small for a double like one too
        // large; the first is simply zero (or nearly), only the second fails.
        static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
        result = strtod_l(normalized.c_str(), nullptr, cLocale);
        if (!std::isfinite(result))
            return false;
    } else if (ec != std::errc() || ptr != end) {
        return false;
    }
    Value = result;
    return true;
}

double StrToFloat(std::string_view Text) {
    double value = 0.0;
    if (!TryStrToFloat(Text, value))
        throw EConvertError("'" + std::string(Text) + "' is not a valid floating point value");
    return value;
}

double StrToFloatDef(std::string_view Text, double Default) {
    double value = 0.0;
    return TryStrToFloat(Text, value) ? value : Default;
}

std::int64_t Round(double Value) {
    if (!FitsInt64(Value))
        InvalidRound("Round");
    const double floor = std::floor(Value);
    // Value - floor is exact, so the comparison with one half is too.
    const double fraction = Value - floor;
    auto result = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && (result & 1) != 0)) {
        if (floor + 1.0 >= 9223372036854775808.0)
            InvalidRound("Round");
        ++result;
    }
    return result;
}

std::int64_t Trunc(double Value) {
    if (!FitsInt64(Value))
        InvalidRound("Trunc");
    return static_cast<std::int64_t>(Value);
}

int Random(int Range) {
    if (Range <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(NextRandom()) * Range) >> 32);
}

double Random() {
    return NextRandom() / 4294967296.0;
}

void Randomize() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    SetRandSeed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

std::uint32_t RandSeed() {
    std::lock_guard lock(RandomLock);
    return Seed;
}

void SetRandSeed(std::uint32_t Value) {
    std::lock_guard lock(RandomLock);
    Seed = Value;
}
