// Subtitles: the subtitle thread decodes bitmap subtitles into a queue of
// four, their palettes turned into alpha and YUV; the play thread retires
// them by time and blends the one due into the picture it shows.
#include "player/FFPlay.h"

#include "platform/core/Clock.h"

#include <algorithm>

std::uint32_t PaletteEntryToYUVA(std::uint32_t AEntry) {
    const int A = int(AEntry >> 24), R = int((AEntry >> 16) & 0xFF), G = int((AEntry >> 8) & 0xFF),
              B = int(AEntry & 0xFF);
    const int Y = (263 * R + 517 * G + 101 * B + 16896) >> 10;
    const int U = ((-152 * R - 298 * G + 450 * B + 511) >> 10) + 128;
    const int V = ((450 * R - 377 * G - 74 * B + 511) >> 10) + 128;
    return std::uint32_t(A) << 24 | std::uint32_t(Y) << 16 | std::uint32_t(U) << 8 |
           std::uint32_t(V);
}

namespace {

int Blend(int AOld, int ANew, int AAlpha, int AShift) {
    return ((AOld << AShift) * (255 - AAlpha) + ANew * AAlpha) / (255 << AShift);
}

} // namespace

void BlendSubRect(std::uint8_t* const APlanes[3], const int ALineSizes[3],
                  const AVSubtitleRect& ARect, int AWidth, int AHeight) {
    if (!ARect.data[0] || !ARect.data[1] || ARect.nb_colors <= 0)
        return;
    const int W = std::clamp(ARect.w, 0, AWidth);
    const int H = std::clamp(ARect.h, 0, AHeight);
    const int X0 = std::clamp(ARect.x, 0, AWidth - W);
    const int Y0 = std::clamp(ARect.y, 0, AHeight - H);
    const auto* Palette = reinterpret_cast<const std::uint32_t*>(ARect.data[1]);
    // Pixel (I, J) of the cut rectangle; indices past the palette are clear.
    auto Colour = [&](int I, int J) -> std::uint32_t {
        const int Index = ARect.data[0][std::ptrdiff_t(J) * ARect.linesize[0] + I];
        return Index < ARect.nb_colors ? Palette[Index] : 0;
    };
    for (int J = 0; J < H; ++J) {
        std::uint8_t* Luma = APlanes[0] + std::ptrdiff_t(Y0 + J) * ALineSizes[0];
        for (int I = 0; I < W; ++I) {
            const std::uint32_t C = Colour(I, J);
            Luma[X0 + I] =
                std::uint8_t(Blend(Luma[X0 + I], int((C >> 16) & 0xFF), int(C >> 24), 0));
        }
    }
    // Each chroma sample covers a 2 x 2 block; the covered pixels of the
    // block (one, two or four) are summed, with the shift to match.
    for (int CY = Y0 / 2; CY <= (Y0 + H - 1) / 2 && H > 0; ++CY)
        for (int CX = X0 / 2; CX <= (X0 + W - 1) / 2 && W > 0; ++CX) {
            int Count = 0, A = 0, U = 0, V = 0;
            for (int Y = CY * 2; Y < CY * 2 + 2; ++Y)
                for (int X = CX * 2; X < CX * 2 + 2; ++X) {
                    if (X < X0 || X >= X0 + W || Y < Y0 || Y >= Y0 + H)
                        continue;
                    const std::uint32_t C = Colour(X - X0, Y - Y0);
                    ++Count;
                    A += int(C >> 24);
                    U += int((C >> 8) & 0xFF);
                    V += int(C & 0xFF);
                }
            const int Shift = Count == 4 ? 2 : Count == 2 ? 1 : 0;
            std::uint8_t& Cb = APlanes[1][std::ptrdiff_t(CY) * ALineSizes[1] + CX];
            std::uint8_t& Cr = APlanes[2][std::ptrdiff_t(CY) * ALineSizes[2] + CX];
            Cb = std::uint8_t(Blend(Cb, U, A >> 2, Shift));
            Cr = std::uint8_t(Blend(Cr, V, A >> 2, Shift));
        }
}

