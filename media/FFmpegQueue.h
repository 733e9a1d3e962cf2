// Option and event records of the task-queue component.
//
// A caller describes one input file with TInputOptions and one output file
// with TOutputOptions, resets each with InitInputOptions/InitOutputOptions
// before filling it, and passes it by address; the component keeps copies.
// A field at its reset value leaves the engine's default in place. Times are
// microseconds, and TimeNotGiven (FFmpeg's missing time stamp) means "no time".
// The four event records belong to the component and are valid only during
// the handler's call.
#pragma once

#include "platform/core/DateTime.h"
#include "platform/core/Events.h"
#include "platform/core/Objects.h"

#include <cstdint>
#include <limits>
#include <string>

class TBitmap;

// The smallest 64-bit value, equal to FFmpeg's AV_NOPTS_VALUE.
inline constexpr std::int64_t TimeNotGiven = std::numeric_limits<std::int64_t>::min();

enum TOptionTargetType : std::uint8_t { ttIgnore, ttVCD, ttSVCD, ttDVD };

enum TOptionNormType : std::uint8_t { ntAuto, ntPAL, ntNTSC };

// The subrange ntPAL..ntNTSC of TOptionNormType: it can never hold ntAuto,
// which raises EConvertError "Range check error" on assignment.
class TOptionNormDefault {
public:
    TOptionNormDefault() = default;
    TOptionNormDefault(TOptionNormType Value); // NOLINT: assigned like the enumeration
    operator TOptionNormType() const { return FValue; }

private:
    TOptionNormType FValue = ntPAL;
};

struct TInputOptions {
    std::string FileName;
    std::string FileFormat;
    std::int64_t TimeStart = TimeNotGiven;
    std::int32_t ProgramID = -1;
    std::string ExtOptions;
    std::int32_t Tag = 0;
    void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

// The metadata written into an output. Texts are UTF-8, which is what FFmpeg
// expects of metadata.
struct TStreamInfo {
    TDateTime TimeStamp = -1.0; // local; exactly 0 = when the output is created
    std::int32_t Year = -1;
    std::int32_t Track = -1;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

struct TOutputOptions {
    std::string FileName;
    std::string FileExt;
    std::string FileFormat;
    std::int32_t PacketSize = -1;
    std::int32_t MuxRate = -1;
    float MuxDelay = -1.0f;
    float MuxPreload = -1.0f;
    std::string AudioCodec;
    std::string AudioPreset;
    bool DisableAudio = false;
    std::int32_t AudioVolume = -1;
    std::int32_t AudioChannels = -1;
    std::int32_t AudioSampleRate = -1;
    std::int32_t AudioBitrate = -1;
    std::int32_t AudioBitRateTolerance = -1;
    std::string AudioLanguage;
    std::int32_t AudioSyncMethod = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string FrameAspectRatio;
    std::int32_t CropTop = -1;
    std::int32_t CropBottom = -1;
    std::int32_t CropLeft = -1;
    std::int32_t CropRight = -1;
    std::int32_t GroupPictureSize = -1;
    std::int32_t VideoBitrate = -1;
    std::int32_t VideoMaxRate = -1;
    std::int32_t VideoMinRate = -1;
    std::int32_t VideoBitRateTolerance = -1;
    std::int32_t VideoBufSize = -1;
    std::int32_t VideoSyncMethod = -1;
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    std::int64_t TimeStart = TimeNotGiven;
    std::int64_t TimeLength = TimeNotGiven;
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    bool CustomHook = false;
    bool Join = false;
    std::string ExtOptions;
    std::int32_t Tag = 0;
    void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

struct TProgressInfo {
    std::int32_t TaskIndex = 0;
    std::int32_t FileIndex = 0; // -1 in a task's final report
    std::int32_t FrameNumber = 0;
    std::int32_t FPS = 0;
    float Quality = 0.0f;
    float BitRate = 0.0f; // kbit/s
    std::int64_t CurrentSize = 0;
    std::int64_t CurrentDuration = 0;
    std::int64_t TotalDuration = 0; // -1 when no duration is known
};
using PProgressInfo = TProgressInfo*;

struct TTerminateInfo {
    std::int32_t TaskIndex = 0; // -1 = every task of the run has ended
    bool Finished = false;
    bool Exception = false;
    std::string ExceptionMsg;
};

struct TPreviewInfo {
    std::int32_t TaskIndex = 0;
    TBitmap* Bitmap = nullptr; // owned by the task's engine
    std::int32_t FrameNumber = 0;
    std::int64_t PTS = 0;
};

struct THookInfo {
    std::int32_t TaskIndex = 0;
    TBitmap* Bitmap = nullptr; // owned by the engine
    std::int32_t FrameNumber = 0;
    std::int64_t PTS = 0;
    bool Update = true;    // in and out: false leaves the picture as decoded
    bool StopHook = false; // in and out: true stops the hook for the rest of the task
};
using PHookInfo = THookInfo*;

using TProgressEvent = TMethod<void(TObject* Sender, PProgressInfo AProgressInfo)>;
using TTerminateEvent = TMethod<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
using TPreviewBitmapEvent = TMethod<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;
using TCustomHookEvent = TMethod<void(TObject* Sender, PHookInfo AHookInfo)>;

void InitInputOptions(TInputOptions& AOptions);
void InitOutputOptions(TOutputOptions& AOptions);
