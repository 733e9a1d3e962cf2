// FFmpeg-facing routines the engine, the prober and the player share: times,
// error texts, the option store, whole-file reading, metadata, codec names.
// The libraries must be loaded (FFmpegLoader) before any of them is called.
#pragma once

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/SwScaleStubs.h"
#include "platform/gdi/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// "hh:mm:ss.zzz" of a time in microseconds; "N/A" for FFmpeg's missing time.
std::string FormatTimeUS(std::int64_t ATime);
// One frame at ARate, in microseconds; 40000 (25 frames a second) when the
// rate has a zero part.
std::int64_t FrameDurationUS(AVRational ARate);

// The time base of microseconds, FFmpeg's AV_TIME_BASE_Q; that macro is a C
// compound literal, which C++ cannot use.
inline constexpr AVRational MicrosecondsBase{1, AV_TIME_BASE};
// AName + ": " + the text of an FFmpeg error code.
std::string FormatAVError(const std::string& AName, int ACode);

// What an option entry is for: a codec context of media type 0-4, the
// format context or the scaler.
enum TFFOptionTarget : std::uint8_t {
    otVideo = AVMEDIA_TYPE_VIDEO,
    otAudio = AVMEDIA_TYPE_AUDIO,
    otData = AVMEDIA_TYPE_DATA,
    otSubtitle = AVMEDIA_TYPE_SUBTITLE,
    otAttachment = AVMEDIA_TYPE_ATTACHMENT,
    otFormat,
    otScaler
};

struct TFFOptionEntry {
    TFFOptionTarget Target;
    std::string Name;  // as FFmpeg's table spells it ("vb" is recorded as "b")
    std::string Value; // as the scratch object holds it after every setting
    int Flags;         // the option's AV_OPT_FLAG_* bits
    bool Private;      // an option of the named encoder or muxer only
};

// The options given by name to one engine, checked against FFmpeg's tables
// on scratch objects that are never opened. A name given again updates its
// entry, which keeps its place.
struct TFFOptions {
    std::vector<TFFOptionEntry> entries;
    AVCodecContext* avcodec_opts[5] = {};
    AVFormatContext* avformat_opts = nullptr;
    SwsContext* sws_opts = nullptr;
    // Scratch objects of the encoders named so far, by media type, and of
    // the muxer: they carry those coders' private options.
    AVCodecContext* encoder_opts[5] = {};
    AVFormatContext* muxer_opts = nullptr;
};

void InitOptions(TFFOptions& AOptions);
void AllocOptions(TFFOptions& AOptions, int ASwsFlags);
void FreeOptions(TFFOptions& AOptions);
// The encoder whose private options the media type's options may name; null
// drops it.
void SetEncoder(TFFOptions& AOptions, int AMediaType, const AVCodec* ACodec);
void SetMuxer(TFFOptions& AOptions, const AVOutputFormat* AMuxer);

// Records an option given by name: the codec contexts (by media type), the
// format context, the scaler, the named encoders' and muxer's private
// options, then "a"/"v"/"s" + the rest of the name. False for an empty name
// or value, an unknown name and a store not allocated; a rejected value also
// logs FFmpeg's "Invalid value" line.
bool SetOptionDefault(TFFOptions& AOptions, const std::string& AName, const std::string& AValue);

// Replays, in recorded order, the entries of AKind whose flags hold every bit
// of AFlags onto an allocated, not yet opened codec or format context. A
// value the target rejects is left to FFmpeg's own log line.
void ApplyContextOptions(const TFFOptions& AOptions, void* ATarget, TFFOptionTarget AKind,
                         int AFlags);
// The same into a dictionary, for avformat_open_input.
void ApplyContextOptions(const TFFOptions& AOptions, AVDictionary** ADictionary,
                         TFFOptionTarget AKind, int AFlags);

// The whole file plus a terminating zero, in a buffer from av_malloc that the
// caller frees; ASize counts the zero. 0, -1 (cannot be read) or -12 (no
// memory).
int ReadWholeFile(const std::string& AFileName, std::uint8_t*& ABuffer, std::int64_t& ASize);

std::string GetMetadataValue(const AVDictionary* AMetadata, const std::string& AKey,
                             const std::string& ADefault);

// "name(long name)", "mpeg2ts", "XVID / 0x44495658" or "0x0001".
std::string CodecTagText(const AVCodecParameters* AParameters, bool AEncoder);
std::string CodecTagText(const AVCodecContext* AContext, bool AEncoder);

// "Video", "Audio", "Data", "Subtitle", "Attachment", else "Unknown".
std::string MediaTypeName(int AMediaType);

// ---- Frames into bitmaps ---------------------------------------------------

// Plane pointers and line sizes of one picture; the memory belongs to
// whoever filled them.
struct TAVPicture {
    std::uint8_t* data[4] = {};
    int linesize[4] = {};
};

// What a component keeps to turn frames into 24-bit bitmaps, reused frame
// after frame: the bitmap, a buffer that only grows and the cached scaler.
// Everything here is owned by the record and released by ResetRGBContext.
struct TRGBConvertContext {
    TRGBConvertContext() = default;
    TRGBConvertContext(const TRGBConvertContext&) = delete;
    TRGBConvertContext& operator=(const TRGBConvertContext&) = delete;
    ~TRGBConvertContext();

    AVPixelFormat RGBPixFmt = AV_PIX_FMT_BGR24;
    TPixelFormat BMPPixFmt = pf24bit;
    std::unique_ptr<TBitmap> Bitmap;
    std::uint8_t* RGBBuf = nullptr; // av_malloc
    int RGBBufSize = 0;
    TAVPicture RGBPicture;                     // over RGBBuf
    const TAVPicture* RGBPictureRef = nullptr; // the picture whose rows were copied last
    SwsContext* toRGB_convert_ctx = nullptr;
    SwsContext* fromRGB_convert_ctx = nullptr;
};

// Makes ABuffer (from av_malloc) hold at least ANeeded bytes; it only grows,
// so frame after frame of one size allocates once. ASize follows the buffer
// and is 0 when the allocation failed, which returns false.
bool GrowAVBuffer(std::uint8_t*& ABuffer, int& ASize, int ANeeded);

// Frees what the record holds and puts BGR24 and 24 bits back.
void ResetRGBContext(TRGBConvertContext& AContext);
// A bitmap of that size and format whose canvas draws no background.
std::unique_ptr<TBitmap> NewFrameBitmap(int AWidth, int AHeight, TPixelFormat AFormat);
// Puts a picture of AWidth x AHeight in APixFmt into AContext.Bitmap (made on
// first use, sized every call). A picture already laid out as the bitmap's
// rows is copied as it is; anything else goes through the cached scaler.
// False when the size is empty or the scaler refuses the format; the bitmap
// then has the new size but not the picture.
bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, int APixFmt,
                     int AWidth, int AHeight);
