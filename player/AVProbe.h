// The media prober: opens a file through FFmpeg, or adopts an input another
// component has opened, and describes it in plain records and a text report.
// On files it opened itself, TAVProbe also decodes single video frames,
// seeks, steps between frames and copies the picture into a bitmap.
//
// An adopted context (SetFileHandle) stays its owner's: the prober never
// closes, seeks, decodes from or writes into it. Failures answer false (or a
// reset record) and keep their text in LastErrMsg; only missing libraries
// and decoding an adopted context raise. One thread at a time per prober;
// the decoder is opened and closed under CodecLock. The libraries stay
// loaded until every prober is destroyed.
#pragma once

#include "media/FFBaseComponent.h"
#include "media/FFUtils.h"

#include <cstdint>
#include <string>
#include <vector>

// A stream's time base fit for arithmetic: a zero denominator is replaced.
// Only the copy is repaired; the stream may be read by its owner's threads
// at the same time.
AVRational UsableTimeBase(AVRational ATimeBase);

// A single picture rather than a clip: this FFmpeg opens one with a
// "<codec>_pipe" demuxer rather than "image2". The prober and the player
// both go by it.
bool IsPictureInputFormat(const std::string& AFormatName);

struct TFileStreamInfo {
    std::int64_t StartTime = -1; // microseconds; -1 when unknown
    std::int64_t Duration = -1;  // microseconds; -1 when unknown
    int BitRate = -1;
    std::int64_t TimeStamp = -1; // Unix seconds of the "creation_time" tag, else 0
    int Year = -1;
    int Track = -1;
    std::string Title, Author, Copyright, Comment, Album, Genre;
};

// StartTime and Duration are in the stream's time base, AV_NOPTS_VALUE
// included; the ...Scaled fields are the same in microseconds (-1 when
// unknown). A reset record has empty texts and -1 everywhere else.
struct TAudioStreamInfo {
    std::string Language;
    std::string CodecName;
    std::int64_t StartTime = -1;
    std::int64_t StartTimeScaled = -1;
    std::int64_t Duration = -1;
    std::int64_t DurationScaled = -1;
    int BitRate = -1;
    int Channels = -1;
    int SampleRate = -1;
    int SampleFormat = -1; // AVSampleFormat
};

struct TVideoStreamInfo {
    std::string Language;
    std::string CodecName;
    std::int64_t StartTime = -1;
    std::int64_t StartTimeScaled = -1;
    std::int64_t Duration = -1;
    std::int64_t DurationScaled = -1;
    int BitRate = -1;
    int Height = -1;
    int Width = -1;
    float AspectRatio = -1.0f;
    int PixFmt = -1; // AVPixelFormat
    AVRational FrameRate = {-1, -1};
};

struct TSubtitleStreamInfo {
    std::string Language;
    std::string CodecName;
};

// The last decoded frame. Buffer belongs to the prober and survives resets.
struct TFrameInfo {
    int PixFmt = -1;
    int Width = -1;
    int Height = -1;
    bool IsKeyFrame = false;
    TPictureType PictureType = ptUnknown;
    std::int64_t PTS = AV_NOPTS_VALUE; // microseconds from the stream's start
    std::int64_t OriginalDTS = AV_NOPTS_VALUE;
    std::int64_t OriginalPTS = AV_NOPTS_VALUE;
    int StreamIndex = -1;
    std::int64_t Position = -1; // byte position of the input when the decode began
    bool Ready = false;
    TAVPicture Picture; // over Buffer
    std::uint8_t* Buffer = nullptr;
    int Size = 0;
};

