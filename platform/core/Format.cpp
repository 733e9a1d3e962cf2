#include "platform/core/Format.h"

#include "platform/core/Conversions.h"
#include "platform/core/Strings.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// A finite double as an exact decimal: 0.Digits x 10^Exponent, Digits free of
// leading and trailing zeros (empty for zero).
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// Number of decimals in the exact expansion of a finite double: a value with
// k fractional bits has exactly k fractional decimal digits.
int ExactDecimalCount(double Value) {
    if (Value == 0.0)
        return 0;
    int exponent = 0;
    const double mantissa = std::frexp(std::fabs(Value), &exponent);
    const auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    const int lowestBit = exponent - 53 + std::countr_zero(bits);
    return lowestBit < 0 ? -lowestBit : 0;
}

TDecimal ToDecimal(double Value) {
    TDecimal result;
    result.Negative = std::signbit(Value);
    // 309 integer digits, 1074 decimals, sign and point at the most.
    char buffer[1400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(Value),
                                         std::chars_format::fixed, ExactDecimalCount(Value));
    (void)ec;
    int integerDigits = 0;
    bool seenPoint = false;
    for (const char* p = buffer; p != end; ++p) {
        if (*p == '.') {
            seenPoint = true;
            continue;
        }
        if (!seenPoint)
            ++integerDigits;
        // A leading zero moves the exponent instead of becoming a digit.
        if (result.Digits.empty() && *p == '0') {
            --integerDigits;
            continue;
        }
        result.Digits += *p;
    }
    result.Exponent = integerDigits;
    while (!result.Digits.empty() && result.Digits.back() == '0')
        result.Digits.pop_back();
    if (result.Digits.empty())
        result.Exponent = 0;
    return result;
}

// Keeps Count leading digits, halves away from zero (the digits are exact,
// so a following digit of 5 or more always rounds up in magnitude).
void RoundDigits(TDecimal& Value, int Count) {
    if (Count < 0 || Value.Digits.empty()) {
        Value.Digits.clear();
        Value.Exponent = 0;
        return;
    }
    if (static_cast<std::size_t>(Count) >= Value.Digits.size())
        return;
    const bool up = Value.Digits[Count] >= '5';
    Value.Digits.resize(Count);
    if (up) {
        int i = Count - 1;
        while (i >= 0 && Value.Digits[i] == '9')
            Value.Digits[i--] = '0';
        if (i >= 0) {
            ++Value.Digits[i];
        } else {
            Value.Digits.insert(Value.Digits.begin(), '1');
            ++Value.Exponent;
        }
    }
    while (!Value.Digits.empty() && Value.Digits.back() == '0')
        Value.Digits.pop_back();
    if (Value.Digits.empty())
        Value.Exponent = 0;
}

char DigitAt(const TDecimal& Value, int Index) {
    return Index >= 0 && static_cast<std::size_t>(Index) < Value.Digits.size() ? Value.Digits[Index]
                                                                               : '0';
}

std::string NonFinite(double Value) {
    if (std::isnan(Value))
        return "NAN";
    return Value < 0 ? "-INF" : "INF";
}

// Digits before the point, grouped by Thousands when it is not 0.
std::string IntegerPart(const TDecimal& Value, char Thousands) {
    const int count = Value.Exponent > 0 ? Value.Exponent : 1;
    std::string result;
    for (int i = 0; i < count; ++i) {
        if (Thousands != 0 && i > 0 && (count - i) % 3 == 0)
            result += Thousands;
        result += Value.Exponent > 0 ? DigitAt(Value, i) : '0';
    }
    return result;
}

std::string FixedText(double Value, int Decimals, char Thousands) {
    if (!std::isfinite(Value))
        return NonFinite(Value);
    TDecimal decimal = ToDecimal(Value);
    RoundDigits(decimal, decimal.Exponent + Decimals);
    std::string result = decimal.Negative && !decimal.Digits.empty() ? "-" : "";
    result += IntegerPart(decimal, Thousands);
    if (Decimals > 0) {
        result += FormatSettings.DecimalSeparator;
        for (int i = 0; i < Decimals; ++i)
            result += DigitAt(decimal, decimal.Exponent + i);
    }
    return result;
}

