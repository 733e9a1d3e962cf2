// The job body: setup, then the read loop, which always reads from the input
// that is furthest behind (in join mode the inputs one after another), and
// the end: drain, trailers, close, release. A job that fails after its
// headers still writes its trailers, so what was written stays playable.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"

#include <cmath>
#include <cstdlib>

namespace {

struct TPacketDeleter {
    void operator()(AVPacket* APacket) const { avcodec::av_packet_free(&APacket); }
};

} // namespace

std::int64_t TCustomFFmpeg::NowUS() {
    return avutil::av_gettime();
}

void TCustomFFmpeg::Transcode() {
    try {
        SetupStreams();
        OpenEncoders();
        OpenDecoders();
        InitBitstreamFilters();
        InitInputClocks();
        ApplyMetadataMaps();
        CopyChapters();
        WriteHeaders();
        DumpAndMapping();
        RunLoop();
    } catch (...) {
        try {
            WriteTrailers(true);
        } catch (...) {
            // The job reports its own failure, not a later one.
        }
        ReleaseTables();
        throw;
    }
}

void TCustomFFmpeg::RunLoop() {
    Ftimer_start = NowUS();
    std::int64_t LastReport = Ftimer_start;
    int FileIndex = 0;
    std::vector<char> NoPacket(Fnb_input_files, 0);
    int NoPacketCount = 0;
    std::unique_ptr<AVPacket, TPacketDeleter> Packet(avcodec::av_packet_alloc());
    if (!Packet)
        throw FFmpegException("av_packet_alloc failed");

    while (!FBroken) {
        PassPauseGate();
        if (FBroken)
            break;
        if (!FJoinMode) {
            FileIndex = -1;
            double InputMin = 1e100;
            double OutputMin = 1e100;
            for (const auto& Ost : Fost_table) {
                const TAVInputStream& Ist = *Fist_table[Ost->source_index];
                if (Ist.is_past_recording_time || NoPacket[Ist.file_index])
                    continue;
                const double OutputTime =
                    static_cast<double>(Ost->slot->LastPts) * av_q2d(Ost->st->time_base);
                const double InputTime = static_cast<double>(Ist.pts);
                if (!Ffile_table[Ist.file_index].eof_reached) {
                    if (InputTime < InputMin) {
                        InputMin = InputTime;
                        if (Finput_sync)
                            FileIndex = Ist.file_index;
                    }
                    if (OutputTime < OutputMin) {
                        OutputMin = OutputTime;
                        if (!Finput_sync)
                            FileIndex = Ist.file_index;
                    }
                }
                if (Ost->frame_number >= MaxFramesOf(*Ost)) {
                    FileIndex = -1;
                    break;
                }
            }
        } else {
            const int First = FileIndex * Fnb_segment_streams;
            for (int I = First; I < First + Fnb_segment_streams; ++I)
                if (Fost_table[I]->frame_number >= MaxFramesOf(*Fost_table[I])) {
                    FileIndex = -1;
                    break;
                }
        }
        if (FileIndex < 0) {
            if (!FJoinMode && NoPacketCount) {
                NoPacketCount = 0;
                std::fill(NoPacket.begin(), NoPacket.end(), 0);
                Sleep(10);
                continue;
            }
            break;
        }

        if (Flimit_filesize != 0 && Foutput_files[0]->pb &&
            avformat::avio_tell(Foutput_files[0]->pb) > Flimit_filesize)
            break;

        AVFormatContext* Input = Finput_files[FileIndex];
        const int Read = avformat::av_read_frame(Input, Packet.get());
        if (Read == AVERROR(EAGAIN)) {
            NoPacket[FileIndex] = 1;
            ++NoPacketCount;
            continue;
        }
        if (Read < 0) {
            Ffile_table[FileIndex].eof_reached = 1;
            if (FJoinMode) {
                if (!EndJoinSegment(FileIndex))
                    break;
                ++FileIndex;
                continue;
            }
            if (Fopt_shortest)
                break;
            continue;
        }
        NoPacketCount = 0;
        std::fill(NoPacket.begin(), NoPacket.end(), 0);
        if (Fdo_pkt_dump)
            avformat::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, Packet.get(), Fdo_hex_dump,
                                       Input->streams[Packet->stream_index]);
        const bool Decoded = HandlePacket(FileIndex, Packet.get());
        avcodec::av_packet_unref(Packet.get());
        if (!Decoded)
            continue;
        const std::int64_t Now = NowUS();
        if (Now - LastReport > ReportInterval) {
            LastReport = Now;
            ReportProgress(false, FileIndex);
        }
    }

    for (const auto& Ist : Fist_table)
        if (Ist->decoding_needed && Ist->decoder_flushed != 1)
            DecodePacket(Ist.get(), static_cast<int>(&Ist - Fist_table.data()), nullptr);
    WriteTrailers(false);
    ReportProgress(true, -1);
    CloseEncoders(FEncoderList);
    CloseDecoders(FDecoderList);
    FFinished = !FBroken;
    ReleaseTables();
}

int TCustomFFmpeg::MaxFramesOf(const TAVOutputStream& AOst) const {
    const int Type = AOst.st->codecpar->codec_type;
    return Type >= 0 && Type < static_cast<int>(Fmax_frames.size()) ? Fmax_frames[Type]
                                                                    : 2147483647;
}

