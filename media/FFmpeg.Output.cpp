// Creating an output: the container is chosen, its streams are made from the
// pending options and from what the last input left in the picture and sound
// fields, the file is opened for writing and the muxer set up. Nothing is
// encoded here; encoders open when the job runs.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "media/UnicodeProtocol.h"
#include "platform/core/Conversions.h"
#include "platform/core/Format.h"
#include "platform/core/Paths.h"

#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <ctime>

namespace {

void CopyMatrix(std::uint16_t*& ATarget,
                const std::optional<std::array<std::uint16_t, 64>>& AFrom) {
    if (!AFrom)
        return;
    avutil::av_freep(&ATarget);
    // The encoder context frees its matrices itself.
    ATarget = static_cast<std::uint16_t*>(avutil::av_malloc(sizeof(std::uint16_t) * 64));
    if (ATarget)
        std::memcpy(ATarget, AFrom->data(), sizeof(std::uint16_t) * 64);
}

// "start,end,q" entries separated by "/"; q may be missing (0) or negative
// (a quality factor of -q/100).
std::vector<RcOverride> ParseRcOverride(const std::string& AText) {
    std::vector<RcOverride> Result;
    const char* P = AText.c_str();
    while (true) {
        char* End = nullptr;
        RcOverride Entry{};
        Entry.start_frame = static_cast<int>(myutil::strtol(P, &End, 10));
        if (End == P || *End != ',')
            throw FFmpegException("error parsing rc_override");
        P = End + 1;
        Entry.end_frame = static_cast<int>(myutil::strtol(P, &End, 10));
        if (End == P || *End != ',')
            throw FFmpegException("error parsing rc_override");
        P = End + 1;
        const int Q = static_cast<int>(myutil::strtol(P, &End, 10));
        P = End;
        if (Q > 0) {
            Entry.qscale = Q;
            Entry.quality_factor = 1.0f;
        } else {
            Entry.qscale = 0;
            Entry.quality_factor = static_cast<float>(-Q) / 100.0f;
        }
        Result.push_back(Entry);
        P = std::strchr(P, '/');
        if (!P)
            return Result;
        ++P;
    }
}

AVRational StreamAspect(float AAspect, int AWidth, int AHeight) {
    const double Ratio = AWidth * AHeight != 0 ? static_cast<double>(AAspect) * AHeight / AWidth
                                               : static_cast<double>(AAspect) * 3 / 4;
    return avutil::av_d2q(Ratio, 255);
}

bool IsRegularFile(const std::string& AName) {
    struct stat Info {};
    return ::lstat(AName.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

} // namespace

void ApplyEncoderSettings(AVCodecContext* AContext, const TEncoderSettings& ASettings) {
    const AVDictionaryEntry* Entry = nullptr;
    while ((Entry = avutil::av_dict_get(ASettings.Options, "", Entry, AV_DICT_IGNORE_SUFFIX)))
        avutil::av_opt_set(AContext, Entry->key, Entry->value, AV_OPT_SEARCH_CHILDREN);
    AContext->codec_type = ASettings.codec_type;
    if (ASettings.codec_id != AV_CODEC_ID_NONE)
        AContext->codec_id = ASettings.codec_id;
    if (ASettings.codec_tag)
        AContext->codec_tag = ASettings.codec_tag;
    // Header bits go on after the options, so a "flags" option cannot drop them.
    AContext->flags |= ASettings.flags;
    AContext->flags2 |= ASettings.flags2;
    if (ASettings.time_base.num)
        AContext->time_base = ASettings.time_base;
    if (ASettings.framerate.num)
        AContext->framerate = ASettings.framerate;
    if (ASettings.codec_type == AVMEDIA_TYPE_VIDEO) {
        AContext->width = ASettings.width;
        AContext->height = ASettings.height;
        AContext->sample_aspect_ratio = ASettings.sample_aspect_ratio;
        AContext->pix_fmt = static_cast<AVPixelFormat>(ASettings.pix_fmt);
    } else if (ASettings.codec_type == AVMEDIA_TYPE_AUDIO) {
        AContext->sample_fmt = static_cast<AVSampleFormat>(ASettings.sample_fmt);
        AContext->sample_rate = ASettings.sample_rate;
        if (ASettings.ch_layout.nb_channels > 0) {
            avutil::av_channel_layout_uninit(&AContext->ch_layout);
            avutil::av_channel_layout_copy(&AContext->ch_layout, &ASettings.ch_layout);
        }
    }
    if (ASettings.intra_only)
        AContext->gop_size = 0;
    if (ASettings.has_global_quality)
        AContext->global_quality = ASettings.global_quality;
    CopyMatrix(AContext->intra_matrix, ASettings.intra_matrix);
    CopyMatrix(AContext->inter_matrix, ASettings.inter_matrix);
    if (!ASettings.rc_override.empty()) {
        avutil::av_freep(&AContext->rc_override);
        const std::size_t Bytes = sizeof(RcOverride) * ASettings.rc_override.size();
        AContext->rc_override = static_cast<RcOverride*>(avutil::av_malloc(Bytes));
        if (AContext->rc_override) {
            std::memcpy(AContext->rc_override, ASettings.rc_override.data(), Bytes);
            AContext->rc_override_count = static_cast<int>(ASettings.rc_override.size());
        }
    }
    if (AContext->rc_initial_buffer_occupancy == 0)
        AContext->rc_initial_buffer_occupancy = AContext->rc_buffer_size * 3 / 4;
    if (ASettings.has_intra_dc_precision)
        AContext->intra_dc_precision = ASettings.intra_dc_precision;
    // One job uses the cores there are; several jobs share them.
    AContext->thread_count = 0;
}

// ---- Format choice ------------------------------------------------------------------

void TCustomFFmpeg::ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec) {
    if (!ACodec || !ACodec->sample_fmts)
        return;
    for (const AVSampleFormat* Fmt = ACodec->sample_fmts; *Fmt != AV_SAMPLE_FMT_NONE; ++Fmt)
        if (*Fmt == AContext->sample_fmt)
            return;
    AContext->sample_fmt = ACodec->sample_fmts[0];
}

void TCustomFFmpeg::ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec) {
    if (!ACodec || !ACodec->supported_samplerates)
        return;
    int Best = 0;
    int BestDistance = 2147483647;
    for (const int* Rate = ACodec->supported_samplerates; *Rate; ++Rate) {
        const int Distance = std::abs(AContext->sample_rate - *Rate);
        if (Distance < BestDistance) {
            BestDistance = Distance;
            Best = *Rate;
        }
    }
    if (BestDistance != 0)
        Log(llWarning,
            Format("Requested sampling rate unsupported using closest supported (%d)", {Best}));
    AContext->sample_rate = Best;
}

