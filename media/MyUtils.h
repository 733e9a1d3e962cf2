// Small routines the media components share, and the routines that bind a
// run-time library's entry points by name.
//
// The binding routines serve the loader (FFmpegLoader) and the per-library
// binding units (AVUtilStubs and friends). CallInMainThread is the one way
// the media components run code on the user-interface thread.
#pragma once

#include "platform/core/DateTime.h"
#include "platform/core/Environment.h"
#include "platform/core/Events.h"

#include <cstdint>
#include <span>
#include <string>

// One entry point of a library table: the exported name and the variable
// that receives its address.
struct TEntryPoint {
    const char* Name;
    void** Var;
};

// Loads Folder + FileName when Folder is not empty and holds the file,
// otherwise the bare FileName through the system's search; ATried receives
// the name that was loaded. Answers the handle, or nullptr with dlerror()'s
// text in AError.
void* LoadLibraryWithPath(const std::string& Folder, const std::string& FileName,
                          std::string& AError, std::string& ATried);

// The address of AName in AHandle. When it is missing and AOptional is false,
// raises Exception "Load function %s@%s error: %s" (entry, library file name,
// dlerror() text); BindVar says "Load variable" instead.
void* BindProc(const std::string& ALibName, void* AHandle, const char* AName,
               bool AOptional = false);
void* BindVar(const std::string& ALibName, void* AHandle, const char* AName,
              bool AOptional = false);

// Binds every entry of a table in order (BindProc, none optional); UnbindEntries
// sets every variable back to null.
void BindEntries(const std::string& ALibName, void* AHandle, std::span<const TEntryPoint> AEntries);
void UnbindEntries(std::span<const TEntryPoint> AEntries);
// How many variables of a table are bound.
int BoundEntryCount(std::span<const TEntryPoint> AEntries);

// The size of a file in bytes; -1 for a missing entry and for a folder.
std::int64_t GetFileSizeByName(const std::string& AFileName);

// GetAppFileName and GetAppPath are the core's routines (Environment.h).

// The text before the first ADelimiter (the whole text when there is none).
// With ARemove, ASource loses the head and the delimiter (or becomes empty).
std::string CutHead(std::string& ASource, const std::string& ADelimiter, bool ARemove);

// "1024 Byte", "1.00 KB", "1.00 MB", "1.00 GB", with the decimal separator of
// the formatting settings.
std::string FormatFileSize(std::int64_t ASize);

// The local time zone's standard offset from UTC in days; daylight saving is
// left out on purpose.
double GetGMTOffset();
TDateTime UnixSecondsToLocalDateTime(std::int64_t ASeconds);
std::string FormatDateTimeStr(const std::string& AFormat, TDateTime ADateTime);

struct MSG;

// Takes one message from the calling thread's queue: a WM_QUIT is removed and
// nothing else, any other message is translated and dispatched. False when
// the queue is empty. PumpMessages repeats until it is.
bool PumpOneMessage(MSG& AMsg);
void PumpMessages();

// Runs AMethod on the user-interface thread and returns when it has run there;
// on that thread it runs at once. An exception of AMethod is raised again in
// the caller. Served by the core's CheckSynchronize.
void CallInMainThread(const TThreadMethod& AMethod);
