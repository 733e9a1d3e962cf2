#include "platform/core/Format.h"

#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "tests/support/CommaLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

struct TFormatCase {
    const char* Fmt;
    TVarRec Arg;
    const char* Expected;
};

// Restores the process-wide settings after a test changed them.
class TFormatSettingsGuard {
public:
    ~TFormatSettingsGuard() { FormatSettings = FSaved; }

private:
    TFormatSettings FSaved = FormatSettings;
};

const int SomeObject = 0;

} // namespace

TEST(Format, FollowsTheClassLibraryRules) {
    const std::vector<TFormatCase> cases = {
        {"%d", 42, "42"},
        {"%.3d", 7, "007"},
        {"%.2d", -7, "-07"},
        {"%5d", 42, "   42"},
        {"%-5d|", 42, "42   |"},
        {"%04x", 31, "  1F"},
        {"%.4x", 255, "00FF"},
        {"%x", -1, "FFFFFFFF"},
        {"%X", 3054, "BEE"},
        {"%x", std::int64_t{-1}, "FFFFFFFFFFFFFFFF"},
        {"%u", -1, "4294967295"},
        {"%d", std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"},
        {"%d", std::numeric_limits<std::uint64_t>::max(), "18446744073709551615"},
        {"%f", 1.0, "1.00"},
        {"%.0f", 2.5, "3"},
        {"%.0f", -2.5, "-3"},
        {"%.2f", 0.125, "0.13"},
        {"%.2f", 2.675, "2.67"},
        {"%1.0f", 1023.6, "1024"},
        {"%3.2f", 99.999, "100.00"},
        {"%.2f", -0.001, "0.00"},
        {"%.1f", 1e-300, "0.0"},
        {"%.0f", 1e20, "100000000000000000000"},
        {"%e", 1234.5, "1.23450000000000E+003"},
        {"%.3e", -0.00012345, "-1.23E-004"},
        {"%e", 0.0, "0.00000000000000E+000"},
        {"%g", 12.5, "12.5"},
        {"%g", 1e20, "1E20"},
        {"%.3g", 2.0 / 3.0, "0.667"},
        {"%n", 1234567.891, "1,234,567.89"},
        {"%.0n", -999.5, "-1,000"},
        {"%f", std::numeric_limits<double>::infinity(), "INF"},
        {"%-16s:", "title", "title           :"},
        {"%-4s|", "中文", "中文  |"},
        {"%3s|", "中", "  中|"},
        {"%.3s", "abcdef", "abc"},
        {"%.1s", "视频", "视"},
        {"%s", std::string("x%dy"), "x%dy"},
        {"100%% %d", 5, "100% 5"},
        {"%p", static_cast<const void*>(nullptr), "0000000000000000"},
    };
    for (const TFormatCase& row : cases)
        EXPECT_EQ(Format(row.Fmt, {row.Arg}), row.Expected) << row.Fmt;
}

TEST(Format, LogLinesWithSeveralArguments) {
    EXPECT_EQ(Format("%s: %d.%.6d %.2f%%", {"job", 3, 42, 99.5}), "job: 3.000042 99.50%");
    EXPECT_EQ(Format("%.2d:%.2d:%.2d.%.3d", {1, 2, 3, 4}), "01:02:03.004");
    EXPECT_EQ(Format("no arguments", {}), "no arguments");
    // Extra arguments are ignored.
    EXPECT_EQ(Format("[%s]", {"a", 1, 2.0}), "[a]");
    // A list built at run time works like a literal one.
    const std::vector<TVarRec> args = {"dx", 640, 480};
    EXPECT_EQ(Format("%s %dx%d", args), "dx 640x480");
}

TEST(Format, PointerShowsSixteenCapitalHexDigits) {
    const std::string text = Format("%p", {static_cast<const void*>(&SomeObject)});
    ASSERT_EQ(text.size(), 16u);
    EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(std::stoull(text, nullptr, 16), reinterpret_cast<std::uintptr_t>(&SomeObject));
}

TEST(Format, MismatchedOrMissingArgumentsRaiseConvertError) {
    struct TErrorCase {
        const char* Fmt;
        std::vector<TVarRec> Args;
        const char* Message;
    };
    const std::vector<TErrorCase> cases = {
        {"%d", {"abc"}, "Format '%d' invalid or incompatible with argument"},
        {"%f", {1}, "Format '%f' invalid or incompatible with argument"},
        {"%s", {1}, "Format '%s' invalid or incompatible with argument"},
        {"%x", {1.5}, "Format '%x' invalid or incompatible with argument"},
        {"%p", {1}, "Format '%p' invalid or incompatible with argument"},
        {"%d %d", {1}, "No argument for format '%d %d'"},
        {"%q", {1}, "Format '%q' invalid or incompatible with argument"},
        {"50%", {1}, "Format '50%' invalid or incompatible with argument"},
        {"%99999999999d", {1}, "Format '%99999999999d' invalid or incompatible with argument"},
    };
    for (const TErrorCase& row : cases) {
        try {
            Format(row.Fmt, row.Args);
            ADD_FAILURE() << row.Fmt << " did not raise";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), row.Message);
        }
    }
}

TEST(Format, DecimalSeparatorComesFromFormatSettings) {
    TFormatSettingsGuard guard;
    FormatSettings.DecimalSeparator = ',';
    FormatSettings.ThousandSeparator = '.';
    EXPECT_EQ(Format("%f", {1.0}), "1,00");
    EXPECT_EQ(Format("%e", {1.5}), "1,50000000000000E+000");
    EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
    EXPECT_EQ(FloatToStr(12.5), "12,5");
}

TEST(Format, IgnoresTheCLocale) {
    // The decimal mark of the process's C locale must never leak into texts.
    std::string formatted, shortest;
    double parsed = 0.0;
    bool ok = false;
    {
        TCommaNumericLocale Comma;
        if (!Comma.Active())
            GTEST_SKIP() << "no locale with a decimal comma could be had";
        formatted = Format("%.2f %g", {1.5, 0.25});
        shortest = FloatToStr(12.5);
        ok = TryStrToFloat("7.95", parsed);
    }
    EXPECT_EQ(formatted, "1.50 0.25");
    EXPECT_EQ(shortest, "12.5");
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(parsed, 7.95);
}