namespace {

void ConvertPalettes(AVSubtitle& ASub) {
    for (unsigned I = 0; I < ASub.num_rects; ++I) {
        AVSubtitleRect* Rect = ASub.rects[I];
        auto* Palette = reinterpret_cast<std::uint32_t*>(Rect->data[1]);
        for (int C = 0; Palette && C < Rect->nb_colors; ++C)
            Palette[C] = PaletteEntryToYUVA(Palette[C]);
    }
}

// The entry at the read position leaves the queue.
void DropFirstSubtitle(TVideoState* is) {
    avcodec::avsubtitle_free(&is->subpq[is->subpq_rindex].sub);
    is->subpq_rindex = (is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
    sdl::SDL_mutexP(is->subpq_mutex);
    is->subpq_size -= 1;
    sdl::SDL_CondSignal(is->subpq_cond);
    sdl::SDL_mutexV(is->subpq_mutex);
}

} // namespace

int PlayerSubtitleThread(void* AState) {
    SetPlaybackThread();
    auto* is = static_cast<TVideoState*>(AState);
    AVPacket* Packet = avcodec::av_packet_alloc();
    while (Packet) {
        // A paused open still decodes, so its pictures carry their subtitle.
        while (is->paused && !is->subtitleq.abort_request && !is->seek_paused && !is->open_paused)
            Sleep(10);
        bool Flush = false;
        if (PacketQueueGet(is->subtitleq, Packet, Flush, true) < 0)
            break;
        if (Flush) {
            avcodec::avcodec_flush_buffers(is->subtitle_dec);
            continue;
        }
        sdl::SDL_mutexP(is->subpq_mutex);
        while (is->subpq_size >= SUBPICTURE_QUEUE_SIZE && !is->subtitleq.abort_request)
            sdl::SDL_CondWait(is->subpq_cond, is->subpq_mutex);
        sdl::SDL_mutexV(is->subpq_mutex);
        if (is->subtitleq.abort_request)
            break;
        TSubPicture* sp = &is->subpq[is->subpq_windex];
        const double PTS = Packet->pts != AV_NOPTS_VALUE
                               ? double(Packet->pts) * av_q2d(is->subtitle_st->time_base)
                               : 0;
        int Got = 0;
        const int Used =
            avcodec::avcodec_decode_subtitle2(is->subtitle_dec, &sp->sub, &Got, Packet);
        avcodec::av_packet_unref(Packet);
        if (Used < 0 || !Got)
            continue;
        if (sp->sub.format != 0) {
            // Text subtitles are not drawn.
            avcodec::avsubtitle_free(&sp->sub);
            continue;
        }
        sp->pts = PTS;
        ConvertPalettes(sp->sub);
        is->subpq_windex = (is->subpq_windex + 1) % SUBPICTURE_QUEUE_SIZE;
        sdl::SDL_mutexP(is->subpq_mutex);
        is->subpq_size += 1;
        sdl::SDL_mutexV(is->subpq_mutex);
        is->SubtitlesQueued += 1;
    }
    avcodec::av_packet_free(&Packet);
    is->SubtitleThreadDone = true;
    return 0;
}

void RetireSubtitles(TVideoState* is) {
    if (is->subtitle_stream < 0)
        return;
    if (is->subtitle_stream_changed) {
        while (is->subpq_size > 0)
            DropFirstSubtitle(is);
        is->subtitle_stream_changed = 0;
        return;
    }
    const double Shown = is->video_current_pts;
    while (is->subpq_size > 0) {
        const TSubPicture& sp = is->subpq[is->subpq_rindex];
        const TSubPicture* sp2 = is->subpq_size > 1
                                     ? &is->subpq[(is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE]
                                     : nullptr;
        if (Shown > sp.pts + double(sp.sub.end_display_time) / 1000 ||
            (sp2 && Shown > sp2->pts + double(sp2->sub.start_display_time) / 1000))
            DropFirstSubtitle(is);
        else
            break;
    }
}

void BlendDueSubtitle(TVideoState* is, std::uint8_t* const APlanes[3], const int ALineSizes[3],
                      int AWidth, int AHeight, double APTS) {
    // After a switch, what is queued belongs to the stream before it.
    if (is->subtitle_stream < 0 || is->subpq_size == 0 || is->subtitle_stream_changed)
        return;
    const TSubPicture& sp = is->subpq[is->subpq_rindex];
    if (APTS < sp.pts + double(sp.sub.start_display_time) / 1000)
        return;
    for (unsigned I = 0; I < sp.sub.num_rects; ++I)
        BlendSubRect(APlanes, ALineSizes, *sp.sub.rects[I], AWidth, AHeight);
}

void FreeSubtitleQueue(TVideoState* is) {
    for (TSubPicture& sp : is->subpq)
        avcodec::avsubtitle_free(&sp.sub);
    is->subpq_size = 0;
    is->subpq_rindex = is->subpq_windex = 0;
}
