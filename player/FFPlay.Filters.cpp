// The video filter graph between the decoder and the picture queue: a buffer
// source fed with the decoded pictures, the user's VideoFilters, and a
// buffer sink that hands out YUV 4:2:0 pictures. Only the video thread uses
// the graph; the play thread reads the sink's size from the state.
#include "player/FFPlay.h"

#include "media/AVFilterStubs.h"
#include "platform/core/Format.h"

namespace {

AVFilterContext* CreateFilter(AVFilterGraph* AGraph, const char* AKind, const char* AName,
                              const std::string& AArgs) {
    AVFilterContext* Filter = nullptr;
    const AVFilter* Kind = avfilter::avfilter_get_by_name(AKind);
    if (!Kind || avfilter::avfilter_graph_create_filter(&Filter, Kind, AName,
                                                        AArgs.empty() ? nullptr : AArgs.c_str(),
                                                        nullptr, AGraph) < 0)
        return nullptr;
    return Filter;
}

// The user's chain from "src" to "out"; FFmpeg logs what it cannot parse.
bool ParseUserFilters(AVFilterGraph* AGraph, AVFilterContext* ASource, AVFilterContext* ASink,
                      const std::string& AFilters) {
    AVFilterInOut* Outputs = avfilter::avfilter_inout_alloc();
    AVFilterInOut* Inputs = avfilter::avfilter_inout_alloc();
    bool Ok = Outputs && Inputs;
    if (Ok) {
        Outputs->name = avutil::av_strdup("in");
        Outputs->filter_ctx = ASource;
        Outputs->pad_idx = 0;
        Outputs->next = nullptr;
        Inputs->name = avutil::av_strdup("out");
        Inputs->filter_ctx = ASink;
        Inputs->pad_idx = 0;
        Inputs->next = nullptr;
        Ok = avfilter::avfilter_graph_parse_ptr(AGraph, AFilters.c_str(), &Inputs, &Outputs,
                                                nullptr) >= 0;
    }
    avfilter::avfilter_inout_free(&Outputs);
    avfilter::avfilter_inout_free(&Inputs);
    return Ok;
}

} // namespace

bool BuildVideoFilterGraph(TVideoState* is, const std::string& AFilters) {
    const AVCodecContext* Decoder = is->video_dec;
    AVFilterGraph* Graph = avfilter::avfilter_graph_alloc();
    if (!Graph)
        return false;
    is->graph = Graph;
    Graph->scale_sws_opts = avutil::av_strdup("flags=bicubic");
    const AVRational TimeBase = is->video_st->time_base;
    const AVRational Sar = Decoder->sample_aspect_ratio.num && Decoder->sample_aspect_ratio.den
                               ? Decoder->sample_aspect_ratio
                               : AVRational{1, 1};
    AVFilterContext* Source =
        CreateFilter(Graph, "buffer", "src",
                     Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                            {Decoder->width, Decoder->height, int(Decoder->pix_fmt), TimeBase.num,
                             TimeBase.den, Sar.num, Sar.den}));
    if (!Source)
        return false;
    AVFilterContext* Sink = avfilter::avfilter_graph_alloc_filter(
        Graph, avfilter::avfilter_get_by_name("buffersink"), "out");
    if (!Sink)
        return false;
    const AVPixelFormat PixFmts[] = {AV_PIX_FMT_YUV420P, AV_PIX_FMT_NONE};
    if (avutil::opt_set_int_list(Sink, "pix_fmts", PixFmts, AV_PIX_FMT_NONE,
                                 AV_OPT_SEARCH_CHILDREN) < 0 ||
        avfilter::avfilter_init_str(Sink, nullptr) < 0)
        return false;
    const bool Linked = AFilters.empty() ? avfilter::avfilter_link(Source, 0, Sink, 0) >= 0
                                         : ParseUserFilters(Graph, Source, Sink, AFilters);
    if (!Linked || avfilter::avfilter_graph_config(Graph, nullptr) < 0)
        return false;
    is->in_video_filter = Source;
    is->out_video_filter = Sink;
    is->filter_width = avfilter::av_buffersink_get_w(Sink) & ~1;
    is->filter_height = avfilter::av_buffersink_get_h(Sink) & ~1;
    is->filter_frame = avutil::av_frame_alloc();
    return is->filter_frame != nullptr;
}

void FreeVideoFilterGraph(TVideoState* is) {
    avfilter::avfilter_graph_free(&is->graph);
    is->in_video_filter = nullptr;
    is->out_video_filter = nullptr;
    avutil::av_frame_free(&is->filter_frame);
}

int GetFilteredVideoFrame(TVideoState* is, AVFrame* AFrame, std::int64_t& APTS,
                          std::int64_t& APos) {
    for (;;) {
        const int Got = avfilter::av_buffersink_get_frame(is->out_video_filter, AFrame);
        if (Got == 0) {
            APTS = AFrame->pts == AV_NOPTS_VALUE ? 0 : AFrame->pts;
            APos = AFrame->pkt_pos;
            return 1;
        }
        if (Got != AVERROR(EAGAIN))
            return -1;
        // The graph wants a picture. Nothing decoded yet goes back to the
        // video thread, which waits while paused before asking again.
        std::int64_t PTS = 0, Pos = -1;
        const int Decoded = GetVideoFrame(is, is->filter_frame, PTS, Pos);
        if (Decoded <= 0)
            return Decoded;
        is->filter_frame->pts = PTS;
        const int Added = avfilter::av_buffersrc_add_frame_flags(
            is->in_video_filter, is->filter_frame, AV_BUFFERSRC_FLAG_KEEP_REF);
        avutil::av_frame_unref(is->filter_frame);
        if (Added < 0)
            return -1;
    }
}
