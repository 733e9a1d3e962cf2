// The program's main window. At this stage it is the empty titled form the
// program starts with; the converter's controls join it later.
#pragma once

#include "media/FFmpegLogger.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"

#include <cstdint>
#include <string>

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);
};

extern TForm1* Form1;

// A duration in seconds as "HH:MM:SS", hours wrapping at 24; a negative
// duration shows as "00:00:00".
std::string SecToDate(int Sec);

// A size in megabytes to two decimals in the shortest form, with "MB":
// 1572864 bytes are "1.5MB".
std::string MegabyteText(std::int64_t Bytes);

// A logger line as the log memo shows it: "#", the thread id, ".", the
// level's ordinal, ": " and the message.
std::string LogMemoText(TThreadID ThreadId, TLogLevel Level, const std::string& Message);
