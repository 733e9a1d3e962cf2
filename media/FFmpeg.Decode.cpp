// Decoding: a packet is sent whole and every frame the decoder gives back is
// one pass of the clock, the picture hooks, the volume and the outputs fed
// by the stream. With no packet the decoder gives up what it still holds,
// and then the encoders it feeds are drained.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"

#include <algorithm>
#include <cmath>

namespace {

template <class T>
void ScalePlane(T* ASamples, int ACount, int AVolume, double ALow, double AHigh, double ACentre) {
    for (int I = 0; I < ACount; ++I) {
        const double Scaled =
            (static_cast<double>(ASamples[I]) - ACentre) * AVolume / 256.0 + ACentre;
        ASamples[I] = static_cast<T>(std::clamp(Scaled, ALow, AHigh));
    }
}

} // namespace

int TCustomFFmpeg::DecodeAndOutput(TAVInputStream* AIst, int AIstIndex, const AVPacket* APacket) {
    AVCodecContext* Dec = AIst->dec_ctx;
    if (!Dec)
        return -1;
    if (Dec->codec_type == AVMEDIA_TYPE_SUBTITLE)
        return DecodeSubtitle(AIst, AIstIndex, APacket);
    if (Dec->codec_type != AVMEDIA_TYPE_AUDIO && Dec->codec_type != AVMEDIA_TYPE_VIDEO)
        return -1;
    if (!Fdecoded_frame) {
        Fdecoded_frame = avutil::av_frame_alloc();
        if (!Fdecoded_frame)
            throw FFmpegException("av_frame_alloc failed");
    }
    const int Sent = avcodec::avcodec_send_packet(Dec, APacket);
    if (Sent < 0 && Sent != AVERROR(EAGAIN) && Sent != AVERROR_EOF)
        return -1;
    int Frames = 0;
    while (true) {
        const int Received = avcodec::avcodec_receive_frame(Dec, Fdecoded_frame);
        if (Received == AVERROR(EAGAIN) || Received == AVERROR_EOF)
            break;
        if (Received < 0)
            return -1;
        // The drain at the end (no packet) gives a decoder's delayed frames
        // all at once; only a real packet can hold several frames.
        if (++Frames > 1 && APacket &&
            ((!AIst->showed_multi_packet_warning && Fverbose > 0) || Fverbose > 1)) {
            Log(llError, Format("Multiple frames in a packet from stream %d", {AIst->index}));
            AIst->showed_multi_packet_warning = 1;
        }
        try {
            HandleDecodedFrame(AIst, AIstIndex, Fdecoded_frame, APacket);
        } catch (...) {
            avutil::av_frame_unref(Fdecoded_frame);
            throw;
        }
        avutil::av_frame_unref(Fdecoded_frame);
    }
    if (!APacket)
        DrainEncoders(AIstIndex);
    return 0;
}

void TCustomFFmpeg::HandleDecodedFrame(TAVInputStream* AIst, int AIstIndex, AVFrame* AFrame,
                                       const AVPacket* APacket) {
    AVCodecContext* Dec = AIst->dec_ctx;
    // A decoder with frame threads gives pictures back some packets later
    // than they went in: the picture's own time is the one to follow.
    if (AFrame->best_effort_timestamp != AV_NOPTS_VALUE)
        AIst->next_pts = avutil::av_rescale_q(AFrame->best_effort_timestamp, AIst->st->time_base,
                                              MicrosecondsBase);
    AIst->pts = AIst->next_pts;
    if (Dec->codec_type == AVMEDIA_TYPE_AUDIO) {
        if (FJoinMode)
            TrimToPacketDuration(AIst, AFrame);
        if (AFrame->sample_rate > 0)
            AIst->next_pts += INT64_C(1000000) * AFrame->nb_samples / AFrame->sample_rate;
        if (Faudio_volume != 256)
            ScaleVolume(AFrame);
    } else {
        const AVRational Rate = Dec->framerate;
        if (Rate.num && Rate.den)
            AIst->next_pts +=
                std::llrint(1000000.0 * Rate.den / Rate.num * (1.0 + AFrame->repeat_pict * 0.5));
        else if (APacket && APacket->duration > 0)
            AIst->next_pts +=
                avutil::av_rescale_q(APacket->duration, AIst->st->time_base, MicrosecondsBase);
        AIst->quality = static_cast<float>(AFrame->quality);
        PreProcessPicture(AIst, AFrame);
    }
    if (Frate_emu) {
        const std::int64_t Now = NowUS() - AIst->start;
        if (AIst->pts - Now > 1000)
            Sleep(static_cast<std::uint32_t>((AIst->pts - Now) / 1000));
    }
    if (Fstart_time != 0 && AIst->pts < Fstart_time)
        return;
    // Outputs that copy the stream had the packet already.
    for (const auto& Ost : Fost_table) {
        if (Ost->source_index != AIstIndex || !Ost->encoding_needed)
            continue;
        AVFormatContext* Output = Foutput_files[Ost->file_index];
        switch (Ost->enc_ctx->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            do_audio_out(Output, Ost.get(), AIst, AFrame);
            break;
        case AVMEDIA_TYPE_VIDEO: {
            if (Ost->filter_graph) {
                FilterPicture(Output, Ost.get(), AIst, AFrame);
                break;
            }
            const int Size = VideoOut(Output, Ost.get(), AIst, AFrame);
            if (!Fvstats_filename.empty() && Size > 0)
                WriteVideoStats(Ost.get(), Size);
            break;
        }
        default:
            throw FFmpegException("invalid codec_type");
        }
    }
}

