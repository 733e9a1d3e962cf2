// TAVProbe: single-frame decoding, seeking and stepping on files the prober
// opened itself, and the copy of the current picture into a bitmap.
#include "player/AVProbe.h"

#include "media/CodecLock.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"

#include <memory>

namespace {

struct TFreePacket {
    void operator()(AVPacket* APacket) const { avcodec::av_packet_free(&APacket); }
};
struct TFreeFrame {
    void operator()(AVFrame* AFrame) const { avutil::av_frame_free(&AFrame); }
};

bool EndsWithText(const std::string& AText, const std::string& AEnd) {
    return AText.size() >= AEnd.size() &&
           SameText(std::string_view(AText).substr(AText.size() - AEnd.size()), AEnd);
}

} // namespace

TAVProbe::TAVProbe(TComponent* AOwner) : TCustomAVProbe(AOwner) {
    CountStreams();
}

TAVProbe::~TAVProbe() {
    CloseFile();
    if (FPicture.Buffer)
        avutil::av_free(FPicture.Buffer);
    FPicture.Buffer = nullptr;
    FPicture.Size = 0;
    ResetRGBContext(FRGBContext);
}

void TAVProbe::CloseFile() {
    FSeekIndex = -1;
    FStartTime = -1;
    FDecodeIndex = -1;
    FEOF = false;
    ResetFrameInfo();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
    CloseDecoder();
    ResetRGBContext(FRGBContext);
    TCustomAVProbe::CloseFile();
}

void TAVProbe::CountStreams() {
    TCustomAVProbe::CountStreams();
    FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
    if (!FFileHandle) {
        FStartTime = -1;
        return;
    }
    const std::int64_t Start =
        FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
    FStartTime = Start == AV_NOPTS_VALUE ? 0 : Start;
}

void TAVProbe::ResetFrameInfo() {
    if (FPicture.PTS != AV_NOPTS_VALUE)
        FLastPTS = FPicture.PTS;
    if (FPicture.Position != -1)
        FLastPos = FPicture.Position;
    TFrameInfo Reset;
    Reset.Picture = FPicture.Picture;
    Reset.Buffer = FPicture.Buffer;
    Reset.Size = FPicture.Size;
    FPicture = Reset;
}

bool TAVProbe::CheckOwnHandle() {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, "file not loaded.");
        return false;
    }
    if (FOwnHandle)
        return true;
    const std::string Text = "file cannot be seeked, handle is readonly.";
    ReportError(AV_LOG_WARNING, Text);
    throw Exception(Text);
}

bool IsPictureInputFormat(const std::string& AFormatName) {
    return SameText(AFormatName, "image2") || SameText(AFormatName, "image2pipe") ||
           EndsWithText(AFormatName, "_pipe");
}

bool TAVProbe::IsPictureInput() const {
    return IsPictureInputFormat(FormatName());
}

bool TAVProbe::CanSeek() {
    if (!CheckOwnHandle())
        return false;
    if (IsPictureInput()) {
        ReportError(AV_LOG_INFO, "\"image2\" format cannot to be seeked.");
        return false;
    }
    return true;
}

std::int64_t TAVProbe::Position() {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, "file not loaded.");
        return -1;
    }
    if (!FFileHandle->pb) {
        ReportError(AV_LOG_WARNING, "cannot get position");
        return -1;
    }
    return FFileHandle->pb->pos;
}

