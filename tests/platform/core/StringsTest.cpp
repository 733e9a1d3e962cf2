#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Strings, TrimRemovesBlanksAndControlsOnly) {
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(Trim("　x　"), "　x　") << "the full-width space is not a blank";
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    // Bytes of multi-byte characters lie above 127 and are never trimmed.
    EXPECT_EQ(Trim(" 视频 "), "视频");
}

TEST(Strings, CaseFoldingIsAsciiOnly) {
    EXPECT_EQ(UpperCase("abc äö z"), "ABC äö Z");
    EXPECT_EQ(LowerCase("ABC ÄÖ Z"), "abc ÄÖ z");
    EXPECT_TRUE(SameText("Arial", "ARIAL"));
    EXPECT_FALSE(SameText("Arial", "Arial "));
    EXPECT_FALSE(SameText("ä", "Ä"));
    EXPECT_TRUE(AnsiSameText("clip.AVI", "CLIP.avi"));
}

TEST(Strings, ComparisonsOrderAsExpected) {
    struct TRow {
        const char* A;
        const char* B;
        int Str;
        int Text;
        int Ansi;
    };
    const std::vector<TRow> rows = {
        {"abc", "abc", 0, 0, 0},
        {"abc", "ABC", 1, 0, 0},
        {"a", "B", 1, -1, -1},
        {"ab", "abc", -1, -1, -1},
        {"b", "a", 1, 1, 1},
        {"z", "中", -1, -1, -1},
        {"", "", 0, 0, 0},
        // CompareText folds to capitals; the sorting comparison puts "_" before letters.
        {"_", "a", -1, 1, -1},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(CompareStr(row.A, row.B), row.Str) << row.A << " " << row.B;
        EXPECT_EQ(CompareText(row.A, row.B), row.Text) << row.A << " " << row.B;
        EXPECT_EQ(AnsiCompareText(row.A, row.B), row.Ansi) << row.A << " " << row.B;
        EXPECT_EQ(CompareText(row.B, row.A), -row.Text) << "antisymmetric";
        EXPECT_EQ(AnsiCompareText(row.B, row.A), -row.Ansi) << "antisymmetric";
    }
    // Code-point order, also for characters beyond the BMP.
    EXPECT_LT(AnsiCompareText("\xEF\xBF\xBD", "\xF0\x9F\x98\x80"), 0);
}

TEST(Strings, Utf8HelpersCountCharacters) {
    const std::string text = "视频 a😀";
    EXPECT_EQ(Utf8Length(text), 5u);
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Copy(text, 1, 2), "频 ");
    EXPECT_EQ(Utf8Copy(text, 3), "a😀");
    EXPECT_EQ(Utf8Copy(text, 9, 1), "");
    EXPECT_EQ(Utf8DeleteLast(text), "视频 a");
    EXPECT_EQ(Utf8DeleteLast("x"), "");
    EXPECT_EQ(Utf8DeleteLast(""), "");
    // An invalid byte counts as one character and is removed alone.
    EXPECT_EQ(Utf8Length("a\xFF"
                         "b"),
              3u);
    EXPECT_EQ(Utf8DeleteLast("视\xE9\xA2"), "视\xE9");
}

TEST(Strings, Utf8Validity) {
    struct TRow {
        std::string Text;
        bool Valid;
    };
    const std::vector<TRow> rows = {
        {"plain", true},
        {"视频 😀", true},
        {"\xEF\xBF\xBD", true},
        {"\xFF", false},
        {"\xC0\xAF", false},         // overlong '/'
        {"\xED\xA0\x80", false},     // encoded surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\xE8\xA7", false},         // truncated
        {"\x80", false},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(IsValidUtf8(row.Text), row.Valid) << row.Text;
}

TEST(Strings, Utf16RoundTripAndReplacement) {
    const std::string text = "视频 a😀";
    const std::u16string units = Utf8ToUtf16(text);
    EXPECT_EQ(units, u"视频 a😀");
    EXPECT_EQ(Utf16ToUtf8(units), text);

    EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"), u"a\xFFFD");

    const std::string little = Utf8ToUtf16Bytes("视a", false);
    EXPECT_EQ(little, std::string("\xC6\x89\x61\x00", 4));
    const std::string big = Utf8ToUtf16Bytes("视a", true);
    EXPECT_EQ(big, std::string("\x89\xC6\x00\x61", 4));
    EXPECT_EQ(Utf16BytesToUtf8(little, false), "视a");
    EXPECT_EQ(Utf16BytesToUtf8(big, true), "视a");
    // An odd trailing byte is dropped.
    EXPECT_EQ(Utf16BytesToUtf8(big + "\x01", true), "视a");
    EXPECT_EQ(Utf16BytesToUtf8("", false), "");
}
