// The text forms of skin ini values and the key visitors built on them.
//
// Every element reads and writes its section only through these forms and
// the ini object's own integer and text access. Value words (enumerations,
// styles, commands) are compared exactly, case and all; section and key
// names are the ini object's business and compare without regard to case.
#pragma once

#include "platform/core/IniFiles.h"
#include "platform/core/StringLists.h"
#include "platform/gdi/Types.h"

#include <string>

enum TbsStretchType { bsstFull, bsstHorz, bsstVert };
enum TbsMorphKind {
    mkDefault,
    mkGradient,
    mkLeftGradient,
    mkRightGradient,
    mkLeftSlide,
    mkRightSlide,
    mkPush
};
enum TbsInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
enum TbsStdCommand {
    cmClose,
    cmMaximize,
    cmMinimize,
    cmSysMenu,
    cmDefault,
    cmRollUp,
    cmMinimizeToTray
};

// Only the digits of each comma-separated part count ("-3, 0,10,10" is
// 3,0,10,10); a part left empty or beyond 32 bits raises EConvertError.
TRect StrToRect(const std::string& S);
TPoint StrToPoint(const std::string& S);

TRect ReadRect(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident);
void WriteRect(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
               const TRect& Value);
TPoint ReadPoint(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident);
void WritePoint(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                const TPoint& Value);

// True only for a value that reads as the integer 1.
bool ReadBoolean(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident);
void WriteBoolean(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                  bool Value);

// Each style word found anywhere in the text sets its style.
TFontStyles ReadFontStyles(TCustomIniFile& IniFile, const std::string& Section,
                           const std::string& Ident);
void WriteFontStyles(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                     TFontStyles Value);

// Appends the items of the list Name (key Name + "count", then "0", "1" ...)
// without clearing List. A count larger than the section's number of key
// lines cannot be genuine and raises EConvertError before anything is added.
void ReadStrings(TCustomIniFile& IniFile, const std::string& Section, const std::string& Name,
                 TStrings& List);
// Writes the count and the items; other keys of the section stay.
void WriteStrings(TCustomIniFile& IniFile, const std::string& Section, const std::string& Name,
                  const TStrings& List);

TAlignment ReadAlignment(TCustomIniFile& IniFile, const std::string& Section,
                         const std::string& Ident);
void WriteAlignment(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                    TAlignment Value);
TbsStretchType ReadStretchType(TCustomIniFile& IniFile, const std::string& Section,
                               const std::string& Ident);
void WriteStretchType(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                      TbsStretchType Value);
TbsMorphKind ReadMorphKind(TCustomIniFile& IniFile, const std::string& Section,
                           const std::string& Ident);
void WriteMorphKind(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                    TbsMorphKind Value);
TbsInActiveEffect ReadInActiveEffect(TCustomIniFile& IniFile, const std::string& Section,
                                     const std::string& Ident);
void WriteInActiveEffect(TCustomIniFile& IniFile, const std::string& Section,
                         const std::string& Ident, TbsInActiveEffect Value);
TbsStdCommand ReadStdCommand(TCustomIniFile& IniFile, const std::string& Section,
                             const std::string& Ident);
void WriteStdCommand(TCustomIniFile& IniFile, const std::string& Section, const std::string& Ident,
                     TbsStdCommand Value);

// One key of an element with its value form and its missing-key value. Each
// element class lists its keys once, through a visitor; reading and writing
// walk the same list, so a class writes exactly the keys it reads.
class TbsIniKeyVisitor {
public:
    virtual ~TbsIniKeyVisitor() = default;
    virtual void Integer(const char* Key, int& Field, int Default) = 0;
    virtual void Color(const char* Key, TColor& Field, TColor Default) = 0;
    virtual void Text(const char* Key, std::string& Field, const char* Default) = 0;
    virtual void Rect(const char* Key, TRect& Field) = 0;
    virtual void Point(const char* Key, TPoint& Field) = 0;
    virtual void Boolean(const char* Key, bool& Field) = 0;
    virtual void FontStyles(const char* Key, TFontStyles& Field) = 0;
    virtual void Alignment(const char* Key, TAlignment& Field) = 0;
    virtual void StretchType(const char* Key, TbsStretchType& Field) = 0;
    virtual void MorphKind(const char* Key, TbsMorphKind& Field) = 0;
    virtual void Command(const char* Key, TbsStdCommand& Field) = 0;
    // An integer that only a damaged skin holds outside Min .. Max: reading
    // brings it into that range; every other walk sees a plain integer.
    virtual void BoundedInteger(const char* Key, int& Field, int Default, int /*Min*/,
                                int /*Max*/) {
        Integer(Key, Field, Default);
    }
    // A font height in the sense of the logical font, within what text can
    // be drawn at.
    void FontHeight(const char* Key, int& Field, int Default);
    // A thumb length of a scroll bar, 0 meaning unset.
    void ThumbLength(const char* Key, int& Field);
};

// Reads every visited key of one section into its field.
class TbsIniKeyReader : public TbsIniKeyVisitor {
public:
    TbsIniKeyReader(TCustomIniFile& IniFile, std::string Section)
        : FIniFile(IniFile), FSection(std::move(Section)) {}
    void Integer(const char* Key, int& Field, int Default) override;
    void Color(const char* Key, TColor& Field, TColor Default) override;
    void Text(const char* Key, std::string& Field, const char* Default) override;
    void Rect(const char* Key, TRect& Field) override;
    void Point(const char* Key, TPoint& Field) override;
    void Boolean(const char* Key, bool& Field) override;
    void FontStyles(const char* Key, TFontStyles& Field) override;
    void Alignment(const char* Key, TAlignment& Field) override;
    void StretchType(const char* Key, TbsStretchType& Field) override;
    void MorphKind(const char* Key, TbsMorphKind& Field) override;
    void Command(const char* Key, TbsStdCommand& Field) override;
    void BoundedInteger(const char* Key, int& Field, int Default, int Min, int Max) override;

private:
    TCustomIniFile& FIniFile;
    std::string FSection;
};

// Writes every visited field under its key into one section.
class TbsIniKeyWriter : public TbsIniKeyVisitor {
public:
    TbsIniKeyWriter(TCustomIniFile& IniFile, std::string Section)
        : FIniFile(IniFile), FSection(std::move(Section)) {}
    void Integer(const char* Key, int& Field, int Default) override;
    void Color(const char* Key, TColor& Field, TColor Default) override;
    void Text(const char* Key, std::string& Field, const char* Default) override;
    void Rect(const char* Key, TRect& Field) override;
    void Point(const char* Key, TPoint& Field) override;
    void Boolean(const char* Key, bool& Field) override;
    void FontStyles(const char* Key, TFontStyles& Field) override;
    void Alignment(const char* Key, TAlignment& Field) override;
    void StretchType(const char* Key, TbsStretchType& Field) override;
    void MorphKind(const char* Key, TbsMorphKind& Field) override;
    void Command(const char* Key, TbsStdCommand& Field) override;

private:
    TCustomIniFile& FIniFile;
    std::string FSection;
};

// Reads every key that Item visits from Section, or writes them there. The
// one walk serves element classes and records alike.
template <class TItem>
void ReadVisitedKeys(TItem& Item, TCustomIniFile& IniFile, const std::string& Section) {
    TbsIniKeyReader Reader(IniFile, Section);
    Item.VisitKeys(Reader);
}
template <class TItem>
void WriteVisitedKeys(TItem& Item, TCustomIniFile& IniFile, const std::string& Section) {
    TbsIniKeyWriter Writer(IniFile, Section);
    Item.VisitKeys(Writer);
}
