// Path routines, folder and file operations and the file search.
//
// Paths use "/" and no drive letters. Wildcard matching in FindFirst ignores
// ASCII case although Linux names are case-sensitive, so "CLIP.AVI" is found
// by "*.avi".
#pragma once

#include "platform/core/DateTime.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

constexpr char PathDelim = '/';

// The empty text gives "/".
std::string IncludeTrailingPathDelimiter(std::string_view Path);
std::string ExcludeTrailingPathDelimiter(std::string_view Path);
// Up to and including the last "/".
std::string ExtractFilePath(std::string_view FileName);
// Up to the last "/", without it.
std::string ExtractFileDir(std::string_view FileName);
// After the last "/".
std::string ExtractFileName(std::string_view FileName);
// From the last "." after the last "/", dot included; "" when none.
std::string ExtractFileExt(std::string_view FileName);
// Replaces or appends the extension; a dot in a folder name is not one.
std::string ChangeFileExt(std::string_view FileName, std::string_view Extension);
// Absolute, from the current folder; "." and ".." resolved by text, links
// not followed.
std::string ExpandFileName(std::string_view FileName);

// A file or a link to one; false for a folder.
bool FileExists(const std::string& FileName);
bool DirectoryExists(const std::string& Directory);
// Both names reach one existing file (same device and inode): spelling,
// links and "." or ".." steps do not matter. False when either is missing.
bool SameFile(const std::string& A, const std::string& B);
// Creates every missing folder; answers whether the folder exists after.
bool ForceDirectories(const std::string& Directory);
bool CreateDir(const std::string& Directory);
bool RemoveDir(const std::string& Directory);
bool DeleteFile(const std::string& FileName);
bool RenameFile(const std::string& OldName, const std::string& NewName);
// One rename that replaces an existing file at once: the new name never goes
// missing on the way. False with errno kept for SysErrorMessage.
bool RenameFileReplacing(const std::string& OldName, const std::string& NewName);
// The current folder is process-wide: worker threads see a change.
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& Directory);

constexpr int faReadOnly = 0x01; // not writable by us
constexpr int faHidden = 0x02;   // name begins with "."
constexpr int faSysFile = 0x04;  // device, pipe, socket
constexpr int faVolumeID = 0x08; // never set
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20; // regular file
constexpr int faSymLink = 0x40;
constexpr int faAnyFile = 0x1FF;

struct TSearchState;

struct TSearchRec {
    TDateTime TimeStamp = 0;
    std::int64_t Size = 0;
    int Attr = 0;
    std::string Name;
    // The open search; FindClose releases it.
    std::shared_ptr<TSearchState> FindHandle;
};

// An entry is returned when its name matches the mask and each of its
// faHidden, faSysFile and faDirectory bits is in Attr. The mask follows the
// MatchesMask rules, except that a bracket stands for itself: brackets are
// common in file names, and a search by a file's own name must find it. "."
// and ".." are reported for every folder but "/". Answers 0 for an entry,
// else the system's error number (ENOENT when nothing more matches).
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
// Safe to call twice.
void FindClose(TSearchRec& F);
