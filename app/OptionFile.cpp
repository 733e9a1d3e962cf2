#include "app/OptionFile.h"

#include "platform/core/Conversions.h"
#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFiles.h"
#include "platform/core/Paths.h"

#include <array>
#include <utility>

namespace {

constexpr const char* ProductFolder = "Ostrela视频软件";
// The program carries the stored skins 0 to 10.
constexpr int LastSkinIndex = 10;

// The value as a whole decimal number in [Low, High], or nothing.
std::optional<int> NumberIn(const std::optional<std::string>& Value, int Low, int High) {
    if (!Value)
        return std::nullopt;
    int Number = 0;
    if (!TryStrToInt(*Value, Number) || IntToStr(Number) != *Value || Number < Low || Number > High)
        return std::nullopt;
    return Number;
}

// A key of [Options]: its value when it lies in [Low, High], else Default,
// written back.
int ReadChoice(const TOptionFile& File, const char* Key, int Low, int High, int Default) {
    if (std::optional<int> Number = NumberIn(File.Read("Options", Key), Low, High))
        return *Number;
    File.Write("Options", Key, IntToStr(Default));
    return Default;
}

// A folder from a key: created when missing and used; the default created,
// written and used when there is none.
std::string ReadFolder(const TOptionFile& File, const char* Section, const char* Key,
                       const std::string& Default) {
    std::optional<std::string> Stored = File.Exists() ? File.Read(Section, Key) : std::nullopt;
    if (Stored) {
        if (!DirectoryExists(*Stored))
            ForceDirectories(*Stored);
        return *Stored;
    }
    ForceDirectories(Default);
    File.Write(Section, Key, Default);
    return Default;
}

} // namespace

TOptionFile::TOptionFile(std::string ProgramFolder)
    : FProgramFolder(IncludeTrailingPathDelimiter(ProgramFolder)) {}

bool TOptionFile::Exists() const {
    return FileExists(Path());
}

std::optional<std::string> TOptionFile::Read(const std::string& Section,
                                             const std::string& Key) const {
    TIniFile Ini(Path());
    std::string Value = Ini.ReadString(Section, Key, "Error");
    if (Value.empty() || Value == "Error")
        return std::nullopt;
    return Value;
}

void TOptionFile::Write(const std::string& Section, const std::string& Key,
                        const std::string& Value) const {
    TIniFile Ini(Path());
    Ini.WriteString(Section, Key, Value);
}

std::string TOptionFile::DefaultOutputFolder() const {
    std::string Home = GetEnvironmentVariable("HOME");
    std::string Base = Home.empty() ? FProgramFolder : IncludeTrailingPathDelimiter(Home);
    return Base + ProductFolder + "/输出";
}

std::string TOptionFile::DefaultSnapshotFolder() const {
    std::string Home = GetEnvironmentVariable("HOME");
    std::string Base = Home.empty() ? FProgramFolder : IncludeTrailingPathDelimiter(Home);
    return Base + ProductFolder + "/快照";
}

TOptionsSection ReadOptionsSection(const TOptionFile& File) {
    TOptionsSection Options;
    if (!File.Exists()) {
        // Nothing wrote the file yet: the defaults, with the count "not chosen".
        File.Write("Options", "Thread_Count", "0");
        File.Write("Options", "After_Done", "0");
        File.Write("Options", "Show_Preview", "0");
        File.Write("Options", "Thread_Priority", "3");
        File.Write("Options", "Overwrite_File", "1");
        return Options;
    }
    // A count the user confirmed comes back; 0 is the stored "not chosen".
    if (std::optional<int> Count = NumberIn(File.Read("Options", "Thread_Count"), 0, 19))
        Options.ThreadCount = *Count == 0 ? 1 : *Count;
    else
        File.Write("Options", "Thread_Count", "0");
    Options.AfterDone = ReadChoice(File, "After_Done", 0, 3, 0);
    Options.Priority = ReadChoice(File, "Thread_Priority", 0, 3, 3);
    Options.OverwriteFile = ReadChoice(File, "Overwrite_File", 0, 1, 1) == 0;
    Options.ShowPreview = ReadChoice(File, "Show_Preview", 0, 1, 0) == 1;
    return Options;
}

void WriteOptionsSection(const TOptionFile& File, const TOptionsSection& Options) {
    File.Write("Options", "Thread_Count", IntToStr(Options.ThreadCount));
    File.Write("Options", "After_Done", IntToStr(Options.AfterDone));
    File.Write("Options", "Show_Preview", Options.ShowPreview ? "1" : "0");
    File.Write("Options", "Thread_Priority", IntToStr(Options.Priority));
    File.Write("Options", "Overwrite_File", Options.OverwriteFile ? "0" : "1");
}

std::string ReadOutPathSection(const TOptionFile& File, std::string* Refused) {
    if (Refused)
        Refused->clear();
    const std::string Default = File.DefaultOutputFolder();
    auto UseDefault = [&] {
        ForceDirectories(Default);
        File.Write("OutPath", "OutPath", Default);
        return Default;
    };
    try {
        std::optional<std::string> Stored =
            File.Exists() ? File.Read("OutPath", "OutPath") : std::nullopt;
        if (!Stored)
            return UseDefault();
        if (!DirectoryExists(*Stored))
            ForceDirectories(*Stored);
        if (DirectoryExists(*Stored))
            return *Stored;
        // No output could ever be written there, and every add would fail
        // on it: the default takes its place in the file too.
        if (Refused)
            *Refused = *Stored;
        return UseDefault();
    } catch (const Exception&) {
        // One more try with the default; a second failure ends the step.
        return UseDefault();
    }
}

void WriteOutPathSection(const TOptionFile& File, const std::string& Folder) {
    if (DirectoryExists(Folder))
        File.Write("OutPath", "OutPath", Folder);
}

std::optional<int> ReadSkinSection(const TOptionFile& File) {
    if (!File.Exists()) {
        File.Write("Skin", "SetSkin", "0");
        return std::nullopt;
    }
    if (std::optional<int> Index = NumberIn(File.Read("Skin", "SetSkin"), 0, LastSkinIndex))
        return *Index;
    // Missing, no integer or no stored skin: a bad value gives way to the
    // default, in the file as well, so it is not met again at every start.
    File.Write("Skin", "SetSkin", "0");
    return 0;
}

void WriteSkinSection(const TOptionFile& File, int SkinIndex) {
    File.Write("Skin", "SetSkin", IntToStr(SkinIndex));
}

std::string ReadSnapshotFolder(const TOptionFile& File) {
    return ReadFolder(File, "SnapShot", "Dir", File.DefaultSnapshotFolder());
}

void WriteSnapshotFolder(const TOptionFile& File, const std::string& Folder) {
    if (DirectoryExists(Folder))
        File.Write("SnapShot", "Dir", Folder);
}

std::string ReadSnapshotPicture(const TOptionFile& File) {
    static constexpr std::array<const char*, 4> Types = {"BMP", "JPG", "GIF", "PNG"};
    if (File.Exists())
        if (std::optional<std::string> Stored = File.Read("SnapShot", "Picture"))
            for (const char* Type : Types)
                if (*Stored == Type)
                    return Type;
    File.Write("SnapShot", "Picture", "BMP");
    return "BMP";
}

void WriteSnapshotPicture(const TOptionFile& File, const std::string& Type) {
    File.Write("SnapShot", "Picture", Type);
}
