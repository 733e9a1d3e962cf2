#include "platform/core/IniFiles.h"

#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/core/StringLists.h"
#include "platform/core/Strings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// ---- The parsed text -------------------------------------------------------

// The text of an ini file as lines, grouped by section, with an index of
// the first section of each name and of the first key of each name in a
// section. Lines that are neither headers nor keys stay where they are.
class TIniDocument {
public:
    struct TSection {
        std::string Name;   // between the brackets, trimmed
        std::string Header; // the header line as it was found
        // The lines under the header, without the blank lines that end it.
        std::vector<std::string> Lines;
        int TrailingBlanks = 0;
        // Folded key name -> index in Lines of its first occurrence.
        std::unordered_map<std::string, std::size_t> Keys;
        std::ptrdiff_t LastKeyLine = -1;

        void Reindex();
        const std::string* KeyLine(const std::string& Ident) const;
    };

    static TIniDocument FromBytes(std::string_view Bytes);
    static TIniDocument FromText(std::string_view Text);
    std::vector<std::string> ToLines() const;
    std::string ToText() const;

    const TSection* FindSection(const std::string& Name) const;
    std::optional<std::string> Value(const std::string& Section, const std::string& Ident) const;

    // Each answers whether the text changed.
    bool SetValue(const std::string& Section, const std::string& Ident, const std::string& Value);
    bool EraseSection(const std::string& Section);
    bool DeleteKey(const std::string& Section, const std::string& Ident);

    std::vector<TSection> Sections;
    std::vector<std::string> Preamble; // lines before the first header

private:
    void ReindexSections();
    TSection* FindSection(const std::string& Name);

    std::unordered_map<std::string, std::size_t> FSectionIndex;
};

namespace {

std::string Fold(std::string_view Name) {
    return LowerCase(Trim(Name));
}

bool IsBlank(std::string_view Line) {
    return Trim(Line).empty();
}

// "[name]" with blanks around it; text after the closing bracket is ignored.
bool ParseHeader(std::string_view Line, std::string& Name) {
    const std::string trimmed = Trim(Line);
    if (trimmed.empty() || trimmed.front() != '[')
        return false;
    const std::size_t close = trimmed.find(']');
    if (close == std::string::npos)
        return false;
    Name = Trim(std::string_view(trimmed).substr(1, close - 1));
    return true;
}

// "key=value" outside comments; a line without a key name is not a key, and
// neither is a "[" line that lacks its closing bracket.
bool ParseKey(std::string_view Line, std::string& Key, std::string* Value = nullptr) {
    const std::string_view start =
        Line.substr(std::min(Line.size(), Line.find_first_not_of(" \t\r\n\v\f")));
    if (start.empty() || start.front() == ';' || start.front() == '[')
        return false;
    const std::size_t equals = start.find('=');
    if (equals == std::string_view::npos)
        return false;
    Key = Trim(start.substr(0, equals));
    if (Key.empty())
        return false;
    if (Value)
        *Value = Trim(start.substr(equals + 1));
    return true;
}

// A line break inside a name or value would let a caller's text become new
// keys or sections of the file, so breaks are written as blanks.
std::string OneLine(std::string_view Text) {
    std::string out(Text);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

std::vector<std::string> SplitLines(std::string_view Text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\r' && Text[i] != '\n')
            continue;
        lines.emplace_back(Text.substr(start, i - start));
        if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < Text.size())
        lines.emplace_back(Text.substr(start));
    return lines;
}

std::int64_t Nanoseconds(const timespec& Time) {
    return static_cast<std::int64_t>(Time.tv_sec) * 1000000000 + Time.tv_nsec;
}

// Reads a whole file. Answers 0, or the error number; ENOENT and ENOTDIR
// mean there is no such file.
int ReadWholeFile(const std::string& FileName, std::string& Bytes, struct stat& Info) {
    const int fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::fstat(fd, &Info) != 0)
        error = errno;
    else if (S_ISDIR(Info.st_mode))
        error = EISDIR;
    Bytes.clear();
    if (error == 0 && Info.st_size > 0)
        Bytes.reserve(static_cast<std::size_t>(Info.st_size));
    char buffer[64 * 1024];
    while (error == 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0)
            break;
        Bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return error;
}

