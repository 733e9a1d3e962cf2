// option.ini beside the executable: where it is, how a key is read (the
// default "Error" stands for missing, like an empty value), and the reading,
// defaulting and writing rules of each section. Every access opens the file
// for one key and lets it go again, so no copy of it is kept in memory.
// Writes that fail raise the ini file's "Unable to write to …" error.
#pragma once

#include <optional>
#include <string>

class TOptionFile {
public:
    // ProgramFolder: the executable's folder with its trailing "/".
    explicit TOptionFile(std::string ProgramFolder);

    const std::string& ProgramFolder() const { return FProgramFolder; }
    std::string Path() const { return FProgramFolder + "option.ini"; }
    bool Exists() const;

    // The key's text, or nothing when it is missing, empty or "Error".
    std::optional<std::string> Read(const std::string& Section, const std::string& Key) const;
    void Write(const std::string& Section, const std::string& Key, const std::string& Value) const;

    // $HOME/Ostrela视频软件/输出 and …/快照; the program folder stands in for
    // a home folder that is not set.
    std::string DefaultOutputFolder() const;
    std::string DefaultSnapshotFolder() const;

private:
    std::string FProgramFolder;
};

// [Options] as the options dialog shows it.
struct TOptionsSection {
    int ThreadCount = 1; // 1 to 19, the thread-count list's text
    int AfterDone = 0;   // 0 open the output folder, 1 shut down, 2 sound, 3 nothing
    bool ShowPreview = false;
    int Priority = 3;           // 0 idle, 1 lowest, 2 lower, 3 normal
    bool OverwriteFile = false; // true: an existing output is overwritten
};

// Reads [Options], writing back the default of every key that is missing
// or holds something else. A stored thread count of 1 to 19 is kept and
// shown; 0 shows 1.
TOptionsSection ReadOptionsSection(const TOptionFile& File);
// Writes Thread_Count, After_Done, Show_Preview, Thread_Priority and
// Overwrite_File in this order.
void WriteOptionsSection(const TOptionFile& File, const TOptionsSection& Options);

// The output folder from [OutPath]: a stored folder is created when missing
// and used; without one, or when the stored one cannot be created, the
// default folder is created, written and used, also after a failed step.
// Refused, when given, receives the stored folder that gave way (else empty).
std::string ReadOutPathSection(const TOptionFile& File, std::string* Refused = nullptr);
// Writes the folder only when it is an existing folder.
void WriteOutPathSection(const TOptionFile& File, const std::string& Folder);

// The stored skin to choose, or nothing when the skin loaded with the form
// stays (no file yet: "0" is written). A value that is missing, no integer
// or outside the stored skins 0 to 10 is written back as "0" and chooses
// skin 0.
std::optional<int> ReadSkinSection(const TOptionFile& File);
void WriteSkinSection(const TOptionFile& File, int SkinIndex);

// The snapshot folder from [SnapShot] Dir, created when missing; without a
// stored one the default folder is created, written and used.
std::string ReadSnapshotFolder(const TOptionFile& File);
// Writes the folder only when it is an existing folder.
void WriteSnapshotFolder(const TOptionFile& File, const std::string& Folder);

// The snapshot picture type "BMP", "JPG", "GIF" or "PNG"; anything else, or
// nothing, is written back as "BMP".
std::string ReadSnapshotPicture(const TOptionFile& File);
void WriteSnapshotPicture(const TOptionFile& File, const std::string& Type);