void TCustomFFmpeg::ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec) {
    if (!ACodec || !ACodec->pix_fmts)
        return;
    for (const AVPixelFormat* Fmt = ACodec->pix_fmts; *Fmt != AV_PIX_FMT_NONE; ++Fmt)
        if (*Fmt == AContext->pix_fmt)
            return;
    // Full-range JPEG pictures are accepted in the plain formats when the
    // user relaxed the standard.
    if (ACodec->id == AV_CODEC_ID_MJPEG && AContext->strict_std_compliance <= -1 &&
        (AContext->pix_fmt == AV_PIX_FMT_YUV420P || AContext->pix_fmt == AV_PIX_FMT_YUV422P))
        return;
    AContext->pix_fmt = ACodec->pix_fmts[0];
}

// ---- Slots ----------------------------------------------------------------------------

TAVOutputFileState* TCustomFFmpeg::OutputState(const AVFormatContext* AContext) {
    auto Found = Foutput_states.find(AContext);
    return Found == Foutput_states.end() ? nullptr : &Found->second;
}

TAVOutputSlot* TCustomFFmpeg::OutputSlot(AVFormatContext* AContext, int AIndex) {
    auto& Slots = Foutput_states[AContext].Slots;
    if (static_cast<int>(Slots.size()) <= AIndex)
        Slots.resize(AIndex + 1);
    if (!Slots[AIndex]) {
        auto Slot = std::make_unique<TAVOutputSlot>();
        Slot->StreamCopy = true;
        Slot->Settings.codec_type = AContext->streams[AIndex]->codecpar->codec_type;
        Slot->Codec = avcodec::avcodec_alloc_context3(nullptr);
        Slots[AIndex] = std::move(Slot);
    }
    return Slots[AIndex].get();
}