bool IsMissing(int Error) {
    return Error == ENOENT || Error == ENOTDIR;
}

} // namespace

void TIniDocument::TSection::Reindex() {
    Keys.clear();
    LastKeyLine = -1;
    std::string key;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (!ParseKey(Lines[i], key))
            continue;
        Keys.try_emplace(LowerCase(key), i);
        LastKeyLine = static_cast<std::ptrdiff_t>(i);
    }
}

const std::string* TIniDocument::TSection::KeyLine(const std::string& Ident) const {
    const auto found = Keys.find(Fold(Ident));
    return found == Keys.end() ? nullptr : &Lines[found->second];
}

TIniDocument TIniDocument::FromBytes(std::string_view Bytes) {
    return FromText(DecodeTextFileBytes(Bytes));
}

TIniDocument TIniDocument::FromText(std::string_view Text) {
    TIniDocument document;
    TSection* current = nullptr;
    std::string name;
    for (std::string& line : SplitLines(Text)) {
        if (ParseHeader(line, name)) {
            current = &document.Sections.emplace_back();
            current->Name = name;
            current->Header = std::move(line);
        } else if (current) {
            current->Lines.push_back(std::move(line));
        } else {
            document.Preamble.push_back(std::move(line));
        }
    }
    for (TSection& section : document.Sections) {
        while (!section.Lines.empty() && IsBlank(section.Lines.back())) {
            section.Lines.pop_back();
            ++section.TrailingBlanks;
        }
        section.Reindex();
    }
    document.ReindexSections();
    return document;
}

std::vector<std::string> TIniDocument::ToLines() const {
    std::vector<std::string> lines = Preamble;
    for (const TSection& section : Sections) {
        lines.push_back(section.Header);
        lines.insert(lines.end(), section.Lines.begin(), section.Lines.end());
        lines.insert(lines.end(), std::max(section.TrailingBlanks, 1), std::string());
    }
    return lines;
}

