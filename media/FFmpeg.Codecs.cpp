// Codecs, headers and teardown of a job: encoders and decoders open and
// close one at a time under CodecLock, each recorded in the engine's lists
// so that whatever a broken job left open is closed; then the stream
// parameters, clocks, metadata, chapters and headers of the outputs.
#include "media/FFmpeg.h"

#include "media/CodecLock.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"

#include <cmath>
#include <cstring>
#include <functional>

namespace {

AVMediaType TypeOf(const TAVOutputStream& AOst) {
    return AOst.st->codecpar->codec_type;
}

} // namespace

void TCustomFFmpeg::DumpAndMapping() {
    for (int I = 0; I < OutputEntries(); ++I)
        avformat::av_dump_format(Foutput_files[I], I, Foutput_files[I]->url, 1);
    if (Fverbose < 0)
        return;
    Log(llVerbose, "Stream mapping:");
    for (const auto& Ost : Fost_table) {
        const TAVInputStream& Ist = *Fist_table[Ost->source_index];
        Log(llVerbose, Format("  Stream #%d.%d -> #%d.%d (%s)",
                              {Ist.file_index, Ist.index, FJoinMode ? 0 : Ost->file_index,
                               Ost->index, MediaTypeName(TypeOf(*Ost))}));
        if (Ost->sync_ist && Ost->sync_ist != &Ist)
            Log(llVerbose,
                Format(" [sync #%d.%d (%s)]", {Ost->sync_ist->file_index, Ost->sync_ist->index,
                                               MediaTypeName(TypeOf(*Ost))}));
    }
}

// A setup failure that the log explains after the dump and the mapping.
[[noreturn]] static void Fail(TCustomFFmpeg* AEngine, const std::string& AMsg,
                              const std::function<void(const std::string&)>& ALog) {
    (void)AEngine;
    ALog(AMsg);
    throw FFmpegException(AMsg);
}

void TCustomFFmpeg::OpenEncoders() {
    const int Count = FJoinMode ? Fnb_segment_streams : static_cast<int>(Fost_table.size());
    const auto LogError = [this](const std::string& AMsg) {
        DumpAndMapping();
        Log(llError, AMsg);
    };
    for (int I = 0; I < Count; ++I) {
        TAVOutputStream* Ost = Fost_table[I].get();
        if (!Ost->encoding_needed)
            continue;
        AVCodecContext* Codec = Ost->enc_ctx;
        const AVCodec* Encoder = Ost->slot->Encoder
                                     ? Ost->slot->Encoder
                                     : avcodec::avcodec_find_encoder(Codec->codec_id);
        if (!Encoder)
            Fail(this,
                 Format("Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                        {static_cast<int>(Codec->codec_id), Ost->file_index, Ost->index,
                         MediaTypeName(TypeOf(*Ost))}),
                 LogError);
        // A text subtitle encoder writes the style header its decoder made.
        TAVInputStream* Source = Fist_table[Ost->source_index].get();
        if (Codec->codec_type == AVMEDIA_TYPE_SUBTITLE && Source->decoding_needed) {
            if (!Source->decoder_opened)
                OpenDecoder(Source);
            const AVCodecContext* Dec = Source->dec_ctx;
            if (Dec->subtitle_header && !Codec->subtitle_header) {
                Codec->subtitle_header =
                    static_cast<std::uint8_t*>(avutil::av_mallocz(Dec->subtitle_header_size + 1));
                if (Codec->subtitle_header) {
                    std::memcpy(Codec->subtitle_header, Dec->subtitle_header,
                                Dec->subtitle_header_size);
                    Codec->subtitle_header_size = Dec->subtitle_header_size;
                }
            }
        }
        int Opened;
        {
            TCodecLockGuard Guard(CodecLock());
            if (FJoinMode)
                Ost->codec_id = Codec->codec_id;
            Opened = avcodec::avcodec_open2(Codec, Encoder, nullptr);
            if (Opened >= 0)
                AddCodecItem(FEncoderList, Ost);
        }
        if (Opened < 0)
            Fail(this,
                 Format("Error while opening encoder for output stream #%d.%d (%s) - maybe "
                        "incorrect parameters such as bit_rate, rate, width or height. Please "
                        "check error log message to find out more detail information.",
                        {Ost->file_index, Ost->index, MediaTypeName(TypeOf(*Ost))}),
                 LogError);
        avcodec::avcodec_parameters_from_context(Ost->st->codecpar, Codec);
        Ost->st->time_base = Codec->time_base;
        // The muxers that store a frame rate (Matroska's frame duration) take
        // it from the stream.
        if (Codec->codec_type == AVMEDIA_TYPE_VIDEO && Codec->framerate.num > 0 &&
            Codec->framerate.den > 0)
            Ost->st->avg_frame_rate = Codec->framerate;
        Fextra_size += Codec->extradata_size;
    }
}