bool TAVProbe::Seek(std::int64_t APTS, TSeekFlags ASeekFlags) {
    if (!CanSeek())
        return false;
    AVIOContext* IO = FFileHandle->pb;
    if (IO)
        Trace(AV_LOG_DEBUG, Format("currunt position %d bytes", {static_cast<long long>(IO->pos)}));

    std::int64_t Target = APTS < 0 ? 0 : APTS;
    if (!ASeekFlags.Contains(sfByte)) {
        if (FSeekIndex >= 0)
            Target =
                avutil::av_rescale_q(Target, MicrosecondsBase,
                                     UsableTimeBase(FFileHandle->streams[FSeekIndex]->time_base));
        if (FStartTime > 0)
            Target += FStartTime;
    }

    if (FCodec)
        avcodec::avcodec_flush_buffers(FCodec);
    FDraining = false;
    FEOF = false;
    ResetFrameInfo();

    const int Flags = SeekFlagsToInt(ASeekFlags);
    int Result;
    if (APTS > 0) {
        Result = avformat::av_seek_frame(FFileHandle, FSeekIndex, Target, Flags);
    } else {
        Result = avformat::av_seek_frame(FFileHandle, FSeekIndex, 0, Flags | AVSEEK_FLAG_BACKWARD);
        if (Result < 0)
            Result = avformat::av_seek_frame(FFileHandle, FSeekIndex, APTS,
                                             Flags & ~AVSEEK_FLAG_BACKWARD);
    }
    bool Success = Result >= 0;
    if (!Success) {
        if (ASeekFlags.Contains(sfByte))
            ReportError(AV_LOG_ERROR, Format("could not seek to position %d bytes",
                                             {static_cast<long long>(APTS)}));
        else
            ReportError(AV_LOG_ERROR,
                        Format("could not seek to position %0.3f seconds", {APTS / 1000000.0}));
    }

    if (IO)
        Trace(AV_LOG_DEBUG, Format("seek to position %d bytes", {static_cast<long long>(IO->pos)}));
    if (IO && IO->eof_reached) {
        if (Success)
            ReportError(AV_LOG_INFO, "stream eof reached.");
        FEOF = true;
        Success = false;
    }
    return Success;
}

int TAVProbe::SelectDecodeStream(int AStreamIndex) {
    if (!CheckOwnHandle())
        return -1;
    int Index = AStreamIndex;
    if (Index < 0) {
        Index = FDecodeIndex >= 0 ? FDecodeIndex : FFirstVideoStreamIndex;
        if (Index < 0) {
            ReportError(AV_LOG_ERROR, "no video stream.");
            return -1;
        }
    } else if (Index >= FStreamCount) {
        ReportError(AV_LOG_ERROR, Format("stream index #%d is invalid.", {Index}));
        return -1;
    } else if (FFileHandle->streams[Index]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        ReportError(AV_LOG_ERROR, Format("stream #%d is not video stream.", {Index}));
        return -1;
    }
    if (Index != FDecodeIndex)
        ResetFrameInfo();
    FDecodeIndex = Index;
    return Index;
}

void TAVProbe::CloseDecoder() {
    if (!FCodec)
        return;
    {
        TCodecLockGuard Guard(CodecLock());
        avcodec::avcodec_free_context(&FCodec);
    }
    FCodec = nullptr;
    FCodecStream = -1;
    FDraining = false;
}

AVCodecContext* TAVProbe::OpenDecoder(int AStreamIndex) {
    const AVStream* Stream = FFileHandle->streams[AStreamIndex];
    const AVCodecParameters* Parameters = Stream->codecpar;
    if (Parameters->width == 0 || Parameters->height == 0) {
        ReportError(AV_LOG_ERROR, "frame size of codec is invalid.");
        return nullptr;
    }
    if (FCodec && FCodecStream == AStreamIndex)
        return FCodec;
    CloseDecoder();

    const AVCodec* Decoder = avcodec::avcodec_find_decoder(Parameters->codec_id);
    if (!Decoder) {
        ReportError(AV_LOG_ERROR, Format("Unsupported codec (id=%d) for input file stream #%d",
                                         {static_cast<int>(Parameters->codec_id), AStreamIndex}));
        return nullptr;
    }
    AVCodecContext* Codec = avcodec::avcodec_alloc_context3(Decoder);
    int Result = Codec ? avcodec::avcodec_parameters_to_context(Codec, Parameters) : -1;
    if (Codec) {
        Codec->pkt_timebase = Stream->time_base;
        // Slice threads only: frame threads hold frames back, and the prober
        // answers one frame per call.
        Codec->thread_count = 0;
        Codec->thread_type = FF_THREAD_SLICE;
    }
    {
        TCodecLockGuard Guard(CodecLock());
        if (Result >= 0)
            Result = avcodec::avcodec_open2(Codec, Decoder, nullptr);
        if (Result < 0)
            avcodec::avcodec_free_context(&Codec);
    }
    if (Result < 0) {
        ReportError(AV_LOG_ERROR,
                    Format("Error while opening codec for input file stream #%d", {AStreamIndex}));
        return nullptr;
    }
    FCodec = Codec;
    FCodecStream = AStreamIndex;
    FDraining = false;
    return FCodec;
}