// A part's last sound packet usually holds fewer samples than the decoder
// gives back: the rest is its encoder's padding, which the container leaves
// out of the part's length. Kept, it would add up at every joint and push
// each later part further from its pictures. Only a time base fine enough to
// count single samples is trusted: rounded durations (milliseconds) would cut
// real sound from every frame.
void TCustomFFmpeg::TrimToPacketDuration(const TAVInputStream* AIst, AVFrame* AFrame) {
    const AVRational Base = AIst->st->time_base;
    if (AFrame->pkt_duration <= 0 || AFrame->sample_rate <= 0 || Base.num <= 0 || Base.den <= 0 ||
        static_cast<std::int64_t>(Base.num) * AFrame->sample_rate > Base.den)
        return;
    const std::int64_t Samples =
        avutil::av_rescale_q(AFrame->pkt_duration, Base, AVRational{1, AFrame->sample_rate});
    if (Samples > 0 && Samples < AFrame->nb_samples - 1)
        AFrame->nb_samples = static_cast<int>(Samples);
}

// The volume works on the samples as they are: 16-bit by the old formula,
// other formats by the same factor within their own range.
void TCustomFFmpeg::ScaleVolume(AVFrame* AFrame) {
    if (avutil::av_frame_make_writable(AFrame) < 0)
        return;
    const auto Format = static_cast<AVSampleFormat>(AFrame->format);
    const bool Planar = avutil::av_sample_fmt_is_planar(Format);
    const int Channels = AFrame->ch_layout.nb_channels;
    const int Planes = Planar ? Channels : 1;
    const int Count = AFrame->nb_samples * (Planar ? 1 : Channels);
    for (int P = 0; P < Planes; ++P) {
        std::uint8_t* Data = AFrame->extended_data[P];
        switch (Format) {
        case AV_SAMPLE_FMT_S16:
        case AV_SAMPLE_FMT_S16P: {
            auto* S = reinterpret_cast<std::int16_t*>(Data);
            for (int I = 0; I < Count; ++I)
                S[I] = static_cast<std::int16_t>(
                    std::clamp((S[I] * Faudio_volume + 128) >> 8, -32768, 32767));
            break;
        }
        case AV_SAMPLE_FMT_U8:
        case AV_SAMPLE_FMT_U8P:
            ScalePlane(Data, Count, Faudio_volume, 0, 255, 128);
            break;
        case AV_SAMPLE_FMT_S32:
        case AV_SAMPLE_FMT_S32P:
            ScalePlane(reinterpret_cast<std::int32_t*>(Data), Count, Faudio_volume, -2147483648.0,
                       2147483647.0, 0);
            break;
        case AV_SAMPLE_FMT_FLT:
        case AV_SAMPLE_FMT_FLTP:
            ScalePlane(reinterpret_cast<float*>(Data), Count, Faudio_volume, -1.0, 1.0, 0);
            break;
        case AV_SAMPLE_FMT_DBL:
        case AV_SAMPLE_FMT_DBLP:
            ScalePlane(reinterpret_cast<double*>(Data), Count, Faudio_volume, -1.0, 1.0, 0);
            break;
        default:
            break;
        }
    }
}

