#include "skin/model/bsSkinData.IniValues.h"

#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/gdi/FontEngine.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// The words of each enumeration in the order of its values.
constexpr std::array<const char*, 3> StretchTypeWords = {"stfull", "sthorz", "stvert"};
constexpr std::array<const char*, 7> MorphKindWords = {
    "mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
    "mkleftslide", "mkrightslide", "mkpush"};
constexpr std::array<const char*, 6> InActiveEffectWords = {
    "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
constexpr std::array<const char*, 3> AlignmentWords = {"taleftjustify", "tarightjustify",
                                                       "tacenter"};
constexpr std::array<const char*, 7> CommandWords = {"cmclose",         "cmmaximize", "cmminimize",
                                                     "cmsysmenu",       "cmdefault",  "cmrollup",
                                                     "cmminimizetotray"};

struct TFontStyleWord {
    TFontStyle Style;
    const char* Word;
};
constexpr std::array<TFontStyleWord, 4> FontStyleWords = {{{fsBold, "fsbold"},
                                                           {fsItalic, "fsitalic"},
                                                           {fsUnderline, "fsunderline"},
                                                           {fsStrikeOut, "fsstrikeout"}}};

// The position of Word in Words, or Fallback for any other text.
template <std::size_t N>
int WordIndex(const std::array<const char*, N>& Words, const std::string& Word, int Fallback) {
    for (std::size_t i = 0; i < N; ++i)
        if (Word == Words[i])
            return int(i);
    return Fallback;
}

// One filtered part as a decimal number. The text holds digits only, so a
// leading zero never means octal; an empty or too large part is handed to the
// library's own conversion for its invalid-integer error.
int FilteredPartToInt(const std::string& Part) {
    std::int64_t Value = 0;
    bool InRange = !Part.empty();
    for (char C : Part) {
        Value = Value * 10 + (C - '0');
        if (Value > INT32_MAX) {
            InRange = false;
            break;
        }
    }
    if (InRange)
        return int(Value);
    StrToInt(Part);
    throw EConvertError(Format("'%s' is not a valid integer value", {Part}));
}

// The digit filter: ',' ends a part, every other non-digit is dropped.
// Parts beyond Count are ignored; missing ones stay empty and fail.
std::vector<int> FilterDigits(const std::string& S, std::size_t Count) {
    std::vector<std::string> Parts(1);
    for (char C : S) {
        if (C == ',')
            Parts.emplace_back();
        else if (C >= '0' && C <= '9')
            Parts.back() += C;
    }
    Parts.resize(std::max(Parts.size(), Count));
    std::vector<int> Values;
    for (std::size_t i = 0; i < Count; ++i)
        Values.push_back(FilteredPartToInt(Parts[i]));
    return Values;
}

std::string RectToStr(const TRect& R) {
    return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) +
           "," + std::to_string(R.Bottom);
}

std::string PointToStr(const TPoint& P) {
    return std::to_string(P.X) + "," + std::to_string(P.Y);
}

} // namespace

TRect StrToRect(const std::string& S) {
    std::vector<int> V = FilterDigits(S, 4);
    return {V[0], V[1], V[2], V[3]};
}

TPoint StrToPoint(const std::string& S) {
    std::vector<int> V = FilterDigits(S, 2);
    return {V[0], V[1]};
}

TRect ReadRect(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident) {
    return StrToRect(IniFile.ReadString(Section, Ident, "0,0,0,0"));
}

void WriteRect(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
               const TRect& Value) {
    IniFile.WriteString(Section, Ident, RectToStr(Value));
}

TPoint ReadPoint(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident) {
    return StrToPoint(IniFile.ReadString(Section, Ident, "0,0"));
}

void WritePoint(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                const TPoint& Value) {
    IniFile.WriteString(Section, Ident, PointToStr(Value));
}

bool ReadBoolean(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident) {
    return IniFile.ReadInteger(Section, Ident, 0) == 1;
}

void WriteBoolean(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                  bool Value) {
    IniFile.WriteInteger(Section, Ident, Value ? 1 : 0);
}