// ---- Stream creators --------------------------------------------------------------------

TAVOutputSlot& TCustomFFmpeg::NewOutputStream(AVFormatContext* AContext, AVMediaType AType,
                                              std::vector<std::string>& APendingBsf,
                                              AVStream*& ASt) {
    const unsigned Number = AContext->nb_streams;
    ASt = avformat::avformat_new_stream(AContext, nullptr);
    if (!ASt)
        throw FFmpegException("Could not alloc stream");
    // The id table covers the first streams only; later ones take the
    // muxer's own numbering.
    ASt->id = Number < Fstreamid_map.size() ? Fstreamid_map[Number] : 0;
    ASt->codecpar->codec_type = AType;
    TAVOutputSlot* Slot = OutputSlot(AContext, static_cast<int>(Number));
    Slot->StreamCopy = false;
    Slot->Settings.codec_type = AType;
    Slot->BsfNames = std::move(APendingBsf);
    APendingBsf.clear();
    return *Slot;
}

namespace {

// Whether the muxer writes a header for a stream of the codec, tried on a
// scratch context with plain parameters that writes into memory.
bool MuxerSetsUp(const AVOutputFormat* AFormat, AVCodecID AId, AVMediaType AType) {
    AVFormatContext* Scratch = nullptr;
    if (avformat::avformat_alloc_output_context2(&Scratch, AFormat, nullptr, nullptr) < 0 ||
        !Scratch)
        return true;
    bool SetsUp = true;
    if (AVStream* St = avformat::avformat_new_stream(Scratch, nullptr)) {
        AVCodecParameters* Par = St->codecpar;
        Par->codec_type = AType;
        Par->codec_id = AId;
        if (AType == AVMEDIA_TYPE_AUDIO) {
            Par->sample_rate = 44100;
            avutil::av_channel_layout_default(&Par->ch_layout, 2);
            St->time_base = {1, 44100};
        } else {
            Par->width = 320;
            Par->height = 240;
            St->time_base = {1, 25};
        }
        if (avformat::avio_open_dyn_buf(&Scratch->pb) >= 0) {
            SetsUp = avformat::avformat_write_header(Scratch, nullptr) >= 0;
            if (SetsUp)
                avformat::av_write_trailer(Scratch);
            std::uint8_t* Written = nullptr;
            avformat::avio_close_dyn_buf(Scratch->pb, &Written);
            avutil::av_free(Written);
            Scratch->pb = nullptr;
        }
    }
    avformat::avformat_free_context(Scratch);
    return SetsUp;
}

// A container that cannot hold the codec. The muxer's own list answers when
// it has one; a muxer without one is asked to set up a stream of the codec,
// and counts as refusing only when it does set up its own default codec
// with the same parameters, so a muxer that merely wants more than plain
// parameters is never judged to refuse.
bool ContainerRefuses(const AVOutputFormat* AFormat, AVCodecID AId, AVCodecID ADefault,
                      AVMediaType AType, int AStrict) {
    if (!AFormat || AId == AV_CODEC_ID_NONE || ADefault == AV_CODEC_ID_NONE || AId == ADefault)
        return false;
    const int Known = avformat::avformat_query_codec(AFormat, AId, AStrict);
    if (Known >= 0)
        return Known == 0;
    return !MuxerSetsUp(AFormat, AId, AType) && MuxerSetsUp(AFormat, ADefault, AType);
}

} // namespace

