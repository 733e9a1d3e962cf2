// The audio path: the device's callback, decoding into 16-bit samples at the
// device's rate and channels, and following the master clock when sound is
// not the master.
#include "player/FFPlay.h"

#include "media/FFmpegLogger.h"

#include <algorithm>
#include <climits>
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

bool SoundWaitsForPictures(TVideoState* is, double ANow) {
    if (is->SoundStarted)
        return false;
    // While the streams are still being opened the video one may not be
    // open yet (sound opens first); nothing is queued before that anyway.
    if (is->Opened == 0)
        return true;
    if (is->video_stream >= 0 && !is->PictureQueued && !is->VideoThreadDone && !is->IsDevice) {
        if (is->SoundHeldSince == 0)
            is->SoundHeldSince = ANow;
        if (ANow - is->SoundHeldSince < MaxSoundHold)
            return true;
    }
    is->SoundStarted = true;
    return false;
}

int DecodeAudioFrame(TVideoState* is, double& APTS) {
    // Silence until the pictures can start too; the queued sound and the
    // audio clock wait where they are.
    if (!is->paused && SoundWaitsForPictures(is, double(avutil::av_gettime()) / 1000000.0))
        return -1;
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
            std::lock_guard Lock(is->AudioClockLock);
            APTS = is->audio_clock;
            is->audio_buf_size = Size;
            is->audio_buf_index = 0;
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
                if (is->show_audio)
                    UpdateSampleDisplay(is, reinterpret_cast<const std::int16_t*>(is->audio_buf),
                                        Size);
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

void UpdateSampleDisplay(TVideoState* is, const std::int16_t* ASamples, int ASize) {
    std::lock_guard Lock(is->SampleLock);
    if (is->sample_array.empty())
        is->sample_array.assign(SAMPLE_ARRAY_SIZE, 0);
    int Count = ASize / 2;
    while (Count > 0) {
        const int Piece = std::min(Count, SAMPLE_ARRAY_SIZE - is->sample_array_index);
        std::memcpy(&is->sample_array[std::size_t(is->sample_array_index)], ASamples,
                    std::size_t(Piece) * 2);
        ASamples += Piece;
        Count -= Piece;
        is->sample_array_index = (is->sample_array_index + Piece) % SAMPLE_ARRAY_SIZE;
    }
}

namespace {

int Wrap(int AIndex) {
    return ((AIndex % SAMPLE_ARRAY_SIZE) + SAMPLE_ARRAY_SIZE) % SAMPLE_ARRAY_SIZE;
}

// The first sample to draw: where the sound now playing was written,
// moved back to a rising zero crossing in wave mode so the wave stands
// still; kept while paused.
int DisplayStart(TVideoState* is, const std::vector<std::int16_t>& ASamples, int AChannels,
                 int ADataUsed, int ARingIndex) {
    if (is->paused)
        return is->last_i_start;
    const int Rate = is->audio_sample_rate;
    std::int64_t Delay = (is->audio_buf_size - is->audio_buf_index) / (2 * AChannels);
    const std::int64_t Callback = is->audio_callback_time;
    if (Callback)
        Delay -= std::int64_t(Rate) * (avutil::av_gettime() - Callback) / 1000000;
    Delay = std::max<std::int64_t>(Delay + 2 * ADataUsed, ADataUsed);
    const int X = Wrap(int(ARingIndex - Delay * AChannels));
    int Start = X;
    if (is->show_audio == 1) {
        int Best = INT_MIN;
        for (int I = 0; I < 1000; I += AChannels) {
            const int Index = Wrap(X - I);
            const int A = ASamples[std::size_t(Index)];
            const int B = ASamples[std::size_t(Wrap(Index + 4 * AChannels))];
            const int C = ASamples[std::size_t(Wrap(Index + 5 * AChannels))];
            const int D = ASamples[std::size_t(Wrap(Index + 9 * AChannels))];
            if (A - D > Best && (B ^ C) < 0) {
                Best = A - D;
                Start = Index;
            }
        }
    }
    is->last_i_start = Start;
    return Start;
}

void FillArea(SDL_Surface* ASurface, int X, int Y, int W, int H, Uint32 AColour) {
    SDL_Rect Rect{Sint16(X), Sint16(Y), Uint16(W), Uint16(H)};
    sdl::SDL_FillRect(ASurface, &Rect, AColour);
}

} // namespace

void TCustomPlayer::DisplayAudio(TVideoState* is) {
    SDL_Surface* Surface = Fscreen;
    const int Width = is->width, Height = is->height;
    const int Channels = std::max(1, is->audio_channels.load());
    if (!Surface || Width <= 0 || Height <= 0)
        return;
    int Bits = 1;
    while ((1 << Bits) < 2 * Height)
        ++Bits;
    const int NbFreq = 1 << (Bits - 1);
    std::vector<std::int16_t> Samples;
    int RingIndex;
    {
        std::lock_guard Lock(is->SampleLock);
        if (is->sample_array.empty())
            is->sample_array.assign(SAMPLE_ARRAY_SIZE, 0);
        Samples = is->sample_array;
        RingIndex = is->sample_array_index;
    }
    const int Start =
        DisplayStart(is, Samples, Channels, is->show_audio == 1 ? Width : 2 * NbFreq, RingIndex);
    const Uint32 White = sdl::SDL_MapRGB(Surface->format, 255, 255, 255);
    is->AudioDisplays += 1;
    if (is->show_audio == 1) {
        FillArea(Surface, is->xleft, is->ytop, Width, Height,
                 sdl::SDL_MapRGB(Surface->format, 0, 0, 0));
        const int H = Height / Channels;
        const int H2 = H * 9 / 20;
        for (int Ch = 0; Ch < Channels; ++Ch) {
            const int Y1 = is->ytop + Ch * H + H / 2;
            int Index = Start + Ch;
            for (int X = 0; X < Width; ++X) {
                const int Y = (Samples[std::size_t(Wrap(Index))] * H2) >> 15;
                FillArea(Surface, is->xleft + X, Y < 0 ? Y1 + Y : Y1, 1, std::abs(Y), White);
                Index += Channels;
            }
        }
        for (int Ch = 1; Ch < Channels; ++Ch)
            FillArea(Surface, is->xleft, is->ytop + Ch * H, Width, 1, White);
        sdl::SDL_UpdateRect(Surface, is->xleft, is->ytop, Uint32(Width), Uint32(Height));
        PresentRect(SDL_Rect{Sint16(is->xleft), Sint16(is->ytop), Uint16(Width), Uint16(Height)});
        return;
    }
    const int Shown = std::min(Channels, 2);
    if (Bits != is->rdft_bits) {
        avcodec::av_rdft_end(is->rdft);
        is->rdft = avcodec::av_rdft_init(Bits, DFT_R2C);
        is->rdft_bits = Bits;
        // Zeroed, so nothing uninitialised is ever read.
        is->rdft_data.assign(std::size_t(4) * NbFreq, 0.0f);
    }
    if (!is->rdft)
        return;
    for (int Ch = 0; Ch < Shown; ++Ch) {
        float* Data = &is->rdft_data[std::size_t(2) * NbFreq * Ch];
        int Index = Start + Ch;
        for (int J = 0; J < 2 * NbFreq; ++J) {
            const double W = double(J - NbFreq) / NbFreq;
            Data[J] = float(Samples[std::size_t(Wrap(Index))] * (1 - W * W));
            Index += Channels;
        }
        avcodec::av_rdft_calc(is->rdft, Data);
    }
    auto Magnitude = [&](int ACh, int ABin) {
        const float* Data = &is->rdft_data[std::size_t(2) * NbFreq * ACh];
        const double Re = Data[2 * ABin], Im = Data[2 * ABin + 1];
        return std::min(255, int(std::lrint(std::sqrt(std::sqrt(Re * Re + Im * Im) /
                                                      std::sqrt(double(NbFreq))))));
    };
    for (int Y = 0; Y < Height; ++Y) {
        const int A = Magnitude(0, Y);
        // One channel shows grey.
        const int B = Shown > 1 ? Magnitude(1, Y) : A;
        FillArea(Surface, is->xpos, is->ytop + Height - Y, 1, 1,
                 sdl::SDL_MapRGB(Surface->format, Uint8(A), Uint8(B), Uint8((A + B) / 2)));
    }
    sdl::SDL_UpdateRect(Surface, is->xpos, is->ytop, 1, Uint32(Height));
    PresentRect(SDL_Rect{Sint16(is->xpos), Sint16(is->ytop), 1, Uint16(Height)});
    is->xpos += 1;
    if (is->xpos >= is->xleft + Width)
        is->xpos = is->xleft;
}
