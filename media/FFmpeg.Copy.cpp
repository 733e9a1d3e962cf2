// Packets of streams that are copied: the input clock advances by the
// packet, the packet's times move into the output stream's time base, and
// WritePacket, the one door to the muxer, runs the stream's bitstream
// filters and hands the result to the interleaving writer.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"

namespace {

struct TPacketDeleter {
    void operator()(AVPacket* APacket) const { avcodec::av_packet_free(&APacket); }
};
using TPacketPtr = std::unique_ptr<AVPacket, TPacketDeleter>;

TPacketPtr NewPacketRef(const AVPacket* AFrom) {
    TPacketPtr Packet(avcodec::av_packet_alloc());
    if (!Packet || avcodec::av_packet_ref(Packet.get(), AFrom) < 0)
        throw FFmpegException("av_packet_ref failed");
    return Packet;
}

} // namespace

int TCustomFFmpeg::DecodePacket(TAVInputStream* AIst, int AIstIndex, const AVPacket* APacket) {
    if (AIst->next_pts == AV_NOPTS_VALUE)
        AIst->next_pts = AIst->pts;
    if (APacket && APacket->dts != AV_NOPTS_VALUE)
        AIst->next_pts = AIst->pts =
            avutil::av_rescale_q(APacket->dts, AIst->st->time_base, MicrosecondsBase);
    if (AIst->decoding_needed) {
        // An output may copy a stream that another output decodes: it gets
        // the packet as it was read, at the clock the packet set.
        if (APacket && (Fstart_time == 0 || AIst->pts >= Fstart_time))
            for (const auto& Ost : Fost_table)
                if (Ost->source_index == AIstIndex && !Ost->encoding_needed)
                    CopyPacket(AIst, Ost.get(), APacket);
        return DecodeAndOutput(AIst, AIstIndex, APacket);
    }
    // A copied stream has nothing to drain.
    if (!APacket)
        return 0;

    AIst->pts = AIst->next_pts;
    const AVCodecParameters* Par = AIst->st->codecpar;
    // The clock of a copied stream advances by what the packet holds.
    if (Par->codec_type == AVMEDIA_TYPE_AUDIO) {
        if (Par->frame_size > 0 && Par->sample_rate > 0)
            AIst->next_pts += INT64_C(1000000) * Par->frame_size / Par->sample_rate;
        else if (APacket->duration > 0)
            AIst->next_pts +=
                avutil::av_rescale_q(APacket->duration, AIst->st->time_base, MicrosecondsBase);
    } else if (Par->codec_type == AVMEDIA_TYPE_VIDEO) {
        AVRational Rate = AIst->st->avg_frame_rate;
        if (!Rate.num || !Rate.den)
            Rate = AIst->st->r_frame_rate;
        if (APacket->duration > 0)
            AIst->next_pts +=
                avutil::av_rescale_q(APacket->duration, AIst->st->time_base, MicrosecondsBase);
        else if (Rate.num && Rate.den)
            AIst->next_pts += INT64_C(1000000) * Rate.den / Rate.num;
        PreProcessPicture(AIst, nullptr);
    }
    if (Frate_emu) {
        const std::int64_t Target = AIst->pts;
        const std::int64_t Now = NowUS() - AIst->start;
        if (Target - Now > 1000)
            Sleep(static_cast<std::uint32_t>((Target - Now) / 1000));
    }
    if (Fstart_time != 0 && AIst->pts < Fstart_time)
        return 0;
    for (const auto& Ost : Fost_table) {
        if (Ost->source_index != AIstIndex)
            continue;
        Assert(!Ost->encoding_needed, "Assertion failure");
        CopyPacket(AIst, Ost.get(), APacket);
    }
    return 0;
}

