// The audio path: the device's callback, decoding into 16-bit samples at the
// device's rate and channels, and following the master clock when sound is
// not the master.
#include "player/FFPlay.h"

#include "media/FFmpegLogger.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double NoSyncThreshold = 10.0;
constexpr int AudioDiffAvgCount = 20;
constexpr int MinAudioBufferSize = 288000;

// Grows ABuffer to at least ASize bytes (never below the historical size).
std::uint8_t* Room(std::vector<std::uint8_t>& ABuffer, std::size_t ASize) {
    if (ABuffer.size() < std::max<std::size_t>(ASize, MinAudioBufferSize))
        ABuffer.resize(std::max<std::size_t>(ASize, MinAudioBufferSize));
    return ABuffer.data();
}

// The frame as 16-bit interleaved samples at the device's channels and
// rate into is->audio_buf; its size in bytes, or -1 when it cannot be
// converted.
int ConvertFrame(TVideoState* is, AVFrame* AFrame) {
    const int Channels = is->audio_channels;
    const int Rate = is->audio_sample_rate;
    if (AFrame->format == AV_SAMPLE_FMT_S16 && AFrame->ch_layout.nb_channels == Channels &&
        AFrame->sample_rate == Rate) {
        const int Size = AFrame->nb_samples * Channels * 2;
        std::memcpy(Room(is->audio_buf1, std::size_t(Size)), AFrame->data[0], std::size_t(Size));
        is->audio_buf = is->audio_buf1.data();
        return Size;
    }
    if (!is->reformat_ctx || is->audio_src_fmt != AFrame->format ||
        is->audio_src_rate != AFrame->sample_rate ||
        avutil::av_channel_layout_compare(&is->audio_src_layout, &AFrame->ch_layout) != 0) {
        swresample::swr_free(&is->reformat_ctx);
        AVChannelLayout Out{};
        avutil::av_channel_layout_default(&Out, Channels);
        if (swresample::swr_alloc_set_opts2(&is->reformat_ctx, &Out, AV_SAMPLE_FMT_S16, Rate,
                                            &AFrame->ch_layout, AVSampleFormat(AFrame->format),
                                            AFrame->sample_rate, 0, nullptr) < 0 ||
            swresample::swr_init(is->reformat_ctx) < 0) {
            swresample::swr_free(&is->reformat_ctx);
            const char* From = avutil::av_get_sample_fmt_name(AVSampleFormat(AFrame->format));
            is->Owner->ReportError(
                std::string("Cannot convert ") + (From ? From : "?") + " sample format to " +
                    avutil::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16) + " sample format",
                false);
            return -1;
        }
        is->audio_src_fmt = AVSampleFormat(AFrame->format);
        is->audio_src_rate = AFrame->sample_rate;
        avutil::av_channel_layout_uninit(&is->audio_src_layout);
        avutil::av_channel_layout_copy(&is->audio_src_layout, &AFrame->ch_layout);
    }
    // Room for every sample the converter may give, plus a tenth and one
    // sample frame for the stretch of PlayerSyncAudio.
    const std::int64_t Delay = swresample::swr_get_delay(is->reformat_ctx, Rate);
    const int OutSamples = int(
        Delay + std::int64_t(AFrame->nb_samples) * Rate / std::max(1, AFrame->sample_rate) + 256);
    const std::size_t Bytes = std::size_t(OutSamples) * Channels * 2;
    std::uint8_t* Out[1] = {Room(is->audio_buf2, Bytes + Bytes / 10 + std::size_t(Channels) * 2)};
    const int Converted = swresample::swr_convert(
        is->reformat_ctx, Out, OutSamples, const_cast<const std::uint8_t**>(AFrame->extended_data),
        AFrame->nb_samples);
    if (Converted < 0) {
        is->Owner->ReportError("av_audio_convert() failed", false);
        return 0;
    }
    is->audio_buf = is->audio_buf2.data();
    return Converted * Channels * 2;
}

} // namespace

