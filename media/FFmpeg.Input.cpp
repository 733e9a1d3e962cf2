// Opening an input: the pending input options are consumed, the file is
// opened and probed, and the engine's picture and sound fields take what the
// file holds, as defaults for the outputs created next.
#include "media/FFmpeg.h"

#include "media/CodecLock.h"
#include "media/FFmpegLogger.h"
#include "media/UnicodeProtocol.h"
#include "platform/core/Format.h"

#include <cstdlib>

namespace {

const char* CoderWord(bool AEncoder) {
    return AEncoder ? "encoder" : "decoder";
}

// An input context until the engine stores it: freed when not yet opened,
// closed once opened, on every way out that does not keep it.
class TInputGuard {
public:
    TInputGuard() = default;
    ~TInputGuard() {
        if (!Context)
            return;
        if (Opened)
            avformat::avformat_close_input(&Context);
        else
            avformat::avformat_free_context(Context);
    }
    TInputGuard(const TInputGuard&) = delete;
    TInputGuard& operator=(const TInputGuard&) = delete;
    AVFormatContext* Release() {
        AVFormatContext* Result = Context;
        Context = nullptr;
        return Result;
    }

    AVFormatContext* Context = nullptr;
    bool Opened = false;
};

class TDictionary {
public:
    TDictionary() = default;
    ~TDictionary() { avutil::av_dict_free(&Dict); }
    TDictionary(const TDictionary&) = delete;
    TDictionary& operator=(const TDictionary&) = delete;
    void Set(const char* AKey, const std::string& AValue) {
        avutil::av_dict_set(&Dict, AKey, AValue.c_str(), 0);
    }
    AVDictionary* Dict = nullptr;
};

} // namespace

bool TCustomFFmpeg::FindCodec(const std::string& AName, int AType, AVCodecID& ACodecID, int AStrict,
                              bool AEncoder, const AVCodec** AFound) {
    ACodecID = AV_CODEC_ID_NONE;
    if (AName.empty())
        return true;
    const AVCodec* Codec =
        AEncoder ? FindEncoderByName(AName) : avcodec::avcodec_find_decoder_by_name(AName.c_str());
    if (!Codec) {
        FLastErrMsg = Format("Unknown %s '%s'", {CoderWord(AEncoder), AName});
        return false;
    }
    if (Codec->type != AType) {
        FLastErrMsg = Format("Invalid %s type '%s'", {CoderWord(AEncoder), AName});
        return false;
    }
    if ((Codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) && AStrict > FF_COMPLIANCE_EXPERIMENTAL) {
        FLastErrMsg = Format("%s '%s' is experimental and might produce bad results.\r\n"
                             "Add '-strict experimental' if you want to use it.",
                             {CoderWord(AEncoder), std::string(Codec->name)});
        const AVCodec* Other = AEncoder ? avcodec::avcodec_find_encoder(Codec->id)
                                        : avcodec::avcodec_find_decoder(Codec->id);
        if (Other && !(Other->capabilities & AV_CODEC_CAP_EXPERIMENTAL))
            FLastErrMsg += Format("\r\nOr use the non experimental %s '%s'.",
                                  {CoderWord(AEncoder), std::string(Other->name)});
        return false;
    }
    ACodecID = Codec->id;
    if (AFound)
        *AFound = Codec;
    return true;
}

bool TCustomFFmpeg::OpenInputFile(const std::string& AFileName) {
    const bool Result = DoOpenInputFile(AFileName);
    // Only a raised failure leaves the pending input options in place.
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_channel = 0;
    return Result;
}