void TCustomFFmpeg::CopyPacket(TAVInputStream* AIst, TAVOutputStream* AOst,
                               const AVPacket* APacket) {
    const AVRational InBase = AIst->st->time_base;
    const AVRational OutBase = AOst->st->time_base;
    const std::int64_t StartOffset = avutil::av_rescale_q(Fstart_time, MicrosecondsBase, OutBase);
    const bool Key = APacket->flags & AV_PKT_FLAG_KEY;
    if (AOst->frame_number == 0 && !Key && !Fcopy_initial_nonkeyframes)
        return;
    AOst->slot->CodedFrame.key_frame = Key ? 1 : 0;
    if (AOst->st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
        Faudio_size += APacket->size;
    } else if (AOst->st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        Fvideo_size += APacket->size;
        ++AOst->sync_opts;
    }
    TPacketPtr Out = NewPacketRef(APacket);
    Out->stream_index = AOst->index;
    Out->pts = APacket->pts != AV_NOPTS_VALUE
                   ? avutil::av_rescale_q(APacket->pts, InBase, OutBase) - StartOffset
                   : AV_NOPTS_VALUE;
    Out->dts = (APacket->dts != AV_NOPTS_VALUE
                    ? avutil::av_rescale_q(APacket->dts, InBase, OutBase)
                    : avutil::av_rescale_q(AIst->pts, MicrosecondsBase, OutBase)) -
               StartOffset;
    Out->duration = avutil::av_rescale_q(APacket->duration, InBase, OutBase);
    Out->flags = APacket->flags;
    // A later join segment continues where the stream's written time ends;
    // what its input holds before its own start (an encoder's priming
    // packet) would run backwards there and is left out.
    if (FJoinMode && AOst->file_index > 0 && Out->dts != AV_NOPTS_VALUE &&
        AOst->slot->LastDts != AV_NOPTS_VALUE && Out->dts <= AOst->slot->LastDts)
        return;
    WritePacket(Foutput_files[AOst->file_index], Out.get(), AOst->slot, AOst->enc_ctx);
    ++AOst->frame_number;
}

void TCustomFFmpeg::WritePacket(AVFormatContext* AContext, AVPacket* APacket, TAVOutputSlot* ASlot,
                                AVCodecContext* AAvctx) {
    std::vector<TPacketPtr> Packets;
    Packets.push_back(NewPacketRef(APacket));
    avcodec::av_packet_unref(APacket);
    if (ASlot) {
        for (AVBSFContext* Filter : ASlot->Bsf) {
            std::vector<TPacketPtr> Filtered;
            for (TPacketPtr& Packet : Packets) {
                // The packet goes on as it was when the filter refuses it.
                TPacketPtr Original = NewPacketRef(Packet.get());
                int Result = avcodec::av_bsf_send_packet(Filter, Packet.get());
                while (Result >= 0) {
                    TPacketPtr Next(avcodec::av_packet_alloc());
                    Result = avcodec::av_bsf_receive_packet(Filter, Next.get());
                    if (Result >= 0)
                        Filtered.push_back(std::move(Next));
                }
                if (Result == AVERROR(EAGAIN) || Result == AVERROR_EOF)
                    continue;
                const std::string Codec =
                    ASlot->StreamCopy || !AAvctx
                        ? std::string("copy")
                        : std::string(avcodec::avcodec_get_name(AAvctx->codec_id));
                const std::string Msg = FormatAVError(
                    Format("%s failed for stream %d, codec %s",
                           {std::string(Filter->filter->name), Original->stream_index, Codec}),
                    Result);
                if (Fexit_on_error)
                    throw FFmpegException(Msg);
                Log(llError, Msg);
                Filtered.push_back(std::move(Original));
            }
            Packets = std::move(Filtered);
        }
    }
    for (TPacketPtr& Packet : Packets) {
        if (ASlot) {
            if (Packet->dts != AV_NOPTS_VALUE)
                ASlot->LastDts = Packet->dts;
            const std::int64_t Start = Packet->pts != AV_NOPTS_VALUE ? Packet->pts : Packet->dts;
            if (Start != AV_NOPTS_VALUE) {
                const std::int64_t Duration =
                    Packet->duration > 0 ? Packet->duration : ASlot->DefaultDuration;
                ASlot->LastPts = std::max(ASlot->LastPts, Start + Duration);
            }
        }
        const int Result = avformat::av_interleaved_write_frame(AContext, Packet.get());
        if (Result < 0)
            throw FFmpegException(FormatAVError("av_interleaved_write_frame()", Result));
    }
}