std::string ExponentText(double Value, int Precision) {
    if (!std::isfinite(Value))
        return NonFinite(Value);
    TDecimal decimal = ToDecimal(Value);
    RoundDigits(decimal, Precision);
    std::string result = decimal.Negative && !decimal.Digits.empty() ? "-" : "";
    result += DigitAt(decimal, 0);
    if (Precision > 1) {
        result += FormatSettings.DecimalSeparator;
        for (int i = 1; i < Precision; ++i)
            result += DigitAt(decimal, i);
    }
    const int exponent = decimal.Digits.empty() ? 0 : decimal.Exponent - 1;
    result += exponent < 0 ? "E-" : "E+";
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    result += std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
    return result;
}

std::string GeneralText(double Value, int Precision) {
    if (!std::isfinite(Value))
        return NonFinite(Value);
    TDecimal decimal = ToDecimal(Value);
    RoundDigits(decimal, Precision);
    if (decimal.Digits.empty())
        return "0";
    std::string result = decimal.Negative ? "-" : "";
    const int digitCount = static_cast<int>(decimal.Digits.size());
    if (decimal.Exponent >= -4 && decimal.Exponent <= Precision) {
        result += IntegerPart(decimal, 0);
        if (digitCount > decimal.Exponent) {
            result += FormatSettings.DecimalSeparator;
            for (int i = decimal.Exponent; i < digitCount; ++i)
                result += DigitAt(decimal, i);
        }
        return result;
    }
    result += decimal.Digits[0];
    if (digitCount > 1) {
        result += FormatSettings.DecimalSeparator;
        result += decimal.Digits.substr(1);
    }
    result += 'E';
    result += std::to_string(decimal.Exponent - 1);
    return result;
}

// One parsed "%[-][width][.precision]type".
struct TSpecifier {
    bool LeftAlign = false;
    int Width = -1;
    int Precision = -1;
    char Type = 0;
};

// Widths beyond this are treated as a broken format rather than a request
// for a gigantic text.
constexpr int MaxWidth = 100000;

[[noreturn]] void InvalidFormat(std::string_view Fmt) {
    ConvertError("Format '" + std::string(Fmt) + "' invalid or incompatible with argument");
}

int ParseNumber(std::string_view Fmt, std::size_t& Pos) {
    int value = 0;
    while (Pos < Fmt.size() && Fmt[Pos] >= '0' && Fmt[Pos] <= '9') {
        value = value * 10 + (Fmt[Pos++] - '0');
        if (value > MaxWidth)
            InvalidFormat(Fmt);
    }
    return value;
}

TSpecifier ParseSpecifier(std::string_view Fmt, std::size_t& Pos) {
    TSpecifier specifier;
    if (Pos < Fmt.size() && Fmt[Pos] == '-') {
        specifier.LeftAlign = true;
        ++Pos;
    }
    if (Pos < Fmt.size() && Fmt[Pos] >= '0' && Fmt[Pos] <= '9')
        specifier.Width = ParseNumber(Fmt, Pos);
    if (Pos < Fmt.size() && Fmt[Pos] == '.') {
        ++Pos;
        specifier.Precision = ParseNumber(Fmt, Pos);
    }
    if (Pos >= Fmt.size())
        InvalidFormat(Fmt);
    specifier.Type = static_cast<char>(Fmt[Pos++] | 0x20);
    return specifier;
}

bool IsInteger(const TVarRec& Arg) {
    return Arg.Kind == TVarRec::TKind::Int32 || Arg.Kind == TVarRec::TKind::Int64 ||
           Arg.Kind == TVarRec::TKind::UInt32 || Arg.Kind == TVarRec::TKind::UInt64;
}

// Sign and magnitude of an integer argument as the type letter reads it.
void IntegerParts(const TVarRec& Arg, char Type, bool& Negative, std::uint64_t& Magnitude) {
    Negative = false;
    switch (Arg.Kind) {
    case TVarRec::TKind::Int32:
        if (Type == 'd' && Arg.Int < 0) {
            Negative = true;
            Magnitude = static_cast<std::uint64_t>(-(Arg.Int));
        } else {
            // "%u" and "%x" show a 32-bit value as its unsigned bit pattern.
            Magnitude = static_cast<std::uint32_t>(Arg.Int);
        }
        break;
    case TVarRec::TKind::Int64:
        if (Type == 'd' && Arg.Int < 0) {
            Negative = true;
            Magnitude = 0 - static_cast<std::uint64_t>(Arg.Int);
        } else {
            Magnitude = static_cast<std::uint64_t>(Arg.Int);
        }
        break;
    default:
        Magnitude = Arg.UInt;
        break;
    }
}