int DecodeAudioFrame(TVideoState* is, double& APTS) {
    if (!is->audio_frame)
        is->audio_frame = avutil::av_frame_alloc();
    AVFrame* Frame = is->audio_frame;
    AVCodecContext* Decoder = is->audio_dec;
    for (;;) {
        const int Received = avcodec::avcodec_receive_frame(Decoder, Frame);
        if (Received == 0) {
            const int Size = ConvertFrame(is, Frame);
            avutil::av_frame_unref(Frame);
            if (Size <= 0)
                continue;
            APTS = is->audio_clock;
            is->audio_clock =
                is->audio_clock + double(Size) / (2.0 * is->audio_channels * is->audio_sample_rate);
            return Size;
        }
        if (Received != AVERROR(EAGAIN) && Received != AVERROR_EOF)
            GetFFLogger()->Log(is->Owner, llInfo, "avcodec_decode_audio2() failed");
        if (is->paused || is->audioq.abort_request)
            return -1;
        AVPacket* Packet = avcodec::av_packet_alloc();
        if (!Packet)
            return -1;
        bool Flush = false;
        if (PacketQueueGet(is->audioq, Packet, Flush, false) <= 0) {
            avcodec::av_packet_free(&Packet);
            return -1;
        }
        if (Flush) {
            avcodec::avcodec_flush_buffers(Decoder);
        } else {
            if (Packet->pts != AV_NOPTS_VALUE)
                is->audio_clock = double(Packet->pts) * av_q2d(is->audio_st->time_base);
            if (avcodec::avcodec_send_packet(Decoder, Packet) < 0)
                GetFFLogger()->Log(is->Owner, llInfo, "avcodec_decode_audio2() failed");
        }
        avcodec::av_packet_free(&Packet);
    }
}

int PlayerSyncAudio(TVideoState* is, std::uint8_t* ASamples, int ASize, double) {
    if (!((is->av_sync_type == AV_SYNC_VIDEO_MASTER && is->video_stream >= 0) ||
          is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK))
        return ASize;
    const double Diff = PlayerAudioClock(is) - PlayerMasterClock(is);
    // Far apart either way is a jump, not drift: start measuring again.
    if (std::fabs(Diff) >= NoSyncThreshold) {
        is->audio_diff_avg_count = 0;
        is->audio_diff_cum = 0;
        return ASize;
    }
    is->audio_diff_cum = Diff + is->audio_diff_avg_coef * is->audio_diff_cum;
    if (is->audio_diff_avg_count < AudioDiffAvgCount) {
        is->audio_diff_avg_count += 1;
        return ASize;
    }
    const double Average = is->audio_diff_cum * (1.0 - is->audio_diff_avg_coef);
    if (std::fabs(Average) < is->audio_diff_threshold)
        return ASize;
    const int FrameBytes = 2 * is->audio_channels;
    const int Frames = ASize / FrameBytes;
    int Wanted = ASize + FrameBytes * int(std::lrint(Diff * is->audio_sample_rate));
    Wanted = std::clamp(Wanted, Frames * 90 / 100 * FrameBytes, Frames * 110 / 100 * FrameBytes);
    // Never past the buffer the samples are in.
    std::vector<std::uint8_t>& Buffer =
        ASamples == is->audio_buf2.data() ? is->audio_buf2 : is->audio_buf1;
    Wanted = std::min(Wanted, int(Buffer.size()) / FrameBytes * FrameBytes);
    if (Wanted > ASize)
        for (int At = ASize; At < Wanted; At += FrameBytes)
            std::memcpy(ASamples + At, ASamples + ASize - FrameBytes, std::size_t(FrameBytes));
    return Wanted;
}

void PlayerAudioCallback(void* AState, Uint8* AStream, int ALength) {
    SetPlaybackThread();
    auto* is = static_cast<TVideoState*>(AState);
    TCustomPlayer* Owner = is->Owner;
    is->audio_callback_time = avutil::av_gettime();
    const bool Mute = Owner->Mute();
    const int Volume = Owner->AudioVolume();
    while (ALength > 0) {
        if (is->audio_buf_index >= is->audio_buf_size) {
            double PTS = 0;
            const int Size = DecodeAudioFrame(is, PTS);
            if (is->audioq.abort_request)
                return;
            if (Size < 0) {
                is->audio_buf = Room(is->audio_buf1, 1024);
                std::memset(is->audio_buf, 0, 1024);
                is->audio_buf_size = 1024;
            } else {
                is->audio_buf_size = PlayerSyncAudio(is, is->audio_buf, Size, PTS);
            }
            is->audio_buf_index = 0;
        }
        const int N = std::min(is->audio_buf_size - is->audio_buf_index, ALength);
        if (Mute)
            std::memset(AStream, 0, std::size_t(N));
        else
            sdl::SDL_MixAudio(AStream, is->audio_buf + is->audio_buf_index, Uint32(N), Volume);
        is->audio_buf_index += N;
        ALength -= N;
        AStream += N;
    }
}