// Records the kind's encoding options, finds the encoder by name or by the
// muxer's choice and makes the encoder context of the slot.
void TCustomFFmpeg::SetupEncoder(TAVOutputSlot& ASlot, AVMediaType AType, const std::string& AName,
                                 AVFormatContext* AContext, int AOptionFlags) {
    TEncoderSettings& Settings = ASlot.Settings;
    ApplyContextOptions(FOptions, &Settings.Options, static_cast<TFFOptionTarget>(AType),
                        AOptionFlags);
    // The strictness the options ask for decides on experimental encoders.
    AVCodecContext* Probe = avcodec::avcodec_alloc_context3(nullptr);
    if (!Probe)
        throw FFmpegException("avcodec_alloc_context3 failed");
    ApplyEncoderSettings(Probe, Settings);
    const int Strict = Probe->strict_std_compliance;
    avcodec::avcodec_free_context(&Probe);

    AVCodecID Id = AV_CODEC_ID_NONE;
    if (!AName.empty()) {
        if (!FindCodec(AName, AType, Id, Strict, true, &ASlot.Encoder))
            throw FFmpegException(FLastErrMsg);
        // A sound encoder the container cannot hold gives way to the
        // container's own, so the job still makes a file that plays.
        const AVCodecID Default =
            avformat::av_guess_codec(AContext->oformat, nullptr, AContext->url, nullptr, AType);
        const AVCodec* Fallback =
            Default != AV_CODEC_ID_NONE ? avcodec::avcodec_find_encoder(Default) : nullptr;
        if (AType == AVMEDIA_TYPE_AUDIO && Fallback &&
            ContainerRefuses(AContext->oformat, Id, Default, AType, Strict)) {
            Log(llWarning,
                Format("Audio codec %s cannot go into %s output, using %s instead",
                       {AName, std::string(AContext->oformat->name), std::string(Fallback->name)}));
            Id = Default;
            ASlot.Encoder = Fallback;
        }
    } else {
        Id = avformat::av_guess_codec(AContext->oformat, nullptr, AContext->url, nullptr, AType);
        ASlot.Encoder = Id != AV_CODEC_ID_NONE ? avcodec::avcodec_find_encoder(Id) : nullptr;
    }
    Settings.codec_id = Id;
    avcodec::avcodec_free_context(&ASlot.Codec);
    ASlot.Codec = avcodec::avcodec_alloc_context3(ASlot.Encoder);
    if (!ASlot.Codec)
        throw FFmpegException("avcodec_alloc_context3 failed");
}

namespace {

// The pending names of one kind are released when its creator fails.
template <class TBody>
void ResetOnFailure(TBody ABody, std::initializer_list<std::string*> AFields) {
    try {
        ABody();
    } catch (...) {
        for (std::string* Field : AFields)
            Field->clear();
        throw;
    }
}

void SetLanguage(AVStream* ASt, std::string& ALanguage) {
    if (ALanguage.empty())
        return;
    avutil::av_dict_set(&ASt->metadata, "language", ALanguage.c_str(), 0);
    ALanguage.clear();
}

} // namespace