std::string IntegerText(const TVarRec& Arg, const TSpecifier& Specifier) {
    bool negative = false;
    std::uint64_t magnitude = 0;
    IntegerParts(Arg, Specifier.Type, negative, magnitude);
    char buffer[24];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, Specifier.Type == 'x' ? 16 : 10);
    (void)ec;
    std::string digits(buffer, end);
    if (Specifier.Type == 'x')
        digits = UpperCase(digits);
    if (Specifier.Precision > static_cast<int>(digits.size()))
        digits.insert(0, Specifier.Precision - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

std::string PointerText(const void* Ptr) {
    char buffer[17];
    const auto value = reinterpret_cast<std::uintptr_t>(Ptr);
    for (int i = 15; i >= 0; --i)
        buffer[15 - i] = "0123456789ABCDEF"[(value >> (i * 4)) & 0xF];
    return std::string(buffer, 16);
}

std::string ArgumentText(std::string_view Fmt, const TSpecifier& Specifier, const TVarRec& Arg) {
    const bool isReal = Arg.Kind == TVarRec::TKind::Double;
    switch (Specifier.Type) {
    case 'd':
    case 'u':
    case 'x':
        if (!IsInteger(Arg))
            InvalidFormat(Fmt);
        return IntegerText(Arg, Specifier);
    case 'f':
    case 'n':
        if (!isReal)
            InvalidFormat(Fmt);
        return FixedText(Arg.Real, Specifier.Precision < 0 ? 2 : Specifier.Precision,
                         Specifier.Type == 'n' ? FormatSettings.ThousandSeparator : 0);
    case 'e':
        if (!isReal)
            InvalidFormat(Fmt);
        return ExponentText(Arg.Real, Specifier.Precision < 1 ? (Specifier.Precision < 0 ? 15 : 1)
                                                              : Specifier.Precision);
    case 'g':
        if (!isReal)
            InvalidFormat(Fmt);
        return GeneralText(Arg.Real, Specifier.Precision < 1 ? (Specifier.Precision < 0 ? 15 : 1)
                                                             : Specifier.Precision);
    case 's':
        if (Arg.Kind != TVarRec::TKind::String)
            InvalidFormat(Fmt);
        if (Specifier.Precision >= 0)
            return Utf8Copy(Arg.Text, 0, static_cast<std::size_t>(Specifier.Precision));
        return Arg.Text;
    case 'p':
        if (Arg.Kind != TVarRec::TKind::Pointer)
            InvalidFormat(Fmt);
        return PointerText(Arg.Ptr);
    default:
        InvalidFormat(Fmt);
    }
}

void AppendPadded(std::string& Out, const std::string& Text, const TSpecifier& Specifier) {
    const std::size_t length = Utf8Length(Text);
    const std::size_t padding = Specifier.Width > static_cast<int>(length)
                                    ? static_cast<std::size_t>(Specifier.Width) - length
                                    : 0;
    if (!Specifier.LeftAlign)
        Out.append(padding, ' ');
    Out += Text;
    if (Specifier.LeftAlign)
        Out.append(padding, ' ');
}

} // namespace

std::string FloatToStr(double Value) {
    return GeneralText(Value, 15);
}

std::string Format(std::string_view Fmt, std::span<const TVarRec> Args) {
    std::string result;
    result.reserve(Fmt.size() + 16 * Args.size());
    std::size_t next = 0;
    std::size_t pos = 0;
    while (pos < Fmt.size()) {
        const std::size_t percent = Fmt.find('%', pos);
        if (percent == std::string_view::npos) {
            result.append(Fmt.substr(pos));
            break;
        }
        result.append(Fmt.substr(pos, percent - pos));
        pos = percent + 1;
        if (pos < Fmt.size() && Fmt[pos] == '%') {
            result += '%';
            ++pos;
            continue;
        }
        const TSpecifier specifier = ParseSpecifier(Fmt, pos);
        if (next >= Args.size())
            ConvertError("No argument for format '" + std::string(Fmt) + "'");
        AppendPadded(result, ArgumentText(Fmt, specifier, Args[next++]), specifier);
    }
    return result;
}

std::string Format(std::string_view Fmt, std::initializer_list<TVarRec> Args) {
    return Format(Fmt, std::span<const TVarRec>(Args.begin(), Args.size()));
}