bool TAVProbe::Decode(int AStreamIndex) {
    const int Index = SelectDecodeStream(AStreamIndex);
    if (Index < 0)
        return false;
    if (FPicture.Ready && IsPictureInput())
        return true; // a picture file has one frame
    if (FEOF) {
        ReportError(AV_LOG_INFO, "stream eof reached.");
        return false;
    }
    AVCodecContext* Codec = OpenDecoder(Index);
    if (!Codec)
        return false;
    const std::int64_t Position = FFileHandle->pb ? FFileHandle->pb->pos : -1;

    std::unique_ptr<AVFrame, TFreeFrame> Frame(avutil::av_frame_alloc());
    std::unique_ptr<AVPacket, TFreePacket> Packet(avcodec::av_packet_alloc());
    if (!Frame || !Packet) {
        ReportError(AV_LOG_ERROR, FormatAVError(FileName(), AVERROR(ENOMEM)));
        return false;
    }
    for (;;) {
        // A frame the decoder still holds from an earlier packet comes first.
        const int Received = avcodec::avcodec_receive_frame(Codec, Frame.get());
        if (Received >= 0) {
            GetFFLogger()->Log(
                this, llDebug, "pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d",
                {Index, static_cast<long long>(Frame->pkt_dts), static_cast<long long>(Frame->pts),
                 Frame->key_frame, static_cast<int>(Frame->pict_type)});
            if (StorePicture(Frame.get(), Position))
                return true;
            avutil::av_frame_unref(Frame.get());
            continue;
        }
        // Once drained, the decoder has given everything it held.
        if (Received == AVERROR_EOF || FDraining) {
            ReportError(AV_LOG_INFO, "stream eof reached.");
            FEOF = true;
            return false;
        }
        const int Read = avformat::av_read_frame(FFileHandle, Packet.get());
        if (Read == AVERROR(EAGAIN))
            continue;
        if (Read < 0) {
            // The end of input: a decoder with delay still holds frames.
            avcodec::avcodec_send_packet(Codec, nullptr);
            FDraining = true;
            continue;
        }
        // A packet the decoder rejects (damaged data) is skipped.
        if (Packet->stream_index == Index)
            avcodec::avcodec_send_packet(Codec, Packet.get());
        avcodec::av_packet_unref(Packet.get());
    }
}

static_assert(int(ptUnknown) == int(AV_PICTURE_TYPE_NONE) && int(ptI) == int(AV_PICTURE_TYPE_I) &&
              int(ptBI) == int(AV_PICTURE_TYPE_BI));

bool TAVProbe::StorePicture(const AVFrame* AFrame, std::int64_t APosition) {
    const auto PixFmt = static_cast<AVPixelFormat>(AFrame->format);
    // The frame itself says what it holds; after a size change the decoder
    // context may already describe the next one.
    const int Size = avutil::av_image_get_buffer_size(PixFmt, AFrame->width, AFrame->height, 1);
    if (Size < 0)
        return false;
    if (!GrowAVBuffer(FPicture.Buffer, FPicture.Size, Size))
        return false;
    FPicture.PixFmt = PixFmt;
    FPicture.Width = AFrame->width;
    FPicture.Height = AFrame->height;
    FPicture.IsKeyFrame = AFrame->key_frame == 1;
    FPicture.PictureType = AFrame->pict_type >= 0 && AFrame->pict_type <= 7
                               ? static_cast<TPictureType>(AFrame->pict_type)
                               : ptUnknown;

    const std::int64_t Stamp = AFrame->pkt_dts != AV_NOPTS_VALUE ? AFrame->pkt_dts : AFrame->pts;
    if (FPicture.PTS != AV_NOPTS_VALUE)
        FLastPTS = FPicture.PTS;
    if (Stamp == AV_NOPTS_VALUE) {
        FPicture.PTS = AV_NOPTS_VALUE;
    } else {
        const AVStream* Stream = FFileHandle->streams[FDecodeIndex];
        const std::int64_t Relative =
            Stream->start_time != AV_NOPTS_VALUE ? Stamp - Stream->start_time : Stamp;
        FPicture.PTS =
            avutil::av_rescale_q(Relative, UsableTimeBase(Stream->time_base), MicrosecondsBase);
        avutil::av_log(nullptr, AV_LOG_DEBUG, "decode PTS: %0.3f\n", FPicture.PTS / 1000000.0);
    }
    FPicture.OriginalDTS = AFrame->pkt_dts;
    FPicture.OriginalPTS = AFrame->pts;
    FPicture.StreamIndex = FDecodeIndex;
    if (FPicture.Position != -1)
        FLastPos = FPicture.Position;
    FPicture.Position = APosition;

    avutil::av_image_fill_arrays(FPicture.Picture.data, FPicture.Picture.linesize, FPicture.Buffer,
                                 PixFmt, AFrame->width, AFrame->height, 1);
    avutil::av_image_copy(FPicture.Picture.data, FPicture.Picture.linesize,
                          const_cast<const std::uint8_t**>(AFrame->data), AFrame->linesize, PixFmt,
                          AFrame->width, AFrame->height);
    FPicture.Ready = true;
    return true;
}