void TCustomFFmpeg::DrainEncoders(int AIstIndex) {
    for (const auto& Ost : Fost_table) {
        if (Ost->source_index != AIstIndex || !Ost->encoding_needed)
            continue;
        AVFormatContext* Output = Foutput_files[Ost->file_index];
        if (Ost->filter_graph)
            FilterPicture(Output, Ost.get(), Fist_table[AIstIndex].get(), nullptr);
        if (Ost->enc_ctx->codec_type == AVMEDIA_TYPE_VIDEO)
            FinishPictures(Output, Ost.get());
        if (Ost->enc_ctx->codec_type == AVMEDIA_TYPE_AUDIO)
            WriteAudioSamples(Output, Ost.get(), true);
        if (Ost->enc_ctx->codec_type == AVMEDIA_TYPE_AUDIO ||
            Ost->enc_ctx->codec_type == AVMEDIA_TYPE_VIDEO)
            EncodeFrame(Output, Ost.get(), nullptr);
    }
}

int TCustomFFmpeg::EncodeFrame(AVFormatContext* AContext, TAVOutputStream* AOst, AVFrame* AFrame) {
    AVCodecContext* Enc = AOst->enc_ctx;
    const bool Audio = Enc->codec_type == AVMEDIA_TYPE_AUDIO;
    const char* Failure = Audio ? "Audio encoding failed" : "Video encoding failed";
    int Result = avcodec::avcodec_send_frame(Enc, AFrame);
    if (Result < 0 && Result != AVERROR_EOF)
        throw FFmpegException(Failure);
    AVPacket* Packet = avcodec::av_packet_alloc();
    if (!Packet)
        throw FFmpegException(Failure);
    int LastSize = 0;
    try {
        while (true) {
            Result = avcodec::avcodec_receive_packet(Enc, Packet);
            if (Result == AVERROR(EAGAIN) || Result == AVERROR_EOF)
                break;
            if (Result < 0)
                throw FFmpegException(Failure);
            Packet->stream_index = AOst->index;
            // Video encoders leave the duration out; without it a muxer that
            // measures samples by their successors (MP4's edit list,
            // Matroska's last block) cuts the last frame short.
            if (!Audio && Packet->duration <= 0 && Enc->framerate.num > 0 && Enc->framerate.den > 0)
                Packet->duration = avutil::av_rescale_q(1, {Enc->framerate.den, Enc->framerate.num},
                                                        Enc->time_base);
            avcodec::av_packet_rescale_ts(Packet, Enc->time_base, AOst->st->time_base);
            TCodedFrameInfo& Coded = AOst->slot->CodedFrame;
            Coded.key_frame = (Packet->flags & AV_PKT_FLAG_KEY) ? 1 : 0;
            std::size_t SideSize = 0;
            if (const std::uint8_t* Stats =
                    avcodec::av_packet_get_side_data(Packet, AV_PKT_DATA_QUALITY_STATS, &SideSize);
                Stats && SideSize >= 6) {
                Coded.quality = static_cast<int>(Stats[0] | Stats[1] << 8 | Stats[2] << 16 |
                                                 static_cast<unsigned>(Stats[3]) << 24);
                Coded.pict_type = Stats[4];
                for (int I = 0; I < std::min<int>(Stats[5], 4) &&
                                static_cast<std::size_t>(8 + 8 * I + 8) <= SideSize;
                     ++I) {
                    std::uint64_t Error = 0;
                    for (int B = 7; B >= 0; --B)
                        Error = Error << 8 | Stats[8 + 8 * I + B];
                    Coded.error[I] = Error;
                }
            }
            LastSize = Packet->size;
            if (Audio)
                Faudio_size += Packet->size;
            else
                Fvideo_size += Packet->size;
            if (AOst->logfile && Enc->stats_out)
                myutil::fprintf(AOst->logfile, "%s", Enc->stats_out);
            WritePacket(AContext, Packet, AOst->slot, Enc);
        }
    } catch (...) {
        avcodec::av_packet_free(&Packet);
        throw;
    }
    avcodec::av_packet_free(&Packet);
    return LastSize;
}
