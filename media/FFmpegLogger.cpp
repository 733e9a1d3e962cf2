#include "media/FFmpegLogger.h"

#include "media/AVUtilStubs.h"
#include "media/CodecLock.h"
#include "media/MyUtilStubs.h"
#include "media/MyUtils.h"
#include "platform/core/Conversions.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cstdarg>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

// FFmpeg's messages above this level are dropped by the callback.
std::atomic<int> Threshold{32};

// The one logger, and a serial number that tells a queued line whether the
// logger it was meant for still exists.
std::mutex LoggerLock;
TFFLogger* TheLogger = nullptr;
std::uint64_t LoggerSerial = 0;

// The text each thread has sent since its last line feed. Items stay until
// the list is cleared; a thread finds its item under the lock and then
// touches only its own item.
struct TLogItem {
    std::string LogMsg;
};

class TLogList {
public:
    TLogItem& ItemOfThread(TThreadID AThreadID) {
        std::lock_guard Guard(FLock);
        std::unique_ptr<TLogItem>& Item = FItems[AThreadID];
        if (!Item)
            Item = std::make_unique<TLogItem>();
        return *Item;
    }
    void Clear() {
        std::lock_guard Guard(FLock);
        FItems.clear();
    }

private:
    std::mutex FLock;
    std::unordered_map<TThreadID, std::unique_ptr<TLogItem>> FItems;
};

// Never destroyed: FFmpeg may call back while the process ends.
TLogList& PendingLines() {
    static TLogList& List = *new TLogList;
    return List;
}

int FormatInto(char* ABuffer, std::size_t ASize, const char* AFormat, va_list AArgs) {
    // The C library is bound with every set; a lone avutil load still logs.
    auto Formatter = myutil::vsnprintf ? myutil::vsnprintf : &::vsnprintf;
    return Formatter(ABuffer, ASize, AFormat, AArgs);
}

int PrefixInto(char* ABuffer, std::size_t ASize, void* AContext) {
    const AVClass* Class = *static_cast<const AVClass* const*>(AContext);
    if (!Class)
        return 0;
    const char* Name = Class->item_name ? Class->item_name(AContext) : Class->class_name;
    auto Printer = myutil::snprintf ? myutil::snprintf : &::snprintf;
    const int Used = Printer(ABuffer, ASize, "[%s @ %p]", Name ? Name : "", AContext);
    return Used < 0 ? 0 : std::min(Used, static_cast<int>(ASize) - 1);
}

void CollectLines(void* AContext, int ALevel, const char* AFormat, va_list AArgs) {
    const TThreadID ThreadID = GetCurrentThreadId();
    TLogItem& Item = PendingLines().ItemOfThread(ThreadID);

    std::string Buffer(2048, '\0');
    int Used = 0;
    if (AContext && Item.LogMsg.empty())
        Used = PrefixInto(Buffer.data(), Buffer.size(), AContext);
    // A message longer than the buffer is formatted again into one that fits,
    // so nothing is cut.
    va_list Again;
    va_copy(Again, AArgs);
    const std::size_t Room = Buffer.size() - Used;
    int Length = FormatInto(Buffer.data() + Used, Room, AFormat, AArgs);
    if (Length >= 0 && static_cast<std::size_t>(Length) >= Room) {
        Buffer.resize(Used + Length + 1);
        FormatInto(Buffer.data() + Used, Length + 1, AFormat, Again);
    }
    va_end(Again);
    if (Length < 0)
        Length = 0;
    Item.LogMsg.append(Buffer.data(), Used + Length);

    std::size_t LineFeed;
    while ((LineFeed = Item.LogMsg.find('\n')) != std::string::npos) {
        // Lines are kept as bytes until whole, so a character split over two
        // calls is not torn.
        std::string Line = AVBytesToText(std::string_view(Item.LogMsg).substr(0, LineFeed));
        Item.LogMsg.erase(0, LineFeed + 1);
        // This runs inside FFmpeg's C code, which may hold its own locks: no
        // exception of a handler (or of the delivery) may unwind through it.
        // The line is lost to that handler; the next ones still go out.
        try {
            GetFFLogger()->LogFromAV(ThreadID, ALevel, Line);
        } catch (...) {
        }
    }
}

