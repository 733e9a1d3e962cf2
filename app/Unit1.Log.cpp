// The log memo's lines.
#include "app/Unit1.h"

#include "platform/core/Conversions.h"

std::string LogMemoText(TThreadID ThreadId, TLogLevel Level, const std::string& Message) {
    return "#" + IntToStr(ThreadId) + "." + IntToStr(static_cast<int>(Level)) + ": " + Message;
}
