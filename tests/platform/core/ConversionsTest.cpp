#include "platform/core/Conversions.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

class TFormatSettingsGuard {
public:
    ~TFormatSettingsGuard() { FormatSettings = FSaved; }

private:
    TFormatSettings FSaved = FormatSettings;
};

template <typename Call> std::string ConvertErrorOf(Call&& Function) {
    try {
        Function();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return "(no error)";
}

} // namespace

TEST(Conversions, IntToStrCoversBothWidths) {
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(Conversions, StrToIntAcceptsDecimalAndHexadecimal) {
    struct TRow {
        const char* Text;
        int Value;
    };
    const std::vector<TRow> rows = {
        {"0", 0},
        {" 12", 12},
        {"\t+7", 7},
        {"-$1F", -31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$7FFFFFFF", std::numeric_limits<int>::max()},
        // Hexadecimal spells the value's bits, as colours are stored.
        {"$80000000", std::numeric_limits<int>::min()},
        {"0xFF00000F", -16777201},
        {"$FFFFFFFF", -1},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"007", 7},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(StrToInt(row.Text), row.Value) << row.Text;
}

TEST(Conversions, StrToIntRejectsWithTheWholeText) {
    for (const char* text : {"12 ", "", " ", "abc", "1F", "$", "0x", "--1", "1.5", "2147483648",
                             "-2147483649", "$100000000", "１２"}) {
        EXPECT_EQ(ConvertErrorOf([&] { StrToInt(text); }),
                  "'" + std::string(text) + "' is not a valid integer value");
        int value = 99;
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(value, 99) << "a failed try leaves the variable alone";
    }
    EXPECT_EQ(StrToIntDef("abc", 7), 7);
    EXPECT_EQ(StrToIntDef("-8", 7), -8);
}

TEST(Conversions, StrToInt64CoversTheFullRange) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(StrToInt64("$7FFFFFFFFFFFFFFF"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_EQ(StrToInt64("$FFFFFFFF"), 4294967295LL);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    std::int64_t value = 0;
    EXPECT_FALSE(TryStrToInt64("9223372036854775808", value));
    EXPECT_FALSE(TryStrToInt64("99999999999999999999", value));
    EXPECT_FALSE(TryStrToInt64("$10000000000000000", value));
    EXPECT_EQ(StrToInt64Def("x", -1), -1);
}

TEST(Conversions, StrToFloatReadsPlainNumbers) {
    struct TRow {
        const char* Text;
        double Value;
    };
    const std::vector<TRow> rows = {
        {"7.95", 7.95}, {" 2.5 ", 2.5},  {"1e3", 1000.0},      {"-1.5E-2", -0.015},
        {"+.5", 0.5},   {"1e-400", 0.0}, {"-4e-320", -4e-320}, {"5.", 5.0},
        {"0", 0.0},     {"1e+2", 100.0},
    };
    for (const TRow& row : rows)
        EXPECT_DOUBLE_EQ(StrToFloat(row.Text), row.Value) << row.Text;
}

TEST(Conversions, StrToFloatRejectsWithTheWholeText) {
    for (const char* text :
         {"1,5", "", ".", "1e", "e3", "1.2.3", "1 000", "inf", "nan", "0x10", "1e999"})
        EXPECT_EQ(ConvertErrorOf([&] { StrToFloat(text); }),
                  "'" + std::string(text) + "' is not a valid floating point value");
    EXPECT_DOUBLE_EQ(StrToFloatDef("?", 1.25), 1.25);
}

TEST(Conversions, StrToFloatFollowsTheDecimalSeparator) {
    TFormatSettingsGuard guard;
    FormatSettings.DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
    double value = 0.0;
    EXPECT_FALSE(TryStrToFloat("1.5", value));
}

TEST(Conversions, FloatToStrGivesTheShortestText) {
    struct TRow {
        double Value;
        const char* Text;
    };
    const std::vector<TRow> rows = {
        {12.5, "12.5"},
        {700.0, "700"},
        {0.1 + 0.2, "0.3"},
        {1e20, "1E20"},
        {1.5e-7, "1.5E-7"},
        {0.0001, "0.0001"},
        {0.07, "0.07"},
        {-2.25, "-2.25"},
        {0.0, "0"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {123456789.123456789, "123456789.123457"},
        {1.0 / 3.0, "0.333333333333333"},
        {-1.25e-300, "-1.25E-300"},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(FloatToStr(row.Value), row.Text) << row.Text;
}

TEST(Conversions, RoundTakesHalvesToEvenAndTruncCutsTowardsZero) {
    struct TRow {
        double Value;
        std::int64_t Rounded;
        std::int64_t Truncated;
    };
    const std::vector<TRow> rows = {
        {2.5, 2, 2},
        {3.5, 4, 3},
        {-2.5, -2, -2},
        {-3.5, -4, -3},
        {2.4999, 2, 2},
        {-0.5, 0, 0},
        {0.5000001, 1, 0},
        {1e15 + 0.5, 1000000000000000, 1000000000000000},
        {6e18, 6000000000000000000, 6000000000000000000},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(Round(row.Value), row.Rounded) << row.Value;
        EXPECT_EQ(Trunc(row.Value), row.Truncated) << row.Value;
    }
    EXPECT_THROW(Round(std::nan("")), EInvalidOperation);
    EXPECT_THROW(Round(1e19), EInvalidOperation);
    EXPECT_THROW(Trunc(-1e19), EInvalidOperation);
}

TEST(Conversions, RandomRepeatsForTheSameSeedAndStaysInRange) {
    SetRandSeed(12345);
    std::vector<int> first;
    for (int i = 0; i < 20; ++i)
        first.push_back(Random(1000));
    SetRandSeed(12345);
    std::set<int> seen;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(Random(1000), first[i]);
        seen.insert(first[i]);
    }
    EXPECT_GT(seen.size(), 10u);
    for (int i = 0; i < 1000; ++i) {
        const int value = Random(3);
        EXPECT_TRUE(value >= 0 && value < 3);
        const double real = Random();
        EXPECT_TRUE(real >= 0.0 && real < 1.0);
    }
    EXPECT_EQ(Random(0), 0);
}