void AVLogCallback(void* AContext, int ALevel, const char* AFormat, va_list AArgs) {
    if (ALevel > Threshold.load(std::memory_order_relaxed))
        return;
    // Nothing may unwind into FFmpeg's C code, not even a failed allocation.
    try {
        CollectLines(AContext, ALevel, AFormat, AArgs);
    } catch (...) {
    }
}

// The length of the valid UTF-8 sequence at the start of ABytes, 0 when
// there is none.
std::size_t ValidSequenceLength(std::string_view ABytes) {
    const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(ABytes[I]); };
    const unsigned char Lead = Byte(0);
    std::size_t Length;
    unsigned Low = 0x80, High = 0xBF; // allowed range of the second byte
    if (Lead < 0x80)
        return 1;
    if (Lead >= 0xC2 && Lead <= 0xDF)
        Length = 2;
    else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        if (Lead == 0xE0)
            Low = 0xA0; // overlong
        if (Lead == 0xED)
            High = 0x9F; // surrogates
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        if (Lead == 0xF0)
            Low = 0x90;
        if (Lead == 0xF4)
            High = 0x8F;
    } else
        return 0;
    if (ABytes.size() < Length || Byte(1) < Low || Byte(1) > High)
        return 0;
    for (std::size_t I = 2; I < Length; ++I)
        if (Byte(I) < 0x80 || Byte(I) > 0xBF)
            return 0;
    return Length;
}

struct TLevelWord {
    const char* Word;
    int Level;
};

constexpr TLevelWord LevelWords[] = {{"quiet", -8},   {"panic", 0}, {"fatal", 8},    {"error", 16},
                                     {"warning", 24}, {"info", 32}, {"verbose", 40}, {"debug", 48}};

} // namespace

std::string AVBytesToText(std::string_view ABytes) {
    std::string Text;
    Text.reserve(ABytes.size());
    while (!ABytes.empty()) {
        const std::size_t Length = ValidSequenceLength(ABytes);
        if (Length > 0) {
            Text.append(ABytes.substr(0, Length));
            ABytes.remove_prefix(Length);
            continue;
        }
        const unsigned char Byte = static_cast<unsigned char>(ABytes.front());
        Text += static_cast<char>(0xC0 | (Byte >> 6));
        Text += static_cast<char>(0x80 | (Byte & 0x3F));
        ABytes.remove_prefix(1);
    }
    return Text;
}

int LogLevelToAV(TLogLevel ALevel) {
    return (static_cast<int>(ALevel) - 1) * 8;
}

TLogLevel AVToLogLevel(int ALevel) {
    const int Ordinal = ALevel / 8 + 1;
    return static_cast<TLogLevel>(std::clamp(Ordinal, 0, static_cast<int>(llDebug)));
}

namespace {

TComponent* CheckNoLogger(TComponent* AOwner) {
    std::lock_guard Guard(LoggerLock);
    if (TheLogger)
        throw Exception("Allow creating only one instance of TFFLogger.");
    return AOwner;
}

} // namespace

TFFLogger::TFFLogger(TComponent* AOwner) : TFFBaseComponent(CheckNoLogger(AOwner)) {
    std::lock_guard Guard(LoggerLock);
    if (TheLogger) // another thread was quicker
        throw Exception("Allow creating only one instance of TFFLogger.");
    FLogLevel = AVToLogLevel(Threshold.load(std::memory_order_relaxed));
    FSerial = ++LoggerSerial;
    TheLogger = this;
}