std::string TIniDocument::ToText() const {
    std::string text;
    for (const std::string& line : ToLines()) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TIniDocument::ReindexSections() {
    FSectionIndex.clear();
    for (std::size_t i = 0; i < Sections.size(); ++i)
        FSectionIndex.try_emplace(LowerCase(Sections[i].Name), i);
}

const TIniDocument::TSection* TIniDocument::FindSection(const std::string& Name) const {
    const auto found = FSectionIndex.find(Fold(Name));
    return found == FSectionIndex.end() ? nullptr : &Sections[found->second];
}

TIniDocument::TSection* TIniDocument::FindSection(const std::string& Name) {
    return const_cast<TSection*>(std::as_const(*this).FindSection(Name));
}

std::optional<std::string> TIniDocument::Value(const std::string& Section,
                                               const std::string& Ident) const {
    const TSection* section = FindSection(Section);
    const std::string* line = section ? section->KeyLine(Ident) : nullptr;
    if (!line)
        return std::nullopt;
    std::string key, value;
    ParseKey(*line, key, &value);
    return value;
}

bool TIniDocument::SetValue(const std::string& Section, const std::string& Ident,
                            const std::string& Value) {
    const std::string ident = Trim(OneLine(Ident));
    const std::string value = OneLine(Value);
    // A line without a key name would never be read back, and every write
    // would add another one.
    if (ident.empty())
        return false;
    TSection* section = FindSection(Section);
    if (!section) {
        // A new section goes at the end, after one empty line; sections end
        // with one already, so only lines before the first section need it.
        if (Sections.empty() && !Preamble.empty() && !IsBlank(Preamble.back()))
            Preamble.emplace_back();
        section = &Sections.emplace_back();
        section->Name = Trim(OneLine(Section));
        section->Header = "[" + section->Name + "]";
        ReindexSections();
    }
    const auto found = section->Keys.find(LowerCase(ident));
    if (found != section->Keys.end()) {
        // Keep the key as it was spelt; only the value changes.
        std::string key;
        ParseKey(section->Lines[found->second], key);
        std::string line = key + "=" + value;
        if (line == section->Lines[found->second])
            return false;
        section->Lines[found->second] = std::move(line);
        return true;
    }
    // After the last key line, so trailing comments stay last; no key line
    // below the insertion point moves, so the index only gains the new key.
    const std::size_t at = section->LastKeyLine >= 0
                               ? static_cast<std::size_t>(section->LastKeyLine + 1)
                               : section->Lines.size();
    section->Lines.insert(section->Lines.begin() + static_cast<std::ptrdiff_t>(at),
                          ident + "=" + value);
    section->Keys.emplace(LowerCase(ident), at);
    section->LastKeyLine = static_cast<std::ptrdiff_t>(at);
    return true;
}

bool TIniDocument::EraseSection(const std::string& Section) {
    const std::string name = Fold(Section);
    const auto removed = std::erase_if(
        Sections, [&](const TSection& section) { return LowerCase(section.Name) == name; });
    if (removed == 0)
        return false;
    ReindexSections();
    return true;
}

bool TIniDocument::DeleteKey(const std::string& Section, const std::string& Ident) {
    TSection* section = FindSection(Section);
    if (!section || !section->KeyLine(Ident))
        return false;
    // Every line of that key goes, so a repeated key cannot reappear.
    const std::string ident = Fold(Ident);
    std::string key;
    std::erase_if(section->Lines, [&](const std::string& line) {
        return ParseKey(line, key) && LowerCase(key) == ident;
    });
    section->Reindex();
    return true;
}

// ---- TCustomIniFile --------------------------------------------------------

TCustomIniFile::TCustomIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

TCustomIniFile::~TCustomIniFile() = default;

std::string TCustomIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                       const std::string& Default) {
    return Document().Value(Section, Ident).value_or(Default);
}

void TCustomIniFile::WriteString(const std::string& Section, const std::string& Ident,
                                 const std::string& Value) {
    Change([&](TIniDocument& document) { return document.SetValue(Section, Ident, Value); });
}

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) {
    const std::optional<std::string> text = Document().Value(Section, Ident);
    int value = 0;
    return text && TryStrToInt(*text, value) ? value : Default;
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const std::string& Section) {
    const TIniDocument::TSection* section = Document().FindSection(Section);
    return section && !section->Keys.empty();
}

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident) {
    return Document().Value(Section, Ident).has_value();
}

void TCustomIniFile::ReadSection(const std::string& Section, TStrings& Strings) {
    const TIniDocument::TSection* section = Document().FindSection(Section);
    Strings.BeginUpdate();
    Strings.Clear();
    if (section) {
        std::string key;
        for (std::size_t i = 0; i < section->Lines.size(); ++i)
            if (ParseKey(section->Lines[i], key) && section->Keys.at(LowerCase(key)) == i)
                Strings.Add(key);
    }
    Strings.EndUpdate();
}

void TCustomIniFile::ReadSections(TStrings& Strings) {
    const TIniDocument& document = Document();
    Strings.BeginUpdate();
    Strings.Clear();
    std::unordered_set<std::string> seen;
    for (const TIniDocument::TSection& section : document.Sections)
        if (seen.insert(LowerCase(section.Name)).second)
            Strings.Add(section.Name);
    Strings.EndUpdate();
}

void TCustomIniFile::ReadSectionValues(const std::string& Section, TStrings& Strings) {
    const TIniDocument::TSection* section = Document().FindSection(Section);
    Strings.BeginUpdate();
    Strings.Clear();
    if (section) {
        std::string key, value;
        for (std::size_t i = 0; i < section->Lines.size(); ++i)
            if (ParseKey(section->Lines[i], key, &value) && section->Keys.at(LowerCase(key)) == i)
                Strings.Add(key + "=" + value);
    }
    Strings.EndUpdate();
}

