// The first half of a job: one record per input stream and per output
// stream, each output stream paired with the input stream that feeds it,
// and the output's parameters copied or prepared for encoding.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "media/SwScaleStubs.h"
#include "platform/core/Format.h"

#include <cstring>

AVFrame* AllocEncoderPicture(const AVCodecContext* AEncoder) {
    AVFrame* Picture = avutil::av_frame_alloc();
    if (Picture) {
        Picture->format = AEncoder->pix_fmt;
        Picture->width = AEncoder->width;
        Picture->height = AEncoder->height;
        if (avutil::av_frame_get_buffer(Picture, 0) >= 0)
            return Picture;
        avutil::av_frame_free(&Picture);
    }
    throw FFmpegException("Cannot allocate temp picture, check pix fmt");
}

namespace {

bool InProgram(const AVFormatContext* AContext, int AProgramId, int AStreamIndex) {
    for (unsigned I = 0; I < AContext->nb_programs; ++I) {
        const AVProgram* Program = AContext->programs[I];
        if (Program->id != AProgramId)
            continue;
        for (unsigned J = 0; J < Program->nb_stream_indexes; ++J)
            if (static_cast<int>(Program->stream_index[J]) == AStreamIndex)
                return true;
    }
    return false;
}

// The better of two candidates for the automatic choice: the stream marked
// as default first, then the larger picture or the more channels; of equals
// the earlier one stays.
bool Better(const AVStream* ACandidate, const AVStream* ABest) {
    if (!ABest)
        return true;
    const bool CandidateDefault = ACandidate->disposition & AV_DISPOSITION_DEFAULT;
    const bool BestDefault = ABest->disposition & AV_DISPOSITION_DEFAULT;
    if (CandidateDefault != BestDefault)
        return CandidateDefault;
    const AVCodecParameters* C = ACandidate->codecpar;
    const AVCodecParameters* B = ABest->codecpar;
    if (C->codec_type == AVMEDIA_TYPE_VIDEO)
        return static_cast<std::int64_t>(C->width) * C->height >
               static_cast<std::int64_t>(B->width) * B->height;
    if (C->codec_type == AVMEDIA_TYPE_AUDIO)
        return C->ch_layout.nb_channels > B->ch_layout.nb_channels;
    return false;
}

} // namespace