bool TCustomFFmpeg::DoOpenInputFile(const std::string& AFileName) {
    if (Fnb_input_files >= FMaxFiles) {
        FLastErrMsg = Format("max input files %d reached", {FMaxFiles});
        return false;
    }
    const AVInputFormat* Forced = nullptr;
    if (!Flast_asked_format.empty()) {
        // The name is used up even when it names nothing.
        const std::string Name = std::move(Flast_asked_format);
        Flast_asked_format.clear();
        Forced = avformat::av_find_input_format(Name.c_str());
        if (!Forced)
            throw FFmpegException("Unknown input format: \"%s\"", {Name});
    }
    TInputGuard Guard;
    Guard.Context = avformat::avformat_alloc_context();
    if (!Guard.Context)
        throw FFmpegException("avformat_alloc_context failed");
    InstallUnicodeIO(Guard.Context);

    // What raw and capture demuxers read; others leave these alone.
    TDictionary Params;
    if (Fframe_rate.num != 0)
        Params.Set("framerate", Format("%d/%d", {Fframe_rate.num, Fframe_rate.den}));
    if (Fframe_width != 0 && Fframe_height != 0)
        Params.Set("video_size", Format("%dx%d", {Fframe_width, Fframe_height}));
    if (Fframe_pix_fmt != AV_PIX_FMT_NONE)
        if (const char* PixName = avutil::av_get_pix_fmt_name(Fframe_pix_fmt))
            Params.Set("pixel_format", PixName);
    Params.Set("sample_rate", std::to_string(Faudio_sample_rate));
    Params.Set("channels", std::to_string(Faudio_channels));
    if (Fvideo_channel != 0)
        Params.Set("channel", std::to_string(Fvideo_channel));
    if (!Fvideo_standard.empty())
        Params.Set("standard", Fvideo_standard);
    if (Floop_input)
        Params.Set("loop", "1");
    ApplyContextOptions(FOptions, &Params.Dict, otFormat, AV_OPT_FLAG_DECODING_PARAM);

    AVCodecID VideoId = AV_CODEC_ID_NONE;
    AVCodecID AudioId = AV_CODEC_ID_NONE;
    AVCodecID SubtitleId = AV_CODEC_ID_NONE;
    const auto Strict = [this](int AType) {
        const AVCodecContext* Options = FOptions.avcodec_opts[AType];
        return Options ? Options->strict_std_compliance : 0;
    };
    if (!FindCodec(Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, VideoId, Strict(otVideo), false) ||
        !FindCodec(Faudio_codec_name, AVMEDIA_TYPE_AUDIO, AudioId, Strict(otAudio), false) ||
        !FindCodec(Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, SubtitleId, Strict(otSubtitle),
                   false))
        return false;
    AVFormatContext* Context = Guard.Context;
    Context->video_codec_id = VideoId;
    Context->audio_codec_id = AudioId;
    Context->subtitle_codec_id = SubtitleId;
    Context->flags |= AVFMT_FLAG_NONBLOCK;
    if (Fpgmyuv_compatibility_hack)
        Context->video_codec_id = AV_CODEC_ID_PGMYUV;

    const int Opened = avformat::avformat_open_input(
        &Guard.Context, FileNameToAV(AFileName).c_str(), Forced, &Params.Dict);
    if (Opened < 0) {
        // The library has freed the context already.
        Guard.Context = nullptr;
        FLastErrMsg = FormatAVError(AFileName, Opened);
        return false;
    }
    Guard.Opened = true;
    Context = Guard.Context;

    if (Fopt_programid) {
        bool Found = false;
        for (unsigned I = 0; I < Context->nb_streams; ++I)
            Context->streams[I]->discard = AVDISCARD_ALL;
        for (unsigned I = 0; I < Context->nb_programs; ++I) {
            AVProgram* Program = Context->programs[I];
            if (Program->id != Fopt_programid) {
                Program->discard = AVDISCARD_ALL;
                continue;
            }
            Found = true;
            for (unsigned J = 0; J < Program->nb_stream_indexes; ++J)
                Context->streams[Program->stream_index[J]]->discard = AVDISCARD_DEFAULT;
        }
        if (!Found) {
            FLastErrMsg = "Specified program id not found";
            return false;
        }
        Fopt_programid = 0;
    }

    int Probed;
    {
        TCodecLockGuard Lock(CodecLock());
        Probed = avformat::avformat_find_stream_info(Context, nullptr);
    }
    if (Probed < 0 && Fverbose >= 0) {
        FLastErrMsg = Format("%s: could not find codec parameters", {AFileName});
        Log(llVerbose, FLastErrMsg);
        return false;
    }

    std::int64_t Timestamp = Fstart_time;
    if (Context->start_time != AV_NOPTS_VALUE)
        Timestamp += Context->start_time;
    if (Fstart_time != 0) {
        if (avformat::av_seek_frame(Context, -1, Timestamp, AVSEEK_FLAG_BACKWARD) < 0 &&
            Fverbose > 0)
            Log(llVerbose, Format("%s: could not seek to position %0.3f",
                                  {AFileName, static_cast<double>(Timestamp) / 1000000.0}));
        Fstart_time = 0;
    }

    std::vector<std::unique_ptr<TAVInputSlot>> Slots;
    std::vector<const AVCodec*> Codecs;
    for (unsigned I = 0; I < Context->nb_streams; ++I)
        Slots.push_back(TakeInputStream(AFileName, Context->streams[I], Codecs));

    if (Context->duration != AV_NOPTS_VALUE && Context->duration > FTotalOutputDuration)
        FTotalOutputDuration = Context->duration;
    Finput_files_ts_offset[Fnb_input_files] =
        Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - Timestamp;
    if (Fverbose >= 0)
        avformat::av_dump_format(Context, Fnb_input_files, FileNameToAV(AFileName).c_str(), 0);
    Finput_files[Fnb_input_files] = Guard.Release();
    Finput_slots[Fnb_input_files] = std::move(Slots);
    Finput_codecs.insert(Finput_codecs.end(), Codecs.begin(), Codecs.end());
    ++Fnb_input_files;
    return true;
}

