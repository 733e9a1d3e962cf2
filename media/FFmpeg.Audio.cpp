// Sound output: decoded samples are brought to the encoder's layout, rate
// and format by one resampler per output stream, queued in the stream's
// sample FIFO and encoded a frame at a time.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/SwResampleStubs.h"
#include "platform/core/Conversions.h"
#include "platform/core/Format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

bool SameLayout(const AVChannelLayout& A, const AVChannelLayout& B) {
    return avutil::av_channel_layout_compare(&A, &B) == 0;
}

} // namespace

void TCustomFFmpeg::do_audio_out(AVFormatContext* AContext, TAVOutputStream* AOst,
                                 TAVInputStream* AIst, AVFrame* AFrame) {
    AVCodecContext* Enc = AOst->enc_ctx;
    const auto InFormat = static_cast<AVSampleFormat>(AFrame->format);
    // A stream may change its layout, rate or format mid-file (a broadcast
    // going from 5.1 to stereo): the resampler made for the old sound would
    // read planes the new frames do not have. It gives up what it still
    // holds and is made again for the new sound; the output keeps its own
    // layout and rate.
    if (AOst->resample && (AFrame->sample_rate != AOst->resample_in_rate ||
                           !SameLayout(AFrame->ch_layout, AOst->resample_in_layout) ||
                           InFormat != AOst->resample_in_format)) {
        DrainResampler(AOst);
        swresample::swr_free(&AOst->resample);
    }
    const bool Differs = AFrame->sample_rate != Enc->sample_rate ||
                         !SameLayout(AFrame->ch_layout, Enc->ch_layout) ||
                         InFormat != Enc->sample_fmt;
    if (!AOst->resample && (Differs || AOst->audio_resample)) {
        if (AFrame->ch_layout.nb_channels != Enc->ch_layout.nb_channels)
            AOst->audio_resample = 1;
        const int Made = swresample::swr_alloc_set_opts2(
            &AOst->resample, &Enc->ch_layout, Enc->sample_fmt, Enc->sample_rate, &AFrame->ch_layout,
            InFormat, AFrame->sample_rate, 0, nullptr);
        if (Made < 0 || swresample::swr_init(AOst->resample) < 0) {
            swresample::swr_free(&AOst->resample);
            if (AOst->audio_resample)
                throw FFmpegException("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                      {AFrame->ch_layout.nb_channels, AFrame->sample_rate,
                                       Enc->ch_layout.nb_channels, Enc->sample_rate});
            throw FFmpegException("Cannot convert %s sample format to %s sample format",
                                  {std::string(avutil::av_get_sample_fmt_name(InFormat)),
                                   std::string(avutil::av_get_sample_fmt_name(Enc->sample_fmt))});
        }
        if (avutil::av_channel_layout_copy(&AOst->resample_in_layout, &AFrame->ch_layout) < 0) {
            swresample::swr_free(&AOst->resample);
            throw FFmpegException("Out of memory in do_audio_out");
        }
        AOst->resample_in_rate = AFrame->sample_rate;
        AOst->resample_in_format = InFormat;
        AOst->reformat_pair = InFormat * 100 + Enc->sample_fmt;
    }
    const std::uint8_t* const* Samples = AFrame->extended_data;
    int Count = AFrame->nb_samples;
    const double Ipts = static_cast<double>(AOst->sync_ist->pts - Fstart_time) / 1000000.0;
    const std::int64_t Queued = avutil::av_audio_fifo_size(AOst->fifo);
    std::array<const std::uint8_t*, AV_NUM_DATA_POINTERS> Planes{};
    std::array<std::uint8_t*, AV_NUM_DATA_POINTERS> Padded{};
    struct TPaddedFree {
        std::uint8_t** Data;
        ~TPaddedFree() { avutil::av_freep(&Data[0]); }
    } FreePadded{Padded.data()};
    if (Faudio_sync_method != 0) {
        // Drift correction, counted in samples whatever their format.
        const double Delta = Ipts * Enc->sample_rate - static_cast<double>(AOst->sync_opts) -
                             static_cast<double>(Queued);
        const int SampleDelta =
            static_cast<int>(Trunc(Delta * AFrame->sample_rate / Enc->sample_rate));
        const int Channels = AFrame->ch_layout.nb_channels;
        const bool Planar = avutil::av_sample_fmt_is_planar(InFormat);
        const int Bytes = avutil::av_get_bytes_per_sample(InFormat) * (Planar ? 1 : Channels);
        const int PlaneCount = Planar ? Channels : 1;
        if (std::fabs(Delta) > 50) {
            if (AIst->is_start || std::fabs(Delta) > Enc->sample_rate * Faudio_drift_threshold) {
                if (SampleDelta < 0) {
                    const int Drop = std::min(-SampleDelta, Count);
                    for (int P = 0; P < PlaneCount; ++P)
                        Planes[P] = Samples[P] + static_cast<std::ptrdiff_t>(Drop) * Bytes;
                    Samples = Planes.data();
                    Count -= Drop;
                    if (Fverbose > 2)
                        Log(llVerbose, Format("discarding %d audio samples",
                                              {static_cast<int>(Trunc(-Delta))}));
                    if (Count == 0)
                        return;
                    AIst->is_start = 0;
                } else {
                    if (avutil::av_samples_alloc(Padded.data(), nullptr, Channels,
                                                 SampleDelta + Count, InFormat, 0) < 0)
                        throw FFmpegException("Out of memory in do_audio_out");
                    avutil::av_samples_set_silence(Padded.data(), 0, SampleDelta, Channels,
                                                   InFormat);
                    for (int P = 0; P < PlaneCount; ++P)
                        std::memcpy(Padded[P] + static_cast<std::ptrdiff_t>(SampleDelta) * Bytes,
                                    Samples[P], static_cast<std::size_t>(Count) * Bytes);
                    Samples = Padded.data();
                    Count += SampleDelta;
                    AIst->is_start = 0;
                    if (Fverbose > 2)
                        Log(llVerbose, Format("adding %d audio samples of silence",
                                              {static_cast<int>(Trunc(Delta))}));
                }
            } else if (Faudio_sync_method > 1 && AOst->resample) {
                const int Comp = std::clamp(static_cast<int>(Trunc(Delta)), -Faudio_sync_method,
                                            Faudio_sync_method);
                if (Fverbose > 2)
                    Log(llVerbose,
                        Format("compensating audio timestamp drift:%f compensation:%d in:%d",
                               {Delta, Comp, Enc->sample_rate}));
                swresample::swr_set_compensation(AOst->resample, Comp, Enc->sample_rate);
            }
        }
    } else {
        // Without drift correction the output clock follows the input, but
        // never back over what the encoder has had: where a file's parts
        // overlap (one joined from two recordings) the encoder and the muxer
        // refuse times that run backwards.
        const std::int64_t Input = std::llrint(Ipts * Enc->sample_rate) - Queued;
        AOst->sync_opts = AOst->audio_started ? std::max(AOst->sync_opts, Input) : Input;
    }
    if (AOst->resample) {
        const std::int64_t Wanted = static_cast<std::int64_t>(Count) * Enc->sample_rate /
                                        std::max(AFrame->sample_rate, 1) * 2 +
                                    10000;
        if (Wanted > 2147483647 / 16)
            throw FFmpegException("Buffer sizes too large in do_audio_out");
        ReserveAudioBuffer(Enc, static_cast<int>(std::max<std::int64_t>(Wanted, Enc->frame_size)));
        Count = swresample::swr_convert(AOst->resample, Faudio_buf.data(), Faudio_buf_samples,
                                        const_cast<const std::uint8_t**>(Samples), Count);
        if (Count < 0)
            throw FFmpegException("Audio encoding failed");
        Samples = Faudio_buf.data();
    }
    if (avutil::av_audio_fifo_write(AOst->fifo,
                                    reinterpret_cast<void**>(const_cast<std::uint8_t**>(Samples)),
                                    Count) < Count)
        throw FFmpegException("av_fifo_realloc2() failed");
    WriteAudioSamples(AContext, AOst, false);
}

