// Text helpers. Every std::string is UTF-8; "characters" are code points.
// Case folding is ASCII only, so results never depend on the machine's locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Remove characters with codes up to 32 (blanks and controls); other blanks,
// such as the full-width space U+3000, stay.
std::string Trim(std::string_view Text);
std::string TrimLeft(std::string_view Text);
std::string TrimRight(std::string_view Text);

// ASCII letters only; "ä" is left as it is.
std::string UpperCase(std::string_view Text);
std::string LowerCase(std::string_view Text);

// Comparisons answer < 0, 0 or > 0.
int CompareStr(std::string_view A, std::string_view B);
int CompareText(std::string_view A, std::string_view B);
bool SameText(std::string_view A, std::string_view B);
// Ignore ASCII case, then order by code point (UTF-8 byte order is code
// point order).
int AnsiCompareText(std::string_view A, std::string_view B);
bool AnsiSameText(std::string_view A, std::string_view B);

// Decodes the character at Pos and moves Pos past it; an invalid sequence
// gives U+FFFD and consumes one byte. Pos must be < Text.size().
char32_t Utf8Next(std::string_view Text, std::size_t& Pos);
// Appends the UTF-8 form of a code point (U+FFFD for surrogates and values
// above U+10FFFF).
void AppendUtf8(std::string& Out, char32_t Code);

bool IsValidUtf8(std::string_view Text);
// Number of characters; each invalid byte counts as one.
std::size_t Utf8Length(std::string_view Text);
// Count characters from the 0-based character Index (npos: to the end).
std::string Utf8Copy(std::string_view Text, std::size_t Index,
                     std::size_t Count = std::string_view::npos);
// The text without its last character.
std::string Utf8DeleteLast(std::string_view Text);

// Invalid bytes and unpaired surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view Text);
std::string Utf16ToUtf8(std::u16string_view Text);

// Raw UTF-16 bytes (no BOM) to UTF-8; an odd trailing byte is dropped.
std::string Utf16BytesToUtf8(std::string_view Bytes, bool BigEndian);
// UTF-8 to raw UTF-16 bytes (no BOM).
std::string Utf8ToUtf16Bytes(std::string_view Text, bool BigEndian);

// The bytes of a text file as UTF-8: a UTF-8 or UTF-16 BOM chooses the
// encoding and is dropped; bytes without one are UTF-8 already and are kept
// as they are, invalid sequences included.
std::string DecodeTextFileBytes(std::string_view Bytes);