// One packet read from input AFileIndex: time stamps fixed, limits applied,
// then decoded or copied. False when decoding failed and the packet was
// skipped.
bool TCustomFFmpeg::HandlePacket(int AFileIndex, AVPacket* APacket) {
    const TAVInputFile& File = Ffile_table[AFileIndex];
    // A stream that appeared after the setup has no record.
    if (APacket->stream_index < 0 || APacket->stream_index >= File.nb_streams)
        return true;
    const int IstIndex = File.ist_index + APacket->stream_index;
    TAVInputStream* Ist = Fist_table[IstIndex].get();
    if (Ist->discard)
        return true;
    const AVRational Base = Ist->st->time_base;
    const std::int64_t Offset =
        avutil::av_rescale_q(Finput_files_ts_offset[AFileIndex], MicrosecondsBase, Base);
    if (APacket->dts != AV_NOPTS_VALUE)
        APacket->dts += Offset;
    if (APacket->pts != AV_NOPTS_VALUE)
        APacket->pts += Offset;
    // The scale table holds the first streams only.
    const double Scale = APacket->stream_index < MAX_STREAMS
                             ? Finput_files_ts_scale[AFileIndex][APacket->stream_index]
                             : 0.0;
    if (Scale != 0) {
        if (APacket->pts != AV_NOPTS_VALUE)
            APacket->pts = std::llrint(static_cast<double>(APacket->pts) * Scale);
        if (APacket->dts != AV_NOPTS_VALUE)
            APacket->dts = std::llrint(static_cast<double>(APacket->dts) * Scale);
    }
    if (APacket->dts != AV_NOPTS_VALUE && Ist->next_pts != AV_NOPTS_VALUE &&
        (Finput_files[AFileIndex]->iformat->flags & AVFMT_TS_DISCONT)) {
        const std::int64_t PacketDts = avutil::av_rescale_q(APacket->dts, Base, MicrosecondsBase);
        const std::int64_t Delta = PacketDts - Ist->next_pts;
        if ((std::llabs(Delta) > static_cast<std::int64_t>(Fdts_delta_threshold * 1000000.0) ||
             PacketDts + 1 < Ist->pts) &&
            !Fcopy_ts) {
            Finput_files_ts_offset[AFileIndex] -= Delta;
            if (Fverbose > 2)
                Log(llVerbose, Format("timestamp discontinuity %d, new offset= %d",
                                      {Delta, Finput_files_ts_offset[AFileIndex]}));
            const std::int64_t Shift = avutil::av_rescale_q(Delta, MicrosecondsBase, Base);
            APacket->dts -= Shift;
            if (APacket->pts != AV_NOPTS_VALUE)
                APacket->pts -= Shift;
        }
    }
    if (Frecording_time != INT64_MAX &&
        avutil::av_compare_ts(APacket->pts, Base, Frecording_time + Fstart_time,
                              MicrosecondsBase) >= 0) {
        Ist->is_past_recording_time = 1;
        return true;
    }
    if (DecodePacket(Ist, IstIndex, APacket) >= 0)
        return true;
    const std::string Msg =
        Format("Error while decoding stream #%d.%d (%s)",
               {Ist->file_index, Ist->index, MediaTypeName(Ist->st->codecpar->codec_type)});
    if (Fexit_on_error)
        throw FFmpegException(Msg);
    if (Fverbose >= 0)
        Log(llVerbose, Msg);
    return false;
}

bool TCustomFFmpeg::EndJoinSegment(int AFileIndex) {
    for (int I = 0; I < static_cast<int>(Fist_table.size()); ++I) {
        TAVInputStream* Ist = Fist_table[I].get();
        if (Ist->file_index != AFileIndex || !Ist->decoding_needed)
            continue;
        DecodePacket(Ist, I, nullptr);
        if (Ist->dec_ctx)
            avcodec::avcodec_flush_buffers(Ist->dec_ctx);
        Ist->decoder_flushed = 1;
    }
    const bool Last = AFileIndex >= Fnb_input_files - 1;
    if (!Last)
        ReopenEncoders();
    const int S = Fnb_segment_streams;
    for (int I = (AFileIndex + 1) * S; I < static_cast<int>(Fost_table.size()); ++I) {
        Fost_table[I]->sync_opts = Fost_table[I - S]->sync_opts;
        Fost_table[I]->frame_number = Fost_table[I - S]->frame_number;
    }
    double EndTime = 0;
    for (int I = AFileIndex * S; I < (AFileIndex + 1) * S; ++I) {
        if (I + S >= static_cast<int>(Fost_table.size()))
            break;
        TAVOutputStream* Ost = Fost_table[I].get();
        EndTime =
            std::max(EndTime, static_cast<double>(Ost->slot->LastPts) * av_q2d(Ost->st->time_base));
        Ost->show_fps = 0;
    }
    if (Last)
        return false;
    // A reopened sound encoder stamps its first packets its priming samples
    // before the first sound it is given: the next segment starts that much
    // later, or those packets would overlap the end of this one, which a
    // muxer refuses (non-increasing times).
    double Priming = 0;
    for (int I = 0; I < S; ++I) {
        const TAVOutputStream* Ost = Fost_table[I].get();
        const AVCodecContext* Codec = Ost->enc_ctx;
        if (Ost->encoding_needed && Codec && Codec->codec_type == AVMEDIA_TYPE_AUDIO &&
            Codec->initial_padding > 0 && Codec->sample_rate > 0)
            Priming =
                std::max(Priming, static_cast<double>(Codec->initial_padding) / Codec->sample_rate);
    }
    Finput_files_ts_offset[AFileIndex + 1] += std::llrint((EndTime + Priming) * 1000000.0);
    return true;
}