// The shared conversion buffer, at least ASamples long in the encoder's
// format and channels (several outputs of other formats may share it).
void TCustomFFmpeg::ReserveAudioBuffer(const AVCodecContext* AEnc, int ASamples) {
    if (ASamples <= Faudio_buf_samples && Faudio_buf_format == AEnc->sample_fmt &&
        Faudio_buf_channels == AEnc->ch_layout.nb_channels)
        return;
    avutil::av_freep(&Faudio_buf[0]);
    Faudio_buf_samples = 0;
    if (avutil::av_samples_alloc(Faudio_buf.data(), nullptr, AEnc->ch_layout.nb_channels, ASamples,
                                 AEnc->sample_fmt, 0) < 0)
        throw FFmpegException("Out of memory in do_audio_out");
    Faudio_buf_samples = ASamples;
    Faudio_buf_format = AEnc->sample_fmt;
    Faudio_buf_channels = AEnc->ch_layout.nb_channels;
}

// What the resampler still holds (its filter delay) goes into the FIFO.
void TCustomFFmpeg::DrainResampler(TAVOutputStream* AOst) {
    if (!AOst->resample)
        return;
    const AVCodecContext* Enc = AOst->enc_ctx;
    // Room for the delay and then some: a call that fills the buffer would
    // leave the rest behind.
    const std::int64_t Held = swresample::swr_get_delay(AOst->resample, Enc->sample_rate);
    if (Held < 0 || Held > 2147483647 / 16)
        throw FFmpegException("Buffer sizes too large in do_audio_out");
    ReserveAudioBuffer(Enc, static_cast<int>(std::max<std::int64_t>(Held * 2 + 64, 10000)));
    const int Count =
        swresample::swr_convert(AOst->resample, Faudio_buf.data(), Faudio_buf_samples, nullptr, 0);
    if (Count > 0 && avutil::av_audio_fifo_write(
                         AOst->fifo, reinterpret_cast<void**>(Faudio_buf.data()), Count) < Count)
        throw FFmpegException("av_fifo_realloc2() failed");
}