TFontStyles ReadFontStyles(TCustomIniFile& IniFile, const std::string& Section,
                           const std::string& Ident) {
    std::string S = IniFile.ReadString(Section, Ident, "");
    TFontStyles Result;
    for (const TFontStyleWord& W : FontStyleWords)
        if (S.find(W.Word) != std::string::npos)
            Result.Include(W.Style);
    return Result;
}

void WriteFontStyles(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                     TFontStyles Value) {
    std::string S;
    for (const TFontStyleWord& W : FontStyleWords) {
        if (!Value.Contains(W.Style))
            continue;
        if (!S.empty())
            S += ",";
        S += W.Word;
    }
    IniFile.WriteString(Section, Ident, S);
}

void ReadStrings(TCustomIniFile& IniFile, const std::string& Section, const std::string& Name,
                 TStrings& List) {
    const std::string CountKey = Name + "count";
    const int Count = IniFile.ReadInteger(Section, CountKey, 0);
    if (Count <= 0)
        return;
    // Every item needs a line of its own, so a count beyond the lines of the
    // section comes from a damaged file; trusting it could exhaust memory.
    TStringList Keys;
    IniFile.ReadSection(Section, Keys);
    if (Count > Keys.Count())
        throw EConvertError(
            Format("Invalid list count in section [%s]: %s=%d", {Section, CountKey, Count}));
    for (int i = 0; i < Count; ++i)
        List.Add(IniFile.ReadString(Section, std::to_string(i), ""));
}

void WriteStrings(TCustomIniFile& IniFile, const std::string& Section, const std::string& Name,
                  const TStrings& List) {
    IniFile.WriteInteger(Section, Name + "count", List.Count());
    for (int i = 0; i < List.Count(); ++i)
        IniFile.WriteString(Section, std::to_string(i), List.Strings(i));
}

TAlignment ReadAlignment(TCustomIniFile& IniFile, const std::string& Section,
                         const std::string& Ident) {
    return TAlignment(
        WordIndex(AlignmentWords, IniFile.ReadString(Section, Ident, "tacenter"), taRightJustify));
}

void WriteAlignment(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                    TAlignment Value) {
    IniFile.WriteString(Section, Ident, AlignmentWords[Value]);
}

TbsStretchType ReadStretchType(TCustomIniFile& IniFile, const std::string& Section,
                               const std::string& Ident) {
    return TbsStretchType(
        WordIndex(StretchTypeWords, IniFile.ReadString(Section, Ident, "stfull"), bsstHorz));
}

void WriteStretchType(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                      TbsStretchType Value) {
    IniFile.WriteString(Section, Ident, StretchTypeWords[Value]);
}

TbsMorphKind ReadMorphKind(TCustomIniFile& IniFile, const std::string& Section,
                           const std::string& Ident) {
    return TbsMorphKind(
        WordIndex(MorphKindWords, IniFile.ReadString(Section, Ident, "mkdefault"), mkDefault));
}

void WriteMorphKind(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                    TbsMorphKind Value) {
    IniFile.WriteString(Section, Ident, MorphKindWords[Value]);
}

TbsInActiveEffect ReadInActiveEffect(TCustomIniFile& IniFile, const std::string& Section,
                                     const std::string& Ident) {
    return TbsInActiveEffect(WordIndex(
        InActiveEffectWords, IniFile.ReadString(Section, Ident, "iebrightness"), ieGrayScale));
}

void WriteInActiveEffect(TCustomIniFile& IniFile, const std::string& Section,
                         const std::string& Ident, TbsInActiveEffect Value) {
    IniFile.WriteString(Section, Ident, InActiveEffectWords[Value]);
}

TbsStdCommand ReadStdCommand(TCustomIniFile& IniFile, const std::string& Section,
                             const std::string& Ident) {
    // The reader knows six words; any other text, "cmminimizetotray" included,
    // is the seventh command.
    return TbsStdCommand(
        WordIndex(CommandWords, IniFile.ReadString(Section, Ident, "cmdefault"), cmMinimizeToTray));
}

void WriteStdCommand(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                     TbsStdCommand Value) {
    IniFile.WriteString(Section, Ident, CommandWords[Value]);
}