void TCustomFFmpeg::SetupStreams() {
    // Input streams, file by file.
    Ffile_table.assign(Fnb_input_files, TAVInputFile{});
    Fist_table.clear();
    for (int I = 0; I < Fnb_input_files; ++I) {
        AVFormatContext* Context = Finput_files[I];
        Ffile_table[I].ist_index = static_cast<int>(Fist_table.size());
        Ffile_table[I].nb_streams = static_cast<int>(Context->nb_streams);
        for (unsigned K = 0; K < Context->nb_streams; ++K) {
            auto Ist = std::make_unique<TAVInputStream>();
            Ist->st = Context->streams[K];
            Ist->file_index = I;
            Ist->index = static_cast<int>(K);
            Ist->discard = 1;
            if (K < Finput_slots[I].size())
                Ist->slot = Finput_slots[I][K].get();
            if (Frate_emu)
                Ist->start = NowUS();
            Fist_table.push_back(std::move(Ist));
        }
    }

    // Output entries.
    int OutputStreams = 0;
    for (int I = 0; I < Fnb_output_files; ++I) {
        AVFormatContext* Context = Foutput_files[I];
        if (Context->nb_streams == 0) {
            avformat::av_dump_format(Context, I, Context->url, 1);
            throw FFmpegException("Output file #%d does not contain any stream", {I});
        }
        OutputStreams += static_cast<int>(Context->nb_streams);
    }
    Fnb_segment_streams = Fnb_output_files > 0 ? static_cast<int>(Foutput_files[0]->nb_streams) : 0;

    if (Fnb_stream_maps > 0 && Fnb_stream_maps != OutputStreams)
        throw FFmpegException("Number of stream maps must match number of output streams");
    for (int I = 0; I < Fnb_stream_maps; ++I) {
        const TAVStreamMap& Map = Fstream_maps[I];
        if (Map.file_index < 0 || Map.file_index >= Fnb_input_files || Map.stream_index < 0 ||
            Map.stream_index >= Ffile_table[Map.file_index].nb_streams)
            throw FFmpegException("Could not find input stream #%d.%d",
                                  {Map.file_index, Map.stream_index});
        if (Map.sync_file_index < 0 || Map.sync_file_index >= Fnb_input_files ||
            Map.sync_stream_index < 0 ||
            Map.sync_stream_index >= Ffile_table[Map.sync_file_index].nb_streams)
            throw FFmpegException("Could not find sync stream #%d.%d",
                                  {Map.sync_file_index, Map.sync_stream_index});
    }

    Fost_table.clear();
    int N = 0;
    for (int K = 0; K < Fnb_output_files; ++K) {
        AVFormatContext* Context = Foutput_files[K];
        for (unsigned I = 0; I < Context->nb_streams; ++I, ++N) {
            auto Ost = std::make_unique<TAVOutputStream>();
            Ost->file_index = K;
            Ost->index = static_cast<int>(I);
            Ost->st = Context->streams[I];
            Ost->slot = OutputSlot(Context, static_cast<int>(I));
            Ost->enc_ctx = Ost->slot->Codec;
            MapOutputStream(*Ost, N);
            Fost_table.push_back(std::move(Ost));
        }
    }

    for (int I = 0; I < static_cast<int>(Fost_table.size()); ++I) {
        TAVOutputStream* Ost = Fost_table[I].get();
        TAVInputStream* Ist = Fist_table[Ost->source_index].get();
        // In join mode the later segments share the first segment's streams.
        // Each record of a later segment still needs its own sample queue,
        // scaler and graph for its own input.
        if (FJoinMode && I >= Fnb_segment_streams) {
            if (!Ost->slot->StreamCopy)
                SetEncodingParameters(Ost, Ist, I);
            continue;
        }
        avutil::av_dict_copy(&Ost->st->metadata, Ist->st->metadata, AV_DICT_DONT_OVERWRITE);
        Ost->st->disposition = Ist->st->disposition;
        if (Ost->slot->StreamCopy)
            SetCopyParameters(Ost, Ist);
        else
            SetEncodingParameters(Ost, Ist, I);
        if (Ost->st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            const int Width =
                Ost->slot->StreamCopy ? Ost->st->codecpar->width : Ost->enc_ctx->width;
            const int Height =
                Ost->slot->StreamCopy ? Ost->st->codecpar->height : Ost->enc_ctx->height;
            Fbit_buffer_size = std::max(Fbit_buffer_size, Width * Height * 6 + 200);
        }
    }
}

void TCustomFFmpeg::MapOutputStream(TAVOutputStream& AOst, int ANumber) {
    const AVMediaType Type = AOst.st->codecpar->codec_type != AVMEDIA_TYPE_UNKNOWN
                                 ? AOst.st->codecpar->codec_type
                                 : AOst.slot->Settings.codec_type;
    AOst.st->codecpar->codec_type = Type;
    int Source = -1;
    TAVInputStream* Sync = nullptr;
    if (Fnb_stream_maps > 0) {
        const TAVStreamMap& Map = Fstream_maps[ANumber];
        Source = Ffile_table[Map.file_index].ist_index + Map.stream_index;
        const AVMediaType InType = Fist_table[Source]->st->codecpar->codec_type;
        if (InType != Type) {
            avformat::av_dump_format(Foutput_files[AOst.file_index], AOst.file_index,
                                     Foutput_files[AOst.file_index]->url, 1);
            throw FFmpegException("Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                                  {Map.file_index, Map.stream_index, MediaTypeName(InType),
                                   AOst.file_index, AOst.index, MediaTypeName(Type)});
        }
        Sync = Fist_table[Ffile_table[Map.sync_file_index].ist_index + Map.sync_stream_index].get();
    } else {
        // First pass: a stream nobody took yet. Of several, the one marked as
        // the default, then the larger picture or the more channels, then the
        // first; the library no longer tells how many frames it analysed.
        const AVStream* Best = nullptr;
        for (int J = 0; J < static_cast<int>(Fist_table.size()); ++J) {
            const TAVInputStream& Ist = *Fist_table[J];
            if (Ist.discard != 1 || Ist.st->discard == AVDISCARD_ALL ||
                Ist.st->codecpar->codec_type != Type)
                continue;
            if (Type == AVMEDIA_TYPE_VIDEO && (Ist.st->disposition & AV_DISPOSITION_ATTACHED_PIC))
                continue;
            if (FJoinMode && Ist.file_index != AOst.file_index)
                continue;
            if (Fopt_programid &&
                !InProgram(Finput_files[Ist.file_index], Fopt_programid, Ist.index))
                continue;
            if (Better(Ist.st, Best)) {
                Best = Ist.st;
                Source = J;
            }
        }
        // Second pass: any stream of that kind, even a taken one; the last wins.
        if (Source < 0 && !Fopt_programid && !FJoinMode)
            for (int J = 0; J < static_cast<int>(Fist_table.size()); ++J) {
                const TAVInputStream& Ist = *Fist_table[J];
                if (Ist.st->codecpar->codec_type == Type && Ist.st->discard != AVDISCARD_ALL)
                    Source = J;
            }
        if (Source < 0) {
            avformat::av_dump_format(Foutput_files[AOst.file_index], AOst.file_index,
                                     Foutput_files[AOst.file_index]->url, 1);
            throw FFmpegException("Could not find input stream matching output stream #%d.%d (%s)",
                                  {AOst.file_index, AOst.index, MediaTypeName(Type)});
        }
    }
    AOst.source_index = Source;
    Fist_table[Source]->discard = 0;
    AOst.sync_ist = Sync ? Sync : Fist_table[Source].get();
    AOst.show_fps = 1;
}

