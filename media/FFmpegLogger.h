// The process-wide logger: FFmpeg's own messages and the media components'
// messages, each whole line handed to OnLog.
//
// FFmpeg's callback assembles lines per thread (a line may come in several
// calls) and is the only filter for FFmpeg's messages: anything above the
// threshold costs one comparison. Each delivered line gets its own record.
// With TriggerEventInMainThread the event runs on the user-interface thread
// and the logging thread waits, except that a thread holding the codec lock
// only queues its line: the user-interface thread may be waiting for that
// lock.
#pragma once

#include "media/FFBaseComponent.h"
#include "platform/core/Events.h"
#include "platform/core/Format.h"
#include "platform/core/Threads.h"

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

enum TLogLevel : std::uint8_t {
    llQuiet,
    llPanic,
    llFatal,
    llError,
    llWarning,
    llInfo,
    llVerbose,
    llDebug
};

struct TLogInfo {
    TObject* Sender = nullptr;
    TThreadID ThreadID = 0;
    TLogLevel LogLevel = llInfo;
    std::string LogMsg;
};

using TLogEvent = TMethod<void(TObject* Sender, TThreadID AThreadID, TLogLevel ALogLevel,
                               const std::string& ALogMsg)>;

// FFmpeg level = (ordinal - 1) * 8.
int LogLevelToAV(TLogLevel ALevel);
// Ordinal = level / 8 (toward zero) + 1, clamped to llQuiet..llDebug.
TLogLevel AVToLogLevel(int ALevel);

class TFFLogger : public TFFBaseComponent {
public:
    // Raises Exception "Allow creating only one instance of TFFLogger." when
    // a logger exists already.
    explicit TFFLogger(TComponent* AOwner);
    ~TFFLogger() override;

    TLogLevel LogLevel() const { return FLogLevel; }
    // Changes FFmpeg's threshold for every job of the process at once.
    void SetLogLevel(TLogLevel Value);
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }

    TLogEvent OnLog;

    // Installs the callback in avutil and applies the level; avutil must be
    // bound (an assertion otherwise).
    void InstallAVLogCallback();
    // The loglevel option: "quiet" ... "debug" in any letter case, or a
    // number (decimal, $ or 0x hexadecimal) that is an FFmpeg level. Another
    // text raises the conversion error.
    void OptLogLevel(const std::string& AArg);

    void Log(TObject* Sender, TLogLevel ALogLevel, const std::string& ALogMsg);
    // The text is formatted only when the message passes the filter.
    void Log(TObject* Sender, TLogLevel ALogLevel, std::string_view AFormat,
             std::initializer_list<TVarRec> AArgs);

    // One whole line of FFmpeg's output, from the callback.
    void LogFromAV(TThreadID AThreadID, int ALevel, const std::string& ALine);

private:
    bool Passes(TLogLevel ALogLevel) const;
    void ApplyLevel();
    void Deliver(TLogInfo AInfo);
    void Fire(const TLogInfo& AInfo);

    std::atomic<TLogLevel> FLogLevel{llInfo};
    std::atomic<bool> FTriggerEventInMainThread{true};
    std::uint64_t FSerial = 0;
};

// The one logger; made without an owner when there is none.
TFFLogger* GetFFLogger();

// FFmpeg's bytes as text: valid UTF-8 stays as it is, each byte of an invalid
// sequence becomes the character of the same code (U+0080..U+00FF).
std::string AVBytesToText(std::string_view ABytes);

// The logger unit's start-up and end steps (InitializeMediaUnits and
// FinalizeMediaUnits call them). The end step puts FFmpeg's default callback
// back first, then drops the pending lines and the logger.
void InitializeLoggerUnit();
void FinalizeLoggerUnit();