void TCustomFFmpeg::new_video_stream(AVFormatContext* AContext) {
    ResetOnFailure(
        [&] {
            AVStream* St = nullptr;
            TAVOutputSlot& Slot =
                NewOutputStream(AContext, AVMEDIA_TYPE_VIDEO, Fvideo_bitstream_filters, St);
            TEncoderSettings& Settings = Slot.Settings;
            if (Fvideo_codec_tag)
                Settings.codec_tag = Fvideo_codec_tag;
            if ((Fvideo_global_header & 1) ||
                (Fvideo_global_header == 0 && (AContext->oformat->flags & AVFMT_GLOBALHEADER)))
                Settings.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
            if (Fvideo_global_header & 2)
                Settings.flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
            const AVCodec* Named = nullptr;
            if (Fvideo_stream_copy) {
                Slot.StreamCopy = true;
                Settings.sample_aspect_ratio =
                    StreamAspect(Fframe_aspect_ratio, Fframe_width, Fframe_height);
                St->sample_aspect_ratio = Settings.sample_aspect_ratio;
                ApplyEncoderSettings(Slot.Codec, Settings);
            } else {
                AVRational Rate = Fframe_rate.num ? Fframe_rate : AVRational{25, 1};
                SetupEncoder(Slot, AVMEDIA_TYPE_VIDEO, Fvideo_codec_name, AContext,
                             AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
                if (!Fvideo_codec_name.empty())
                    Named = Slot.Encoder;
                const AVCodec* Encoder = Slot.Encoder;
                if (Encoder && Encoder->supported_framerates && !Fforce_fps)
                    Rate = Encoder->supported_framerates[avutil::av_find_nearest_q_idx(
                        Rate, Encoder->supported_framerates)];
                Settings.time_base = {Rate.den, Rate.num};
                Settings.framerate = Rate;
                Settings.width = Fframe_width;
                Settings.height = Fframe_height;
                Settings.sample_aspect_ratio =
                    StreamAspect(Fframe_aspect_ratio, Fframe_width, Fframe_height);
                Settings.pix_fmt = Fframe_pix_fmt;
                St->sample_aspect_ratio = Settings.sample_aspect_ratio;
                Settings.intra_only = Fintra_only;
                if (Fvideo_qscale != 0 || Fsame_quality) {
                    Settings.flags |= AV_CODEC_FLAG_QSCALE;
                    Slot.Quality = FF_QP2LAMBDA * Fvideo_qscale;
                    Settings.has_global_quality = true;
                    Settings.global_quality = static_cast<int>(Trunc(Slot.Quality));
                }
                Settings.intra_matrix = Fintra_matrix;
                Settings.inter_matrix = Finter_matrix;
                if (!Fvideo_rc_override_string.empty())
                    Settings.rc_override = ParseRcOverride(Fvideo_rc_override_string);
                Settings.has_intra_dc_precision = true;
                Settings.intra_dc_precision = Fintra_dc_precision - 8;
                if (Fdo_psnr)
                    Settings.flags |= AV_CODEC_FLAG_PSNR;
                if (Fdo_pass == 1)
                    Settings.flags |= AV_CODEC_FLAG_PASS1;
                else if (Fdo_pass)
                    Settings.flags |= AV_CODEC_FLAG_PASS2;
                ApplyEncoderSettings(Slot.Codec, Settings);
                ChoosePixelFormat(Slot.Codec, Encoder);
                Settings.pix_fmt = Slot.Codec->pix_fmt;
            }
            // The stream shows what it will be from now on (the dump of the job).
            avcodec::avcodec_parameters_from_context(St->codecpar, Slot.Codec);
            Foutput_codecs.push_back(Named);
            SetLanguage(St, Fvideo_language);
        },
        {&Fvideo_codec_name});
    Fvideo_disable = false;
    Fvideo_codec_name.clear();
    Fvideo_stream_copy = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
}

void TCustomFFmpeg::new_audio_stream(AVFormatContext* AContext) {
    ResetOnFailure(
        [&] {
            AVStream* St = nullptr;
            TAVOutputSlot& Slot =
                NewOutputStream(AContext, AVMEDIA_TYPE_AUDIO, Faudio_bitstream_filters, St);
            TEncoderSettings& Settings = Slot.Settings;
            if (Faudio_codec_tag)
                Settings.codec_tag = Faudio_codec_tag;
            if (AContext->oformat->flags & AVFMT_GLOBALHEADER)
                Settings.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
            const AVCodec* Named = nullptr;
            const auto SetChannels = [&] {
                avutil::av_channel_layout_uninit(&Settings.ch_layout);
                if (Fchannel_layout &&
                    std::popcount(static_cast<std::uint64_t>(Fchannel_layout)) == Faudio_channels)
                    avutil::av_channel_layout_from_mask(
                        &Settings.ch_layout, static_cast<std::uint64_t>(Fchannel_layout));
                else if (Faudio_channels > 0)
                    avutil::av_channel_layout_default(&Settings.ch_layout, Faudio_channels);
            };
            Settings.time_base = {1, Faudio_sample_rate};
            if (Faudio_stream_copy) {
                Slot.StreamCopy = true;
                SetChannels();
                Settings.sample_rate = Faudio_sample_rate;
                ApplyEncoderSettings(Slot.Codec, Settings);
            } else {
                SetupEncoder(Slot, AVMEDIA_TYPE_AUDIO, Faudio_codec_name, AContext,
                             AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
                if (!Faudio_codec_name.empty())
                    Named = Slot.Encoder;
                if (Faudio_qscale > -99999) {
                    Settings.flags |= AV_CODEC_FLAG_QSCALE;
                    Slot.Quality = FF_QP2LAMBDA * Faudio_qscale;
                    Settings.has_global_quality = true;
                    Settings.global_quality = static_cast<int>(Trunc(Slot.Quality));
                }
                SetChannels();
                Settings.sample_fmt = Faudio_sample_fmt;
                Settings.sample_rate = Faudio_sample_rate;
                ApplyEncoderSettings(Slot.Codec, Settings);
                ChooseSampleFormat(Slot.Codec, Slot.Encoder);
                ChooseSampleRate(Slot.Codec, Slot.Encoder);
                Settings.sample_fmt = Slot.Codec->sample_fmt;
                Settings.sample_rate = Slot.Codec->sample_rate;
                // Frames are counted in samples of the rate finally chosen.
                if (Settings.sample_rate > 0) {
                    Settings.time_base = {1, Settings.sample_rate};
                    Slot.Codec->time_base = Settings.time_base;
                }
            }
            // The stream shows what it will be from now on (the dump of the job).
            avcodec::avcodec_parameters_from_context(St->codecpar, Slot.Codec);
            Foutput_codecs.push_back(Named);
            SetLanguage(St, Faudio_language);
        },
        {&Faudio_codec_name, &Faudio_language});
    Faudio_disable = false;
    Faudio_codec_name.clear();
    Faudio_stream_copy = 0;
}

void TCustomFFmpeg::new_subtitle_stream(AVFormatContext* AContext) {
    ResetOnFailure(
        [&] {
            AVStream* St = nullptr;
            TAVOutputSlot& Slot =
                NewOutputStream(AContext, AVMEDIA_TYPE_SUBTITLE, Fsubtitle_bitstream_filters, St);
            TEncoderSettings& Settings = Slot.Settings;
            if (Fsubtitle_codec_tag)
                Settings.codec_tag = Fsubtitle_codec_tag;
            const AVCodec* Named = nullptr;
            if (Fsubtitle_stream_copy) {
                Slot.StreamCopy = true;
                ApplyEncoderSettings(Slot.Codec, Settings);
            } else {
                // Without a name the muxer's own subtitle codec is taken, as
                // for pictures and sound.
                SetupEncoder(Slot, AVMEDIA_TYPE_SUBTITLE, Fsubtitle_codec_name, AContext,
                             AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
                // Encoders of this library refuse to open without a clock;
                // subtitles are timed in microseconds.
                Settings.time_base = MicrosecondsBase;
                if (!Fsubtitle_codec_name.empty())
                    Named = Slot.Encoder;
                ApplyEncoderSettings(Slot.Codec, Settings);
            }
            // The stream shows what it will be from now on (the dump of the job).
            avcodec::avcodec_parameters_from_context(St->codecpar, Slot.Codec);
            Foutput_codecs.push_back(Named);
            SetLanguage(St, Fsubtitle_language);
        },
        {&Fsubtitle_codec_name, &Fsubtitle_language});
    Fsubtitle_disable = false;
    Fsubtitle_codec_name.clear();
    Fsubtitle_stream_copy = 0;
}

// ---- The output --------------------------------------------------------------------------

void TCustomFFmpeg::check_audio_video_sub_inputs(int& AHasVideo, int& AHasAudio, bool AFirstOnly,
                                                 int& AHasSubtitle) {
    AHasVideo = AHasAudio = AHasSubtitle = 0;
    const int Count = AFirstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (int I = 0; I < Count; ++I) {
        const AVFormatContext* Context = Finput_files[I];
        for (unsigned J = 0; J < Context->nb_streams; ++J) {
            const AVStream* St = Context->streams[J];
            switch (St->codecpar->codec_type) {
            case AVMEDIA_TYPE_AUDIO:
                AHasAudio = 1;
                break;
            case AVMEDIA_TYPE_VIDEO:
                // A cover picture does not make an input a video.
                if (!(St->disposition & AV_DISPOSITION_ATTACHED_PIC))
                    AHasVideo = 1;
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                AHasSubtitle = 1;
                break;
            case AVMEDIA_TYPE_DATA:
            case AVMEDIA_TYPE_ATTACHMENT:
            case AVMEDIA_TYPE_UNKNOWN:
                break;
            default:
                throw FFmpegException("invalid codec_type of input file");
            }
        }
    }
}

int TCustomFFmpeg::OpenOutputFile(const std::string& AFileName, bool AJoin) {
    if (FJoinMode) {
        FLastErrMsg = "Cannot join more than one output file.";
        return -1;
    }
    FEnableFilter = !Fvfilters.empty();
    if (Fnb_output_files >= FMaxFiles) {
        FLastErrMsg = Format("max output files %d reached", {FMaxFiles});
        return -1;
    }
    // Writing would truncate the input before a byte of it is read. The
    // file's identity counts, not its spelling: "./a", a link or a second
    // hard link name the same file.
    for (int I = 0; I < Fnb_input_files; ++I)
        if (Finput_files[I] && Finput_files[I]->url &&
            SameFile(FileNameFromAV(Finput_files[I]->url), AFileName)) {
            FLastErrMsg = Format("Output %s same as Input #%d - exiting", {AFileName, I});
            return -1;
        }
    const AVOutputFormat* Muxer = nullptr;
    if (!Flast_asked_format.empty()) {
        Muxer = avformat::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
        if (!Muxer) {
            FLastErrMsg = Format("Requested output format '%s' is not a suitable output format",
                                 {Flast_asked_format});
            return -1;
        }
        Flast_asked_format.clear();
    } else {
        Muxer = avformat::av_guess_format(nullptr, FileNameToAV(AFileName).c_str(), nullptr);
        if (!Muxer) {
            FLastErrMsg = Format("Unable to find a suitable output format for '%s'", {AFileName});
            return -1;
        }
    }
    AVFormatContext* Context = nullptr;
    if (avformat::avformat_alloc_output_context2(&Context, Muxer, nullptr,
                                                 FileNameToAV(AFileName).c_str()) < 0 ||
        !Context)
        throw FFmpegException("avformat_alloc_context failed");
    InstallUnicodeIO(Context);
    Foutput_states[Context];

    bool Stored = false;
    bool FileOpened = false;
    const int Before = Fnb_output_files;
    const std::size_t CodecsBefore = Foutput_codecs.size();
    const auto Undo = [&] {
        if (Stored) {
            for (int I = Before; I < Fnb_output_files; ++I)
                Foutput_files[I] = nullptr;
            Fnb_output_files = Before;
            FJoinMode = false;
        }
        if (FileOpened)
            avformat::avio_closep(&Context->pb);
        Foutput_states.erase(Context);
        avformat::avformat_free_context(Context);
        Foutput_codecs.resize(std::min(Foutput_codecs.size(), CodecsBefore));
        // A file this call created is removed only when nothing is in it.
        if (FileOpened && IsRegularFile(AFileName) && GetFileSizeByName(AFileName) == 0)
            DeleteFile(AFileName);
    };
    try {
        const int Result = DoOpenOutputFile(Context, AFileName, AJoin, Stored, FileOpened);
        if (Result < 0)
            Undo();
        return Result;
    } catch (...) {
        Undo();
        throw;
    }
}

int TCustomFFmpeg::DoOpenOutputFile(AVFormatContext* AContext, const std::string& AFileName,
                                    bool AJoin, bool& AStored, bool& AFileOpened) {
    const AVOutputFormat* Muxer = AContext->oformat;
    int UseVideo =
        Muxer->video_codec != AV_CODEC_ID_NONE || Fvideo_stream_copy || !Fvideo_codec_name.empty();
    int UseAudio =
        Muxer->audio_codec != AV_CODEC_ID_NONE || Faudio_stream_copy || !Faudio_codec_name.empty();
    int UseSubtitle = Muxer->subtitle_codec != AV_CODEC_ID_NONE || Fsubtitle_stream_copy ||
                      !Fsubtitle_codec_name.empty();
    if (Fnb_input_files > 0) {
        int HasVideo = 0, HasAudio = 0, HasSubtitle = 0;
        try {
            check_audio_video_sub_inputs(HasVideo, HasAudio, AJoin, HasSubtitle);
        } catch (const Exception& E) {
            FLastErrMsg = "check_audio_video_sub_inputs fail: " + E.Message();
            return -1;
        }
        UseVideo = UseVideo && HasVideo;
        UseAudio = UseAudio && HasAudio;
        UseSubtitle = UseSubtitle && HasSubtitle;
    }
    if (Fvideo_disable)
        UseVideo = 0;
    if (Faudio_disable)
        UseAudio = 0;
    if (Fsubtitle_disable)
        UseSubtitle = 0;
    const auto Create = [&](int AUse, const char* AName,
                            void (TCustomFFmpeg::*ACreator)(AVFormatContext*)) {
        if (!AUse)
            return true;
        try {
            (this->*ACreator)(AContext);
            return true;
        } catch (const Exception& E) {
            FLastErrMsg = Format("%s fail: %s", {AName, E.Message()});
            return false;
        }
    };
    if (!Create(UseVideo, "new_video_stream", &TCustomFFmpeg::new_video_stream) ||
        !Create(UseAudio, "new_audio_stream", &TCustomFFmpeg::new_audio_stream) ||
        !Create(UseSubtitle, "new_subtitle_stream", &TCustomFFmpeg::new_subtitle_stream))
        return -1;

    if (Frecording_timestamp) {
        const std::time_t Seconds = static_cast<std::time_t>(Frecording_timestamp);
        std::tm Utc{};
        gmtime_r(&Seconds, &Utc);
        char Text[64];
        std::strftime(Text, sizeof Text, "%Y-%m-%dT%H:%M:%S.000000Z", &Utc);
        avutil::av_dict_set(&AContext->metadata, "creation_time", Text, 0);
    }
    for (auto Tag = Fmetadata.rbegin(); Tag != Fmetadata.rend(); ++Tag)
        avutil::av_dict_set(&AContext->metadata, Tag->key.c_str(), Tag->value.c_str(), 0);
    Fmetadata.clear();

    Foutput_files[Fnb_output_files++] = AContext;
    AStored = true;

    if ((Muxer->flags & AVFMT_NEEDNUMBER) && !avformat::av_filename_number_test(AContext->url)) {
        FLastErrMsg = FormatAVError(FileNameFromAV(AContext->url), AVERROR(EDOM));
        return -1;
    }
    if (!(Muxer->flags & AVFMT_NOFILE)) {
        const int Opened = UnicodeAVIOOpen(&AContext->pb, AFileName, AVIO_FLAG_WRITE,
                                           &AContext->interrupt_callback, nullptr);
        if (Opened < 0) {
            FLastErrMsg = FormatAVError(AFileName, Opened);
            return -1;
        }
        AFileOpened = true;
        Foutput_states[AContext].OpenedForWriting = true;
    }

    // Rounded, not cut: the seconds arrive as single-precision numbers, and
    // 0.44 would otherwise become 439999 microseconds.
    avutil::av_opt_set_int(AContext, "preload",
                           std::llround(static_cast<double>(Fmux_preload) * 1000000.0),
                           AV_OPT_SEARCH_CHILDREN);
    AContext->max_delay =
        static_cast<int>(std::llround(static_cast<double>(Fmux_max_delay) * 1000000.0));
    avutil::av_opt_set_int(AContext, "loop", Floop_output, AV_OPT_SEARCH_CHILDREN);
    AContext->flags |= AVFMT_FLAG_NONBLOCK;
    ApplyContextOptions(FOptions, AContext, otFormat, AV_OPT_FLAG_ENCODING_PARAM);
    Fstreamid_map.fill(0);

    if (AJoin && Fnb_input_files > 1) {
        // Every further input repeats the entry: the table must hold them all.
        if (Fnb_output_files + Fnb_input_files - 1 > FMaxFiles) {
            FLastErrMsg = Format("max output files %d reached", {FMaxFiles});
            return -1;
        }
        FJoinMode = true;
        std::int64_t Sum = 0;
        for (int I = 0; I < Fnb_input_files; ++I)
            if (Finput_files[I]->duration != AV_NOPTS_VALUE)
                Sum += Finput_files[I]->duration;
        FTotalOutputDuration = Sum ? Sum : -1;
        for (int I = 1; I < Fnb_input_files; ++I) {
            Foutput_files[Fnb_output_files] = Foutput_files[Fnb_output_files - 1];
            ++Fnb_output_files;
        }
    }
    return Fnb_output_files;
}