void TCustomFFmpeg::SetCopyParameters(TAVOutputStream* AOst, TAVInputStream* AIst) {
    const AVCodecParameters* In = AIst->st->codecpar;
    AVCodecParameters* Out = AOst->st->codecpar;
    if (static_cast<std::int64_t>(In->extradata_size) + AV_INPUT_BUFFER_PADDING_SIZE > 2147483647)
        throw FFmpegException("icodec.extradata_size is invalid (too large)");
    const AVMediaType Type = Out->codec_type;
    if (Type == AVMEDIA_TYPE_VIDEO) {
        if (FOnCustomHook)
            throw FFmpegException(
                "-vcodec copy and CustomHook are incompatible (frames are not decoded)");
        if (Fusing_vhook)
            throw FFmpegException(
                "-vcodec copy and -vhook are incompatible (frames are not decoded)");
        if (!PostHooks().Empty())
            throw FFmpegException(
                "-vcodec copy and PostHooks are incompatible (frames are not decoded)");
    } else if (Type == AVMEDIA_TYPE_AUDIO) {
        if (Faudio_volume != 256)
            throw FFmpegException(
                "-acodec copy and -vol are incompatible (frames are not decoded)");
    } else if (Type != AVMEDIA_TYPE_SUBTITLE) {
        throw FFmpegException("invalid codec_type of output stream");
    }
    if (avcodec::avcodec_parameters_copy(Out, In) < 0)
        throw FFmpegException("av_mallocz fail");
    std::uint32_t Tag = AOst->slot->Settings.codec_tag;
    if (!Tag) {
        const AVCodecTag* const* Tables = Foutput_files[AOst->file_index]->oformat->codec_tag;
        if (!Tables || avformat::av_codec_get_id(Tables, In->codec_tag) == In->codec_id ||
            !avformat::av_codec_get_tag(Tables, In->codec_id))
            Tag = In->codec_tag;
    }
    Out->codec_tag = Tag;

    // The library's own rule for the time base of a copied stream: the
    // codec's frame duration when the container's clock is much finer.
    avformat::avformat_transfer_internal_stream_timing_info(
        Foutput_files[AOst->file_index]->oformat, AOst->st, AIst->st, AVFMT_TBCF_AUTO);
    AVRational TimeBase = avformat::av_stream_get_codec_timebase(AOst->st);
    if (TimeBase.num <= 0 || TimeBase.den <= 0)
        TimeBase = AIst->st->time_base;
    avutil::av_reduce(&TimeBase.num, &TimeBase.den, TimeBase.num, TimeBase.den, 2147483647);
    AOst->st->time_base = TimeBase;
    AOst->st->avg_frame_rate = AIst->st->avg_frame_rate;
    if (AOst->st->duration <= 0 && AIst->st->duration > 0)
        AOst->st->duration =
            avutil::av_rescale_q(AIst->st->duration, AIst->st->time_base, AOst->st->time_base);

    if (Type == AVMEDIA_TYPE_AUDIO &&
        ((Out->block_align == 1 && Out->codec_id == AV_CODEC_ID_MP3) ||
         Out->codec_id == AV_CODEC_ID_AC3))
        Out->block_align = 0;
}