void TCustomIniFile::EraseSection(const std::string& Section) {
    Change([&](TIniDocument& document) { return document.EraseSection(Section); });
}

void TCustomIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
    Change([&](TIniDocument& document) { return document.DeleteKey(Section, Ident); });
}

void TCustomIniFile::SaveText(const std::string& Text) const {
    if (FFileName.empty() || ReplaceFileContent(FFileName, Text) != 0)
        throw EIniFileException("Unable to write to " + FFileName);
}

// ---- TIniFile --------------------------------------------------------------

TIniFile::TIniFile(std::string FileName) : TCustomIniFile(std::move(FileName)) {}

TIniFile::~TIniFile() = default;

TIniFile::TFileStamp TIniFile::Stamp() const {
    TFileStamp stamp;
    struct stat info {};
    if (::stat(FileName().c_str(), &info) != 0)
        return stamp;
    stamp.Exists = true;
    stamp.Device = info.st_dev;
    stamp.Inode = info.st_ino;
    stamp.Size = static_cast<std::int64_t>(info.st_size);
    stamp.ModifiedNs = Nanoseconds(info.st_mtim);
    stamp.ChangedNs = Nanoseconds(info.st_ctim);
    return stamp;
}

const TIniDocument& TIniFile::Load(bool ForWriting) {
    const TFileStamp before = Stamp();
    if (FCache && before == FCacheStamp)
        return *FCache;

    std::string bytes;
    struct stat info {};
    const int error = ReadWholeFile(FileName(), bytes, info);
    if (error != 0 && !IsMissing(error) && ForWriting)
        throw EIniFileException("Unable to write to " + FileName());
    FCache = std::make_unique<TIniDocument>(error == 0 ? TIniDocument::FromBytes(bytes)
                                                       : TIniDocument());
    // Only a text read whole, or a file that is not there, may be reused.
    FCacheStamp = TFileStamp();
    if (error == 0) {
        FCacheStamp = {true,
                       info.st_dev,
                       info.st_ino,
                       static_cast<std::int64_t>(info.st_size),
                       Nanoseconds(info.st_mtim),
                       Nanoseconds(info.st_ctim)};
    } else if (!IsMissing(error)) {
        FCacheStamp.Size = -1; // never equal to a real stamp: read again next time
    }
    return *FCache;
}

const TIniDocument& TIniFile::Document() {
    return Load(false);
}

void TIniFile::Change(const TEdit& Edit) {
    TIniDocument document = Load(true);
    if (!Edit(document))
        return;
    SaveText(document.ToText());
    *FCache = std::move(document);
    FCacheStamp = Stamp();
}

// ---- TMemIniFile -----------------------------------------------------------

TMemIniFile::TMemIniFile(std::string FileName)
    : TCustomIniFile(std::move(FileName)), FDocument(std::make_unique<TIniDocument>()) {
    if (this->FileName().empty())
        return;
    std::string bytes;
    struct stat info {};
    const int error = ReadWholeFile(this->FileName(), bytes, info);
    // A file that is there but cannot be read must not be taken for an
    // empty one: UpdateFile would then replace it.
    if (error != 0 && !IsMissing(error))
        throw EFOpenError("Cannot open file \"" + this->FileName() + "\". " +
                          SysErrorMessage(error));
    if (error == 0)
        *FDocument = TIniDocument::FromBytes(bytes);
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::GetStrings(TStrings& List) {
    List.BeginUpdate();
    List.Clear();
    for (const std::string& line : FDocument->ToLines())
        List.Add(line);
    List.EndUpdate();
}

void TMemIniFile::SetStrings(const TStrings& List) {
    std::string text;
    for (int i = 0; i < List.Count(); ++i) {
        text += List.Strings(i);
        text += "\n";
    }
    *FDocument = TIniDocument::FromText(text);
}

void TMemIniFile::Clear() {
    *FDocument = TIniDocument();
}

void TMemIniFile::UpdateFile() {
    SaveText(FDocument->ToText());
}

void TMemIniFile::Change(const TEdit& Edit) {
    Edit(*FDocument);
}
