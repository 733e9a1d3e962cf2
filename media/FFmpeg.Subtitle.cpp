// Subtitle output: a decoded subtitle is encoded once, or twice for DVB
// subtitles, whose second packet clears the picture at its end time.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"

int TCustomFFmpeg::DecodeSubtitle(TAVInputStream* AIst, int AIstIndex, const AVPacket* APacket) {
    if (!APacket)
        return 0;
    AVSubtitle Sub{};
    int Got = 0;
    AVPacket* Packet = const_cast<AVPacket*>(APacket);
    if (avcodec::avcodec_decode_subtitle2(AIst->dec_ctx, &Sub, &Got, Packet) < 0)
        return -1;
    if (!Got)
        return 0;
    AIst->pts = AIst->next_pts;
    try {
        if (Fstart_time == 0 || AIst->pts >= Fstart_time)
            for (const auto& Ost : Fost_table) {
                // Outputs that copy the stream had the packet already.
                if (Ost->source_index != AIstIndex || !Ost->encoding_needed)
                    continue;
                if (Ost->enc_ctx->codec_type != AVMEDIA_TYPE_SUBTITLE)
                    throw FFmpegException("invalid codec_type");
                SubtitleOut(Foutput_files[Ost->file_index], Ost.get(), APacket->pts, &Sub, AIst);
            }
    } catch (...) {
        avcodec::avsubtitle_free(&Sub);
        throw;
    }
    avcodec::avsubtitle_free(&Sub);
    return 0;
}

void TCustomFFmpeg::SubtitleOut(AVFormatContext* AContext, TAVOutputStream* AOst, std::int64_t APts,
                                AVSubtitle* ASub, TAVInputStream* AIst) {
    constexpr int BufferSize = 1048576;
    if (APts == AV_NOPTS_VALUE) {
        if (Fexit_on_error)
            throw FFmpegException("Subtitle packets must have a pts");
        Log(llError, "Subtitle packets must have a pts");
        return;
    }
    AVCodecContext* Enc = AOst->enc_ctx;
    if (!Fsubtitle_out) {
        Fsubtitle_out = static_cast<std::uint8_t*>(avutil::av_malloc(BufferSize));
        if (!Fsubtitle_out)
            throw FFmpegException("Subtitle encoding failed");
    }
    // The start offset moves into the time stamp once, before the passes: a
    // second pass that took it again would find it 0 and clear a DVB
    // subtitle that much too early.
    ASub->pts = avutil::av_rescale_q(APts, AIst->st->time_base, MicrosecondsBase) +
                avutil::av_rescale_q(ASub->start_display_time, {1, 1000}, MicrosecondsBase);
    ASub->end_display_time -= ASub->start_display_time;
    ASub->start_display_time = 0;
    const int Passes = Enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE ? 2 : 1;
    for (int Pass = 0; Pass < Passes; ++Pass) {
        const int Size = avcodec::avcodec_encode_subtitle(Enc, Fsubtitle_out, BufferSize, ASub);
        if (Size < 0)
            throw FFmpegException("Subtitle encoding failed");
        AVPacket* Packet = avcodec::av_packet_alloc();
        if (!Packet || avcodec::av_new_packet(Packet, Size) < 0) {
            avcodec::av_packet_free(&Packet);
            throw FFmpegException("Subtitle encoding failed");
        }
        std::copy(Fsubtitle_out, Fsubtitle_out + Size, Packet->data);
        Packet->stream_index = AOst->index;
        Packet->pts = avutil::av_rescale_q(ASub->pts, MicrosecondsBase, AOst->st->time_base);
        // Muxers that keep cue lengths need them.
        Packet->duration =
            avutil::av_rescale_q(ASub->end_display_time, {1, 1000}, AOst->st->time_base);
        if (Enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE)
            Packet->pts += 90 * (Pass == 0 ? ASub->start_display_time : ASub->end_display_time);
        Packet->dts = Packet->pts;
        try {
            WritePacket(AContext, Packet, AOst->slot, Enc);
        } catch (...) {
            avcodec::av_packet_free(&Packet);
            throw;
        }
        avcodec::av_packet_free(&Packet);
    }
}