TFFLogger::~TFFLogger() {
    std::lock_guard Guard(LoggerLock);
    if (TheLogger == this)
        TheLogger = nullptr;
}

void TFFLogger::SetLogLevel(TLogLevel Value) {
    if (Value == FLogLevel)
        return;
    FLogLevel = Value;
    ApplyLevel();
}

void TFFLogger::ApplyLevel() {
    Threshold.store(LogLevelToAV(FLogLevel), std::memory_order_relaxed);
    if (avutil::av_log_set_level)
        avutil::av_log_set_level(LogLevelToAV(FLogLevel));
}

void TFFLogger::InstallAVLogCallback() {
    Assert(avutil::av_log_set_callback != nullptr && avutil::av_log_set_level != nullptr);
    avutil::av_log_set_callback(AVLogCallback);
    ApplyLevel();
}

void TFFLogger::OptLogLevel(const std::string& AArg) {
    for (const TLevelWord& Row : LevelWords)
        if (SameText(AArg, Row.Word)) {
            SetLogLevel(AVToLogLevel(Row.Level));
            return;
        }
    SetLogLevel(AVToLogLevel(StrToInt(AArg)));
}

bool TFFLogger::Passes(TLogLevel ALogLevel) const {
    if (!OnLog)
        return false;
    const TLogLevel Current = FLogLevel;
    return ALogLevel <= Current || (ALogLevel == llVerbose && Current != llQuiet);
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const std::string& ALogMsg) {
    if (Passes(ALogLevel))
        Deliver({Sender, GetCurrentThreadId(), ALogLevel, ALogMsg});
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, std::string_view AFormat,
                    std::initializer_list<TVarRec> AArgs) {
    if (Passes(ALogLevel))
        Deliver({Sender, GetCurrentThreadId(), ALogLevel, Format(AFormat, AArgs)});
}

void TFFLogger::LogFromAV(TThreadID AThreadID, int ALevel, const std::string& ALine) {
    if (OnLog)
        Deliver({this, AThreadID, AVToLogLevel(ALevel), ALine});
}

void TFFLogger::Deliver(TLogInfo AInfo) {
    if (!FTriggerEventInMainThread) {
        Fire(AInfo);
        return;
    }
    if (TCodecLock::HeldByCurrentThread() > 0 && GetCurrentThreadId() != MainThreadID()) {
        // Waiting here could deadlock with a user-interface thread that waits
        // for the codec lock; the line follows in order instead.
        const std::uint64_t Serial = FSerial;
        TThread::Queue(nullptr, [Serial, Info = std::move(AInfo)] {
            std::unique_lock Guard(LoggerLock);
            TFFLogger* Logger = TheLogger;
            if (!Logger || Logger->FSerial != Serial)
                return;
            Guard.unlock();
            Logger->Fire(Info);
        });
        return;
    }
    CallInMainThread([this, &AInfo] { Fire(AInfo); });
}

void TFFLogger::Fire(const TLogInfo& AInfo) {
    const TLogEvent Handler = OnLog;
    if (Handler)
        Handler(AInfo.Sender, AInfo.ThreadID, AInfo.LogLevel, AInfo.LogMsg);
}

TFFLogger* GetFFLogger() {
    {
        std::lock_guard Guard(LoggerLock);
        if (TheLogger)
            return TheLogger;
    }
    try {
        return new TFFLogger(nullptr);
    } catch (const Exception&) {
        // Another thread made the logger meanwhile.
        std::lock_guard Guard(LoggerLock);
        return TheLogger;
    }
}

void InitializeLoggerUnit() {
    PendingLines();
}

void FinalizeLoggerUnit() {
    if (avutil::av_log_set_callback && avutil::av_log_default_callback)
        avutil::av_log_set_callback(avutil::av_log_default_callback);
    PendingLines().Clear();
    TFFLogger* Logger;
    {
        std::lock_guard Guard(LoggerLock);
        Logger = TheLogger;
    }
    delete Logger;
}