void TCustomFFmpeg::OpenDecoders() {
    for (const auto& Ist : Fist_table)
        if (Ist->decoding_needed && !Ist->decoder_opened)
            OpenDecoder(Ist.get());
}

void TCustomFFmpeg::OpenDecoder(TAVInputStream* AIst) {
    const auto LogError = [this](const std::string& AMsg) {
        DumpAndMapping();
        Log(llError, AMsg);
    };
    const AVCodecParameters* Par = AIst->st->codecpar;
    const AVCodec* Decoder = AIst->slot && AIst->slot->Decoder
                                 ? AIst->slot->Decoder
                                 : avcodec::avcodec_find_decoder(Par->codec_id);
    if (!Decoder)
        Fail(this,
             Format("Decoder (codec id %d) not found for input stream #%d.%d (%s)",
                    {static_cast<int>(Par->codec_id), AIst->file_index, AIst->index,
                     MediaTypeName(Par->codec_type)}),
             LogError);
    avcodec::avcodec_free_context(&AIst->dec_ctx);
    AIst->dec_ctx = avcodec::avcodec_alloc_context3(Decoder);
    if (!AIst->dec_ctx || avcodec::avcodec_parameters_to_context(AIst->dec_ctx, Par) < 0)
        throw FFmpegException("avcodec_alloc_context3 failed");
    AIst->dec_ctx->pkt_timebase = AIst->st->time_base;
    AIst->dec_ctx->thread_count = 0;
    AVDictionary* Options = nullptr;
    if (AIst->slot)
        avutil::av_dict_copy(&Options, AIst->slot->DecoderOptions, 0);
    int Opened;
    {
        TCodecLockGuard Guard(CodecLock());
        Opened = avcodec::avcodec_open2(AIst->dec_ctx, Decoder, &Options);
        if (Opened >= 0)
            AddCodecItem(FDecoderList, AIst);
    }
    avutil::av_dict_free(&Options);
    if (Opened < 0)
        Fail(this,
             Format("Error while opening decoder for input stream #%d.%d (%s)",
                    {AIst->file_index, AIst->index, MediaTypeName(Par->codec_type)}),
             LogError);
    AIst->decoder_opened = 1;
}

void TCustomFFmpeg::InitBitstreamFilters() {
    const int Count = FJoinMode ? Fnb_segment_streams : static_cast<int>(Fost_table.size());
    for (int I = 0; I < Count; ++I) {
        TAVOutputStream* Ost = Fost_table[I].get();
        TAVOutputSlot* Slot = Ost->slot;
        Slot->FreeBsf();
        for (const std::string& Name : Slot->BsfNames) {
            const AVBitStreamFilter* Filter = avcodec::av_bsf_get_by_name(Name.c_str());
            if (!Filter)
                throw FFmpegException(FormatAVError(Name, AVERROR_BSF_NOT_FOUND));
            AVBSFContext* Context = nullptr;
            int Result = avcodec::av_bsf_alloc(Filter, &Context);
            if (Result < 0)
                throw FFmpegException(FormatAVError(Name, Result));
            const AVBSFContext* Previous = Slot->Bsf.empty() ? nullptr : Slot->Bsf.back();
            Slot->Bsf.push_back(Context);
            Result = avcodec::avcodec_parameters_copy(
                Context->par_in, Previous ? Previous->par_out : Ost->st->codecpar);
            if (Result >= 0) {
                Context->time_base_in = Previous ? Previous->time_base_out : Ost->st->time_base;
                Result = avcodec::av_bsf_init(Context);
            }
            if (Result < 0)
                throw FFmpegException(FormatAVError(Name, Result));
        }
        if (!Slot->Bsf.empty())
            avcodec::avcodec_parameters_copy(Ost->st->codecpar, Slot->Bsf.back()->par_out);
    }
}

void TCustomFFmpeg::InitInputClocks() {
    for (const auto& Ist : Fist_table) {
        const AVRational Rate = Ist->st->avg_frame_rate;
        Ist->pts = Rate.num && Rate.den ? -std::llrint(Ist->st->codecpar->video_delay * 1000000.0 /
                                                       (static_cast<double>(Rate.num) / Rate.den))
                                        : 0;
        Ist->next_pts = AV_NOPTS_VALUE;
        Ist->is_start = 1;
    }
}

