#include "platform/core/Strings.h"

#include <cstdint>

namespace {

char AsciiUpper(char C) {
    return (C >= 'a' && C <= 'z') ? char(C - 'a' + 'A') : C;
}
char AsciiLower(char C) {
    return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C;
}
bool IsTrimmed(char C) {
    return static_cast<unsigned char>(C) <= 32;
}

constexpr char32_t ReplacementChar = 0xFFFD;

int Sign(int Value) {
    return (Value > 0) - (Value < 0);
}

} // namespace

std::string TrimLeft(std::string_view Text) {
    std::size_t first = 0;
    while (first < Text.size() && IsTrimmed(Text[first]))
        ++first;
    return std::string(Text.substr(first));
}

std::string TrimRight(std::string_view Text) {
    std::size_t last = Text.size();
    while (last > 0 && IsTrimmed(Text[last - 1]))
        --last;
    return std::string(Text.substr(0, last));
}

std::string Trim(std::string_view Text) {
    std::size_t first = 0;
    std::size_t last = Text.size();
    while (first < last && IsTrimmed(Text[first]))
        ++first;
    while (last > first && IsTrimmed(Text[last - 1]))
        --last;
    return std::string(Text.substr(first, last - first));
}

std::string UpperCase(std::string_view Text) {
    std::string result(Text);
    for (char& c : result)
        c = AsciiUpper(c);
    return result;
}

std::string LowerCase(std::string_view Text) {
    std::string result(Text);
    for (char& c : result)
        c = AsciiLower(c);
    return result;
}

int CompareStr(std::string_view A, std::string_view B) {
    return Sign(A.compare(B));
}

namespace {

// Compares byte by byte after Fold; unsigned bytes keep UTF-8 in code-point
// order.
template <char (*Fold)(char)> int CompareFolded(std::string_view A, std::string_view B) {
    const std::size_t n = A.size() < B.size() ? A.size() : B.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(Fold(A[i]));
        const auto b = static_cast<unsigned char>(Fold(B[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

} // namespace

int CompareText(std::string_view A, std::string_view B) {
    return CompareFolded<AsciiUpper>(A, B);
}

bool SameText(std::string_view A, std::string_view B) {
    return A.size() == B.size() && CompareText(A, B) == 0;
}

int AnsiCompareText(std::string_view A, std::string_view B) {
    // Folding to lower case sorts the punctuation between 'Z' and 'a'
    // ("_", "[") before the letters, as a sorted file list is expected to.
    return CompareFolded<AsciiLower>(A, B);
}

bool AnsiSameText(std::string_view A, std::string_view B) {
    return SameText(A, B);
}

char32_t Utf8Next(std::string_view Text, std::size_t& Pos) {
    const auto lead = static_cast<unsigned char>(Text[Pos]);
    if (lead < 0x80) {
        ++Pos;
        return lead;
    }
    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++Pos;
        return ReplacementChar;
    }
    if (Pos + extra >= Text.size()) {
        ++Pos;
        return ReplacementChar;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(Text[Pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++Pos;
            return ReplacementChar;
        }
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        ++Pos;
        return ReplacementChar;
    }
    Pos += extra + 1;
    return code;
}

void AppendUtf8(std::string& Out, char32_t Code) {
    if ((Code >= 0xD800 && Code <= 0xDFFF) || Code > 0x10FFFF)
        Code = ReplacementChar;
    if (Code < 0x80) {
        Out += char(Code);
    } else if (Code < 0x800) {
        Out += char(0xC0 | (Code >> 6));
        Out += char(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += char(0xE0 | (Code >> 12));
        Out += char(0x80 | ((Code >> 6) & 0x3F));
        Out += char(0x80 | (Code & 0x3F));
    } else {
        Out += char(0xF0 | (Code >> 18));
        Out += char(0x80 | ((Code >> 12) & 0x3F));
        Out += char(0x80 | ((Code >> 6) & 0x3F));
        Out += char(0x80 | (Code & 0x3F));
    }
}

bool IsValidUtf8(std::string_view Text) {
    std::size_t pos = 0;
    while (pos < Text.size()) {
        const std::size_t start = pos;
        // An invalid sequence is reported as U+FFFD consuming a single byte,
        // while a genuine U+FFFD takes three.
        if (Utf8Next(Text, pos) == ReplacementChar && pos - start == 1)
            return false;
    }
    return true;
}

std::size_t Utf8Length(std::string_view Text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < Text.size(); ++count)
        Utf8Next(Text, pos);
    return count;
}

std::string Utf8Copy(std::string_view Text, std::size_t Index, std::size_t Count) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < Index && pos < Text.size(); ++i)
        Utf8Next(Text, pos);
    const std::size_t start = pos;
    for (std::size_t i = 0; i < Count && pos < Text.size(); ++i)
        Utf8Next(Text, pos);
    return std::string(Text.substr(start, pos - start));
}

std::string Utf8DeleteLast(std::string_view Text) {
    std::size_t pos = 0;
    std::size_t last = 0;
    while (pos < Text.size()) {
        last = pos;
        Utf8Next(Text, pos);
    }
    return std::string(Text.substr(0, last));
}

std::u16string Utf8ToUtf16(std::string_view Text) {
    std::u16string result;
    result.reserve(Text.size());
    std::size_t pos = 0;
    while (pos < Text.size()) {
        const char32_t code = Utf8Next(Text, pos);
        if (code >= 0x10000) {
            result += char16_t(0xD800 + ((code - 0x10000) >> 10));
            result += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            result += char16_t(code);
        }
    }
    return result;
}

std::string Utf16ToUtf8(std::u16string_view Text) {
    std::string result;
    result.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char32_t unit = Text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 &&
            Text[i + 1] <= 0xDFFF) {
            AppendUtf8(result, 0x10000 + ((unit - 0xD800) << 10) + (Text[i + 1] - 0xDC00));
            ++i;
        } else {
            // A lone surrogate becomes U+FFFD inside AppendUtf8.
            AppendUtf8(result, unit);
        }
    }
    return result;
}

std::string Utf16BytesToUtf8(std::string_view Bytes, bool BigEndian) {
    std::u16string units;
    units.reserve(Bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < Bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(Bytes[i]);
        const auto b1 = static_cast<unsigned char>(Bytes[i + 1]);
        units += BigEndian ? char16_t((b0 << 8) | b1) : char16_t((b1 << 8) | b0);
    }
    return Utf16ToUtf8(units);
}

std::string Utf8ToUtf16Bytes(std::string_view Text, bool BigEndian) {
    const std::u16string units = Utf8ToUtf16(Text);
    std::string result;
    result.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const char high = char(unit >> 8);
        const char low = char(unit & 0xFF);
        result += BigEndian ? high : low;
        result += BigEndian ? low : high;
    }
    return result;
}

std::string DecodeTextFileBytes(std::string_view Bytes) {
    if (Bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(Bytes.substr(3));
    if (Bytes.starts_with("\xFF\xFE"))
        return Utf16BytesToUtf8(Bytes.substr(2), false);
    if (Bytes.starts_with("\xFE\xFF"))
        return Utf16BytesToUtf8(Bytes.substr(2), true);
    return std::string(Bytes);
}