// One stream of a newly opened input: its slot, its decoder entry and what
// it tells about the picture and the sound.
std::unique_ptr<TAVInputSlot> TCustomFFmpeg::TakeInputStream(const std::string& AFileName,
                                                             AVStream* ASt,
                                                             std::vector<const AVCodec*>& ACodecs) {
    (void)AFileName;
    auto Slot = std::make_unique<TAVInputSlot>();
    AVCodecParameters* Par = ASt->codecpar;
    const auto DecoderNamed = [](const std::string& AName) -> const AVCodec* {
        return AName.empty() ? nullptr : avcodec::avcodec_find_decoder_by_name(AName.c_str());
    };
    switch (Par->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        ApplyContextOptions(FOptions, &Slot->DecoderOptions, otAudio,
                            AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
        Fchannel_layout = Par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                              ? static_cast<std::int64_t>(Par->ch_layout.u.mask)
                              : 0;
        Faudio_channels = Par->ch_layout.nb_channels;
        Faudio_sample_rate = Par->sample_rate;
        Faudio_sample_fmt = static_cast<AVSampleFormat>(Par->format);
        Slot->Decoder = DecoderNamed(Faudio_codec_name);
        ACodecs.push_back(Slot->Decoder);
        if (Faudio_disable)
            ASt->discard = AVDISCARD_ALL;
        break;
    case AVMEDIA_TYPE_VIDEO:
        // Cover art of a sound file is a picture, not a video stream.
        if (ASt->disposition & AV_DISPOSITION_ATTACHED_PIC) {
            ASt->discard = AVDISCARD_ALL;
            break;
        }
        ApplyContextOptions(FOptions, &Slot->DecoderOptions, otVideo,
                            AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
        TakeVideoStream(ASt, Slot->DecoderOptions);
        Slot->Decoder = DecoderNamed(Fvideo_codec_name);
        ACodecs.push_back(Slot->Decoder);
        if (Fvideo_disable)
            ASt->discard = AVDISCARD_ALL;
        else if (Fvideo_discard)
            ASt->discard = static_cast<AVDiscard>(Fvideo_discard);
        break;
    case AVMEDIA_TYPE_DATA:
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        Slot->Decoder = DecoderNamed(Fsubtitle_codec_name);
        ACodecs.push_back(Slot->Decoder);
        if (Fsubtitle_disable)
            ASt->discard = AVDISCARD_ALL;
        break;
    case AVMEDIA_TYPE_ATTACHMENT:
    case AVMEDIA_TYPE_UNKNOWN:
        ACodecs.push_back(nullptr);
        break;
    default:
        // No demuxer of this library reports such a kind; the guard of the
        // caller closes the input on the way out.
        throw FFmpegException("invalid codec_type");
    }
    return Slot;
}

void TCustomFFmpeg::TakeVideoStream(AVStream* ASt, AVDictionary* ADecoderOptions) {
    AVCodecParameters* Par = ASt->codecpar;
    Fframe_height = Par->height;
    Fframe_width = Par->width;
    const AVRational Sar =
        ASt->sample_aspect_ratio.num ? ASt->sample_aspect_ratio : Par->sample_aspect_ratio;
    const double Ratio = Sar.num && Sar.den ? static_cast<double>(Sar.num) / Sar.den : 0.0;
    Fframe_aspect_ratio = static_cast<float>(Ratio);
    if (Fframe_width * Fframe_height != 0)
        Fframe_aspect_ratio =
            static_cast<float>(Ratio != 0 ? Fframe_width * Ratio / Fframe_height
                                          : static_cast<double>(Fframe_width) / Fframe_height);
    else if (Ratio == 0)
        Fframe_aspect_ratio = 4.0f / 3.0f;
    if (Par->format == AV_PIX_FMT_NONE)
        Par->format = 0;
    Fframe_pix_fmt = static_cast<AVPixelFormat>(Par->format);
    if (const AVDictionaryEntry* Lowres =
            avutil::av_dict_get(ADecoderOptions, "lowres", nullptr, 0)) {
        const int Shift = std::atoi(Lowres->value);
        if (Shift > 0) {
            Fframe_height >>= Shift;
            Fframe_width >>= Shift;
        }
    }
    const AVRational Container = ASt->r_frame_rate;
    const AVRational Average = ASt->avg_frame_rate;
    if (Fverbose >= 0 && Container.num && Container.den && Average.num && Average.den &&
        (Average.num != Container.num || Average.den != Container.den))
        Log(llInfo,
            Format("Seems stream %d codec frame rate differs from container frame rate: %2.2f "
                   "(%d/%d) -> %2.2f (%d/%d)",
                   {ASt->index, static_cast<double>(Average.num) / Average.den, Average.num,
                    Average.den, static_cast<double>(Container.num) / Container.den, Container.num,
                    Container.den}));
    Fframe_rate = Container;
}