class TCustomAVProbe : public TFFBaseComponent {
public:
    explicit TCustomAVProbe(TComponent* AOwner);
    ~TCustomAVProbe() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& APath);
    void UnloadAVLib();

    // Opens AFileName; an empty AFormatName lets FFmpeg find the format.
    bool LoadFile(const std::string& AFileName, const std::string& AFormatName = "");
    virtual void CloseFile();

    AVFormatContext* FileHandle() const { return FFileHandle; }
    // Raises when a library is missing; otherwise closes what the prober
    // held and describes AValue without owning it.
    virtual void SetFileHandle(AVFormatContext* AValue);

    std::string FileName() const;
    std::int64_t FileSize() const { return FFileSize; }
    const std::string& ForceFormat() const { return FForceFormat; }
    std::string FormatName() const;
    std::string FormatLongName() const;
    int StreamCount() const { return FStreamCount; }
    int ProgramCount() const { return FProgramCount; }
    int AudioStreamCount() const { return FAudioStreamCount; }
    int VideoStreamCount() const { return FVideoStreamCount; }
    int SubtitleStreamCount() const { return FSubtitleStreamCount; }
    int FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    int FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    int FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }

    TFileStreamInfo FileStreamInfo();
    // The report; built afresh on every call.
    std::string FileInfoText();
    TAudioStreamInfo FirstAudioStreamInfo();
    TVideoStreamInfo FirstVideoStreamInfo();
    TSubtitleStreamInfo FirstSubtitleStreamInfo();

    bool IsAudioStream(int AStreamIndex);
    bool IsVideoStream(int AStreamIndex);
    bool IsSubtitleStream(int AStreamIndex);
    // A negative index means the first stream of the kind. False leaves the
    // record reset, with the reason in LastErrMsg.
    bool GetAudioStreamInfo(int AStreamIndex, TAudioStreamInfo& AInfo);
    bool GetVideoStreamInfo(int AStreamIndex, TVideoStreamInfo& AInfo);
    bool GetSubtitleStreamInfo(int AStreamIndex, TSubtitleStreamInfo& AInfo);

protected:
    virtual void CountStreams();
    // Logs AMsg at the FFmpeg level ALevel and keeps it in LastErrMsg.
    void ReportError(int ALevel, const std::string& AMsg);
    // A trace line: logged, not kept.
    void Trace(int ALevel, const std::string& AMsg);
    void CheckLibraries();
    // The stream when a file is open and the index is a stream of that
    // codec type; otherwise null with the reason reported.
    AVStream* StreamOfKind(int AStreamIndex, AVMediaType AType, int AFirstIndex);

    AVFormatContext* FFileHandle = nullptr;
    bool FOwnHandle = false;
    std::string FLastErrMsg;
    std::string FForceFormat;
    std::int64_t FFileSize = -1;
    int FStreamCount = -1;
    int FProgramCount = -1;
    int FAudioStreamCount = -1;
    int FVideoStreamCount = -1;
    int FSubtitleStreamCount = -1;
    int FFirstAudioStreamIndex = -1;
    int FFirstVideoStreamIndex = -1;
    int FFirstSubtitleStreamIndex = -1;

private:
    bool StreamIndexValid(int AStreamIndex);
    bool IsStreamOfType(int AStreamIndex, AVMediaType AType);
    void AddMetadataLines(std::vector<std::string>& ALines, const AVDictionary* AMetadata,
                          const std::string& AIndent);
    void AddStreamLine(std::vector<std::string>& ALines, int AStreamIndex);
};

class TAVProbe : public TCustomAVProbe {
public:
    explicit TAVProbe(TComponent* AOwner);
    ~TAVProbe() override;

    void CloseFile() override;

    // The property EOF; the C library owns that name as a macro.
    bool Eof() const { return FEOF; }
    const TFrameInfo& FrameInfo() const { return FPicture; }
    // The byte position of the input's read buffer; -1 when there is none.
    std::int64_t Position();

    // APTS in microseconds (bytes with sfByte).
    bool Seek(std::int64_t APTS, TSeekFlags ASeekFlags);
    // A negative index means the stream decoded last, else the first video
    // stream.
    bool Decode(int AStreamIndex = -1);
    bool DecodeNextKeyFrame(int AStreamIndex = -1);
    bool DecodePreviousKeyFrame(int AStreamIndex = -1);
    bool DecodePreviousFrame(int AStreamIndex = -1);
    bool CopyToBitmap(TBitmap* ABitmap);

protected:
    void CountStreams() override;

    TFrameInfo FPicture;
    TRGBConvertContext FRGBContext;

private:
    void ResetFrameInfo();
    bool CheckOwnHandle();
    bool IsPictureInput() const;
    bool CanSeek();
    int SelectDecodeStream(int AStreamIndex);
    AVCodecContext* OpenDecoder(int AStreamIndex);
    void CloseDecoder();
    bool StorePicture(const AVFrame* AFrame, std::int64_t APosition);
    std::int64_t StepDuration(int AStreamIndex) const;

    AVCodecContext* FCodec = nullptr;
    int FCodecStream = -1;
    bool FDraining = false;
    int FSeekIndex = -1;
    std::int64_t FStartTime = -1;
    int FDecodeIndex = -1;
    bool FEOF = false;
    std::int64_t FLastPTS = AV_NOPTS_VALUE;
    std::int64_t FLastPos = -1;
};
