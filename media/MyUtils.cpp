#include "media/MyUtils.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/Paths.h"
#include "platform/core/Threads.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <ctime>

namespace {

std::string LastDlError() {
    const char* Text = dlerror();
    return Text ? Text : "unknown error";
}

void* BindSymbol(const std::string& ALibName, void* AHandle, const char* AName, bool AOptional,
                 const char* AKind) {
    dlerror(); // a stale text must not be mistaken for this lookup's failure
    void* Address = dlsym(AHandle, AName);
    if (!Address && !AOptional)
        throw Exception(Format("Load %s %s@%s error: %s", {AKind, AName, ALibName, LastDlError()}));
    return Address;
}

} // namespace

void* LoadLibraryWithPath(const std::string& Folder, const std::string& FileName,
                          std::string& AError, std::string& ATried) {
    ATried = FileName;
    if (!Folder.empty() && FileExists(IncludeTrailingPathDelimiter(Folder) + FileName))
        ATried = IncludeTrailingPathDelimiter(Folder) + FileName;
    // RTLD_LOCAL keeps each library's symbols out of the global scope: every
    // use goes through the bound variables.
    void* Handle = dlopen(ATried.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!Handle)
        AError = LastDlError();
    return Handle;
}

void* BindProc(const std::string& ALibName, void* AHandle, const char* AName, bool AOptional) {
    return BindSymbol(ALibName, AHandle, AName, AOptional, "function");
}

void* BindVar(const std::string& ALibName, void* AHandle, const char* AName, bool AOptional) {
    return BindSymbol(ALibName, AHandle, AName, AOptional, "variable");
}

void BindEntries(const std::string& ALibName, void* AHandle,
                 std::span<const TEntryPoint> AEntries) {
    for (const TEntryPoint& Entry : AEntries)
        *Entry.Var = BindProc(ALibName, AHandle, Entry.Name);
}

void UnbindEntries(std::span<const TEntryPoint> AEntries) {
    for (const TEntryPoint& Entry : AEntries)
        *Entry.Var = nullptr;
}

int BoundEntryCount(std::span<const TEntryPoint> AEntries) {
    int Count = 0;
    for (const TEntryPoint& Entry : AEntries)
        Count += *Entry.Var != nullptr;
    return Count;
}

std::int64_t GetFileSizeByName(const std::string& AFileName) {
    if (!FileExists(AFileName))
        return -1;
    struct stat Info {};
    if (stat(ExpandFileName(AFileName).c_str(), &Info) != 0)
        return -1;
    return Info.st_size;
}

std::string CutHead(std::string& ASource, const std::string& ADelimiter, bool ARemove) {
    const std::size_t At = ADelimiter.empty() ? std::string::npos : ASource.find(ADelimiter);
    if (At == std::string::npos) {
        std::string Head = ASource;
        if (ARemove)
            ASource.clear();
        return Head;
    }
    std::string Head = ASource.substr(0, At);
    if (ARemove)
        ASource.erase(0, At + ADelimiter.size());
    return Head;
}

std::string FormatFileSize(std::int64_t ASize) {
    constexpr std::int64_t KB = 1024;
    constexpr std::int64_t MB = KB * 1024;
    constexpr std::int64_t GB = MB * 1024;
    const long double Size = static_cast<long double>(ASize);
    if (ASize > GB)
        return Format("%.2f GB", {static_cast<double>(Size / GB)});
    if (ASize > MB)
        return Format("%.2f MB", {static_cast<double>(Size / MB)});
    if (ASize > KB)
        return Format("%.2f KB", {static_cast<double>(Size / KB)});
    return Format("%d Byte", {static_cast<long long>(ASize)});
}

double GetGMTOffset() {
    tzset();
    return -static_cast<double>(::timezone) / SecsPerDay;
}

TDateTime UnixSecondsToLocalDateTime(std::int64_t ASeconds) {
    return static_cast<double>(ASeconds) / SecsPerDay + UnixDateDelta + GetGMTOffset();
}

std::string FormatDateTimeStr(const std::string& AFormat, TDateTime ADateTime) {
    return FormatDateTime(AFormat, ADateTime);
}

void CallInMainThread(const TThreadMethod& AMethod) {
    if (GetCurrentThreadId() == MainThreadID())
        AMethod();
    else
        TThread::Synchronize(nullptr, AMethod);
}