void TCustomFFmpeg::SetEncodingParameters(TAVOutputStream* AOst, TAVInputStream* AIst, int AIndex) {
    AVCodecContext* Codec = AOst->enc_ctx;
    const AVCodecParameters* In = AIst->st->codecpar;
    Codec->bits_per_raw_sample = In->bits_per_raw_sample;
    Codec->chroma_sample_location = In->chroma_location;
    switch (Codec->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        AOst->fifo = avutil::av_audio_fifo_alloc(Codec->sample_fmt,
                                                 std::max(Codec->ch_layout.nb_channels, 1), 1024);
        if (!AOst->fifo)
            throw FFmpegException("av_fifo_alloc fail");
        AOst->reformat_pair = -6;
        AOst->audio_resample = Codec->sample_rate != In->sample_rate || Faudio_sync_method > 1;
        break;
    case AVMEDIA_TYPE_VIDEO: {
        if (Codec->pix_fmt == AV_PIX_FMT_NONE)
            throw FFmpegException("Video pixel format is unknown, stream cannot be encoded");
        AOst->video_crop =
            Fframe_topBand + Fframe_bottomBand + Fframe_leftBand + Fframe_rightBand != 0;
        AOst->topBand = AOst->original_topBand = Fframe_topBand;
        AOst->bottomBand = AOst->original_bottomBand = Fframe_bottomBand;
        AOst->leftBand = AOst->original_leftBand = Fframe_leftBand;
        AOst->rightBand = AOst->original_rightBand = Fframe_rightBand;
        const int InWidth = In->width - AOst->leftBand - AOst->rightBand;
        const int InHeight = In->height - AOst->topBand - AOst->bottomBand;
        AOst->video_resample =
            InWidth != Codec->width || InHeight != Codec->height || In->format != Codec->pix_fmt;
        if (AOst->video_resample) {
            AOst->pict_tmp = AllocEncoderPicture(Codec);
            AOst->img_resample_ctx =
                NewRescaler(InWidth, InHeight, static_cast<AVPixelFormat>(In->format), Codec);
            if (!AOst->img_resample_ctx)
                throw FFmpegException("Cannot get resampling context");
            Codec->bits_per_raw_sample = 0;
        }
        // The bands scale with the picture should its size change mid-stream.
        if (!FEnableFilter) {
            AOst->original_height = In->height;
            AOst->original_width = In->width;
        }
        AOst->resample_height = InHeight;
        AOst->resample_width = InWidth;
        AOst->resample_pix_fmt = In->format;
        if (FEnableFilter && ConfigureFilters(AIst, AOst) != 0) {
            FLastErrMsg = "Error opening filters!";
            throw FFmpegException("Error opening filters!");
        }
        break;
    }
    case AVMEDIA_TYPE_SUBTITLE:
        break;
    default:
        throw FFmpegException("invalid codec_type of output stream");
    }
    AOst->encoding_needed = 1;
    AIst->decoding_needed = 1;

    if (!(Codec->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)))
        return;
    std::string Name =
        (Fpass_logfilename_prefix.empty() ? std::string("ffmpeg2pass") : Fpass_logfilename_prefix) +
        "-" + std::to_string(AIndex) + ".log";
    if (Name.size() > 1023)
        Name.resize(1023);
    if (Codec->flags & AV_CODEC_FLAG_PASS1) {
        AOst->logfile = myutil::fopen(Name.c_str(), "wb");
        if (!AOst->logfile)
            throw FFmpegException("Cannot write log file %s for pass-1 encoding", {Name});
        return;
    }
    std::uint8_t* Buffer = nullptr;
    std::int64_t Size = 0;
    const int Read = ReadWholeFile(Name, Buffer, Size);
    if (Read == AVERROR(ENOMEM))
        throw FFmpegException(
            "Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding",
            {Name});
    if (Read != 0)
        throw FFmpegException("Cannot read file: Error reading log file \"%s\" for pass-2 encoding",
                              {Name});
    avutil::av_freep(&Codec->stats_in);
    Codec->stats_in = reinterpret_cast<char*>(Buffer);
}