// ---------------------------------------------------------------- key visitors

void TbsIniKeyVisitor::FontHeight(const char* Key, int& Field, int Default) {
    BoundedInteger(Key, Field, Default, -MaxFontHeight, MaxFontHeight);
}
void TbsIniKeyVisitor::ThumbLength(const char* Key, int& Field) {
    // The longest side a bitmap may have; the bar shortens it to its own length.
    BoundedInteger(Key, Field, 0, 0, 32767);
}

void TbsIniKeyReader::Integer(const char* Key, int& Field, int Default) {
    Field = FIniFile.ReadInteger(FSection, Key, Default);
}
void TbsIniKeyReader::BoundedInteger(const char* Key, int& Field, int Default, int Min, int Max) {
    Field = std::clamp(FIniFile.ReadInteger(FSection, Key, Default), Min, Max);
}
void TbsIniKeyReader::Color(const char* Key, TColor& Field, TColor Default) {
    Field = TColor(FIniFile.ReadInteger(FSection, Key, Default));
}
void TbsIniKeyReader::Text(const char* Key, std::string& Field, const char* Default) {
    Field = FIniFile.ReadString(FSection, Key, Default);
}
void TbsIniKeyReader::Rect(const char* Key, TRect& Field) {
    Field = ReadRect(FIniFile, FSection, Key);
}
void TbsIniKeyReader::Point(const char* Key, TPoint& Field) {
    Field = ReadPoint(FIniFile, FSection, Key);
}
void TbsIniKeyReader::Boolean(const char* Key, bool& Field) {
    Field = ReadBoolean(FIniFile, FSection, Key);
}
void TbsIniKeyReader::FontStyles(const char* Key, TFontStyles& Field) {
    Field = ReadFontStyles(FIniFile, FSection, Key);
}
void TbsIniKeyReader::Alignment(const char* Key, TAlignment& Field) {
    Field = ReadAlignment(FIniFile, FSection, Key);
}
void TbsIniKeyReader::StretchType(const char* Key, TbsStretchType& Field) {
    Field = ReadStretchType(FIniFile, FSection, Key);
}
void TbsIniKeyReader::MorphKind(const char* Key, TbsMorphKind& Field) {
    Field = ReadMorphKind(FIniFile, FSection, Key);
}
void TbsIniKeyReader::Command(const char* Key, TbsStdCommand& Field) {
    Field = ReadStdCommand(FIniFile, FSection, Key);
}

void TbsIniKeyWriter::Integer(const char* Key, int& Field, int) {
    FIniFile.WriteInteger(FSection, Key, Field);
}
void TbsIniKeyWriter::Color(const char* Key, TColor& Field, TColor) {
    FIniFile.WriteInteger(FSection, Key, Field);
}
void TbsIniKeyWriter::Text(const char* Key, std::string& Field, const char*) {
    FIniFile.WriteString(FSection, Key, Field);
}
void TbsIniKeyWriter::Rect(const char* Key, TRect& Field) {
    WriteRect(FIniFile, FSection, Key, Field);
}
void TbsIniKeyWriter::Point(const char* Key, TPoint& Field) {
    WritePoint(FIniFile, FSection, Key, Field);
}
void TbsIniKeyWriter::Boolean(const char* Key, bool& Field) {
    WriteBoolean(FIniFile, FSection, Key, Field);
}
void TbsIniKeyWriter::FontStyles(const char* Key, TFontStyles& Field) {
    WriteFontStyles(FIniFile, FSection, Key, Field);
}
void TbsIniKeyWriter::Alignment(const char* Key, TAlignment& Field) {
    WriteAlignment(FIniFile, FSection, Key, Field);
}
void TbsIniKeyWriter::StretchType(const char* Key, TbsStretchType& Field) {
    WriteStretchType(FIniFile, FSection, Key, Field);
}
void TbsIniKeyWriter::MorphKind(const char* Key, TbsMorphKind& Field) {
    WriteMorphKind(FIniFile, FSection, Key, Field);
}
void TbsIniKeyWriter::Command(const char* Key, TbsStdCommand& Field) {
    WriteStdCommand(FIniFile, FSection, Key, Field);
}