void TCustomFFmpeg::ApplyMetadataMaps() {
    for (int I = 0; I < Fnb_meta_data_maps; ++I) {
        const TAVMetaDataMap& Map = Fmeta_data_maps[I];
        const char* Text = nullptr;
        int Index = 0;
        if (Map.out_file < 0 || Map.out_file >= Fnb_output_files) {
            Text = "Invalid output file index %d map_meta_data(%d,%d)";
            Index = Map.out_file;
        } else if (Map.in_file < 0 || Map.in_file >= Fnb_input_files) {
            Text = "Invalid input file index %d map_meta_data(%d,%d)";
            Index = Map.in_file;
        }
        if (Text) {
            const std::string Msg = Format(Text, {Index, Map.out_file, Map.in_file});
            DumpAndMapping();
            Log(llError, Msg);
            throw FFmpegException(Msg);
        }
        avutil::av_dict_copy(&Foutput_files[Map.out_file]->metadata,
                             Finput_files[Map.in_file]->metadata, AV_DICT_DONT_OVERWRITE);
    }
}

void TCustomFFmpeg::CopyChapters() {
    for (int I = 0; I < Fnb_input_files; ++I) {
        const AVFormatContext* Input = Finput_files[I];
        if (Input->nb_chapters == 0)
            continue;
        // Join entries are one context: it takes the chapters once.
        for (int J = 0; J < OutputEntries(); ++J) {
            AVFormatContext* Output = Foutput_files[J];
            for (unsigned K = 0; K < Input->nb_chapters; ++K) {
                const AVChapter* In = Input->chapters[K];
                const std::int64_t Offset = avutil::av_rescale_q(
                    Fstart_time - Finput_files_ts_offset[I], MicrosecondsBase, In->time_base);
                const std::int64_t Limit =
                    Frecording_time == INT64_MAX
                        ? INT64_MAX
                        : avutil::av_rescale_q(Frecording_time, MicrosecondsBase, In->time_base);
                if (In->end < Offset)
                    continue;
                if (Limit != INT64_MAX && In->start > Limit + Offset)
                    break;
                auto* Out = static_cast<AVChapter*>(avutil::av_mallocz(sizeof(AVChapter)));
                if (!Out)
                    throw FFmpegException("av_mallocz fail");
                Out->id = In->id;
                Out->time_base = In->time_base;
                Out->start = std::max<std::int64_t>(0, In->start - Offset);
                Out->end = std::min(Limit, In->end - Offset);
                avutil::av_dict_copy(&Out->metadata, In->metadata, 0);
                int Count = static_cast<int>(Output->nb_chapters);
                avutil::av_dynarray_add(&Output->chapters, &Count, Out);
                if (Count != static_cast<int>(Output->nb_chapters) + 1) {
                    avutil::av_dict_free(&Out->metadata);
                    avutil::av_free(Out);
                    throw FFmpegException("av_realloc fail");
                }
                Output->nb_chapters = static_cast<unsigned>(Count);
            }
        }
    }
}

void TCustomFFmpeg::WriteHeaders() {
    bool AllRtp = OutputEntries() > 0;
    for (int I = 0; I < OutputEntries(); ++I) {
        AVFormatContext* Output = Foutput_files[I];
        TAVOutputFileState& State = Foutput_states[Output];
        State.HeaderTried = true;
        if (avformat::avformat_write_header(Output, nullptr) < 0) {
            const std::string Msg = Format(
                "Could not write header for output file #%d (incorrect codec parameters ?)", {I});
            DumpAndMapping();
            Log(llError, Msg);
            throw FFmpegException(Msg);
        }
        State.HeaderWritten = true;
        AllRtp = AllRtp && std::string(Output->oformat->name) == "rtp";
    }
    // The muxers may have changed the time bases: a frame without a
    // duration is measured in the final one.
    for (const auto& Ost : Fost_table) {
        const AVCodecParameters* Par = Ost->st->codecpar;
        const AVRational Base = Ost->st->time_base;
        std::int64_t Duration = 0;
        if (Par->codec_type == AVMEDIA_TYPE_VIDEO) {
            AVRational Rate = Ost->encoding_needed ? Ost->enc_ctx->framerate : AVRational{0, 1};
            if (!Rate.num)
                Rate = Fist_table[Ost->source_index]->st->avg_frame_rate;
            if (Rate.num && Rate.den)
                Duration = avutil::av_rescale_q(1, {Rate.den, Rate.num}, Base);
        } else if (Par->codec_type == AVMEDIA_TYPE_AUDIO && Par->frame_size > 0 &&
                   Par->sample_rate > 0) {
            Duration = avutil::av_rescale_q(Par->frame_size, {1, Par->sample_rate}, Base);
        }
        Ost->slot->DefaultDuration = Duration;
    }
    if (!AllRtp)
        return;
    char Sdp[2048] = {};
    avformat::av_sdp_create(Foutput_files.data(), OutputEntries(), Sdp, sizeof Sdp);
    Log(llInfo, "SDP:\r\n" + Trim(std::string(Sdp)));
}