std::int64_t TAVProbe::StepDuration(int AStreamIndex) const {
    return FrameDurationUS(FFileHandle->streams[AStreamIndex]->r_frame_rate);
}

bool TAVProbe::DecodeNextKeyFrame(int AStreamIndex) {
    const int Index = SelectDecodeStream(AStreamIndex);
    if (Index < 0)
        return false;
    std::int64_t Target = StepDuration(Index);
    if (FPicture.PTS > 0)
        Target += FPicture.PTS;
    return Seek(Target, {}) && Decode(Index);
}

bool TAVProbe::DecodePreviousKeyFrame(int AStreamIndex) {
    const int Index = SelectDecodeStream(AStreamIndex);
    if (Index < 0)
        return false;
    const std::int64_t Step = StepDuration(Index);
    std::int64_t Reference = 0;
    if (FPicture.PTS != AV_NOPTS_VALUE)
        Reference = FPicture.PTS;
    else if (FLastPTS != AV_NOPTS_VALUE)
        Reference = FLastPTS;
    else if (FFileHandle->duration != AV_NOPTS_VALUE)
        Reference = FFileHandle->duration;

    // Each turn seeks one step further back and lets the decoded frame's
    // time decide. The input's byte position says nothing here: it is the
    // read buffer's, which need not move when a seek lands inside it. Once
    // the steps reach past the start, the seek aims at the start and its
    // answer is final, whatever frame it lands on.
    for (std::int64_t I = 1;; ++I) {
        Seek(Reference - I * Step, {sfBackward});
        const bool Decoded = Decode(Index);
        if (Decoded && (FPicture.PTS < Reference || FPicture.PTS <= 0))
            return true;
        if (I * Step > Reference) {
            FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
            return false;
        }
    }
}

bool TAVProbe::DecodePreviousFrame(int AStreamIndex) {
    const int Index = SelectDecodeStream(AStreamIndex);
    if (Index < 0)
        return false;
    const std::int64_t Step = StepDuration(Index);
    std::int64_t Target = -2 * Step;
    if (FPicture.PTS != AV_NOPTS_VALUE)
        Target += FPicture.PTS;
    else if (FLastPTS != AV_NOPTS_VALUE)
        Target += FLastPTS;
    if (!DecodePreviousKeyFrame(Index))
        return false;
    // The first frame after the target is the one before the reference.
    while (FPicture.PTS <= Target)
        if (!Decode(Index))
            return false;
    return true;
}

bool TAVProbe::CopyToBitmap(TBitmap* ABitmap) {
    if (!FPicture.Ready) {
        ReportError(AV_LOG_ERROR, "picture not ready, please decode first");
        return false;
    }
    if (!ABitmap)
        return false;
    if (PictureToBitmap(FRGBContext, FPicture.Picture, FPicture.PixFmt, FPicture.Width,
                        FPicture.Height)) {
        ABitmap->Assign(FRGBContext.Bitmap.get());
        return true;
    }
    ABitmap->SetSize(FPicture.Width, FPicture.Height);
    TCanvas* Canvas = ABitmap->Canvas();
    Canvas->Brush()->SetColor(clBlack);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(Canvas->ClipRect());
    avutil::av_log(nullptr, AV_LOG_ERROR, "convert picture to bitmap failed\n");
    FLastErrMsg = "convert picture to bitmap failed";
    return false;
}