// Encodes what the FIFO holds: whole encoder frames, and at the end (AFlush)
// what the resampler still holds and the remainder as one last frame.
void TCustomFFmpeg::WriteAudioSamples(AVFormatContext* AContext, TAVOutputStream* AOst,
                                      bool AFlush) {
    AVCodecContext* Enc = AOst->enc_ctx;
    if (AFlush)
        DrainResampler(AOst);
    const bool FrameBased =
        Enc->frame_size > 1 && !(Enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    while (true) {
        const int Queued = avutil::av_audio_fifo_size(AOst->fifo);
        int Samples = FrameBased ? Enc->frame_size : Queued;
        if (Queued <= 0 || (FrameBased && Queued < Samples && !AFlush))
            return;
        int Padded = Samples;
        if (FrameBased && Queued < Samples) {
            // The last frame: short when the encoder takes one, else padded.
            Samples = Queued;
            Padded = (Enc->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) ? Queued
                                                                                : Enc->frame_size;
        }
        AVFrame* Frame = avutil::av_frame_alloc();
        if (!Frame)
            throw FFmpegException("Audio encoding failed");
        Frame->nb_samples = Padded;
        Frame->format = Enc->sample_fmt;
        Frame->sample_rate = Enc->sample_rate;
        avutil::av_channel_layout_copy(&Frame->ch_layout, &Enc->ch_layout);
        if (avutil::av_frame_get_buffer(Frame, 0) < 0) {
            avutil::av_frame_free(&Frame);
            throw FFmpegException("Out of memory in do_audio_out");
        }
        avutil::av_audio_fifo_read(AOst->fifo, reinterpret_cast<void**>(Frame->extended_data),
                                   Samples);
        if (Padded > Samples)
            avutil::av_samples_set_silence(Frame->extended_data, Samples, Padded - Samples,
                                           Enc->ch_layout.nb_channels, Enc->sample_fmt);
        Frame->pts = AOst->sync_opts;
        AOst->sync_opts += Padded;
        AOst->audio_started = true;
        try {
            EncodeFrame(AContext, AOst, Frame);
        } catch (...) {
            avutil::av_frame_free(&Frame);
            throw;
        }
        avutil::av_frame_free(&Frame);
        if (!FrameBased || Padded > Samples)
            return;
    }
}