void TCustomFFmpeg::ReopenEncoders() {
    for (int I = 0; I < Fnb_segment_streams; ++I) {
        TAVOutputStream* Ost = Fost_table[I].get();
        if (!Ost->encoding_needed)
            continue;
        TAVOutputSlot* Slot = Ost->slot;
        // A closed encoder context cannot be opened again: a fresh one is
        // made from what the stream's creator set.
        char* Stats = Slot->Codec->stats_in;
        Slot->Codec->stats_in = nullptr;
        {
            TCodecLockGuard Guard(CodecLock());
            RemoveCodecItem(FEncoderList, Ost);
            avcodec::avcodec_free_context(&Slot->Codec);
        }
        const AVCodec* Encoder =
            Slot->Encoder ? Slot->Encoder : avcodec::avcodec_find_encoder(Ost->codec_id);
        if (!Encoder) {
            avutil::av_free(Stats);
            throw FFmpegException("Unsupported codec for output stream #%d.%d (%s)",
                                  {Ost->file_index, Ost->index, MediaTypeName(TypeOf(*Ost))});
        }
        Slot->Codec = avcodec::avcodec_alloc_context3(Encoder);
        if (!Slot->Codec) {
            avutil::av_free(Stats);
            throw FFmpegException("avcodec_alloc_context3 failed");
        }
        ApplyEncoderSettings(Slot->Codec, Slot->Settings);
        Slot->Codec->codec_id = Ost->codec_id;
        Slot->Codec->stats_in = Stats;
        for (const auto& Record : Fost_table)
            if (Record->slot == Slot)
                Record->enc_ctx = Slot->Codec;
        int Opened;
        {
            TCodecLockGuard Guard(CodecLock());
            Opened = avcodec::avcodec_open2(Slot->Codec, Encoder, nullptr);
            if (Opened >= 0)
                AddCodecItem(FEncoderList, Ost);
        }
        if (Opened < 0)
            throw FFmpegException("Error while opening codec for output stream #%d.%d (%s) - "
                                  "maybe incorrect parameters such as bit_rate, rate, width or "
                                  "height",
                                  {Ost->file_index, Ost->index, MediaTypeName(TypeOf(*Ost))});
    }
}

void TCustomFFmpeg::WriteTrailers(bool AAfterFailure) {
    std::string Failure;
    for (int I = 0; I < OutputEntries(); ++I) {
        TAVOutputFileState& State = Foutput_states[Foutput_files[I]];
        if (!State.HeaderWritten || State.TrailerTried)
            continue;
        State.TrailerTried = true;
        const int Result = avformat::av_write_trailer(Foutput_files[I]);
        if (Result >= 0) {
            State.TrailerWritten = true;
            continue;
        }
        const std::string Msg = FormatAVError("av_write_trailer()", Result);
        // After a failure the job keeps its first message.
        if (AAfterFailure)
            Log(llError, Msg);
        else if (Failure.empty())
            Failure = Msg;
    }
    if (!Failure.empty())
        throw FFmpegException(Failure);
}

void TCustomFFmpeg::ReleaseTables() {
    // No list entry may outlive the record it points at.
    CloseEncoders(FEncoderList);
    CloseDecoders(FDecoderList);
    Fost_table.clear();
    Fist_table.clear();
    Ffile_table.clear();
    Fnb_segment_streams = 0;
    avutil::av_frame_free(&Fdecoded_frame);
    avutil::av_freep(&Faudio_buf[0]);
    Faudio_buf_samples = 0;
    Faudio_buf_format = -1;
    Faudio_buf_channels = 0;
    avutil::av_freep(&Fsubtitle_out);
}
