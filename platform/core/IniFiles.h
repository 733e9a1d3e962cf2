// Ini files: sections of key=value lines. TIniFile works on the file itself,
// TMemIniFile on a copy of its text held in memory; both follow the same
// rules, because both edit the same parsed form of the text.
//
// - Section and key names ignore ASCII case and surrounding blanks; of
//   repeated sections and keys the first one counts.
// - Comments (";"), blank lines and lines that are neither keys nor
//   headers are kept in place when the text is rewritten.
// - Text is UTF-8 without BOM and CR LF lines; a UTF-8 or UTF-16 BOM is
//   honoured when reading.
// - A file is never written in place: the new text goes to a temporary file
//   in the same folder, which then replaces the old one, so a failed write
//   leaves the old file whole.
#pragma once

#include "platform/core/Objects.h"

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TStrings;
class TIniDocument;

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(std::string FileName);
    ~TCustomIniFile() override;

    const std::string& FileName() const { return FFileName; }

    // A missing key gives Default; a key with an empty value gives "".
    std::string ReadString(const std::string& Section, const std::string& Ident,
                           const std::string& Default);
    void WriteString(const std::string& Section, const std::string& Ident,
                     const std::string& Value);
    // Decimal, or hexadecimal after "0x" or "$", with an optional sign;
    // anything else, and values beyond 32 bits, give Default.
    int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
    void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    // Any integer other than 0 is true; written as "1" or "0".
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

    // True only when the section holds at least one key.
    bool SectionExists(const std::string& Section);
    bool ValueExists(const std::string& Section, const std::string& Ident);

    // Each of these clears Strings first and fills it in file order.
    void ReadSection(const std::string& Section, TStrings& Strings);
    void ReadSections(TStrings& Strings);
    void ReadSectionValues(const std::string& Section, TStrings& Strings);

    void EraseSection(const std::string& Section);
    void DeleteKey(const std::string& Section, const std::string& Ident);

    virtual void UpdateFile() = 0;

protected:
    using TEdit = std::function<bool(TIniDocument&)>;

    // The text as it stands now, for reading.
    virtual const TIniDocument& Document() = 0;
    // Applies Edit to the text; Edit answers whether it changed anything.
    virtual void Change(const TEdit& Edit) = 0;

    // Writes Text to FileName() through a temporary file; raises
    // EIniFileException "Unable to write to <file>" when that fails.
    void SaveText(const std::string& Text) const;

private:
    std::string FFileName;
};

// Reads and writes the file on every call. Reads reuse the parsed text
// while the file's identity, size and modification time are unchanged, so
// reading a large file key by key stays cheap and a change made by anybody
// else is still seen at the next read.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(std::string FileName);
    ~TIniFile() override;

    // Every write already reached the file.
    void UpdateFile() override {}

protected:
    const TIniDocument& Document() override;
    void Change(const TEdit& Edit) override;

private:
    struct TFileStamp {
        bool Exists = false;
        dev_t Device = 0;
        ino_t Inode = 0;
        std::int64_t Size = 0;
        std::int64_t ModifiedNs = 0;
        std::int64_t ChangedNs = 0;
        bool operator==(const TFileStamp&) const = default;
    };

    // Loads the file unless the cached text is still current. With
    // ForWriting, a file that exists but cannot be read raises instead of
    // reading as empty, so that a write never replaces what it could not see.
    const TIniDocument& Load(bool ForWriting);
    TFileStamp Stamp() const;

    std::unique_ptr<TIniDocument> FCache;
    TFileStamp FCacheStamp;
};

// Holds the text in memory (loaded from FileName when that file exists);
// UpdateFile writes it back.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(std::string FileName = {});
    ~TMemIniFile() override;

    // The whole text: lines before the first section, then every section as
    // its "[name]" line, its lines and one empty line.
    void GetStrings(TStrings& List);
    void SetStrings(const TStrings& List);
    void Clear();
    void UpdateFile() override;

protected:
    const TIniDocument& Document() override { return *FDocument; }
    void Change(const TEdit& Edit) override;

private:
    std::unique_ptr<TIniDocument> FDocument;
};
