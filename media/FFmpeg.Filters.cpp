// The video filter graph: one per encoded video output stream, from a
// buffer source fed with the decoded pictures to a buffer sink that hands
// over pictures in the encoder's format and size.
#include "media/FFmpeg.h"

#include "media/AVFilterStubs.h"
#include "platform/core/Format.h"

namespace {

// Frees a graph that is not complete yet.
struct TGraphGuard {
    AVFilterGraph* Graph = nullptr;
    ~TGraphGuard() {
        if (Graph)
            avfilter::avfilter_graph_free(&Graph);
    }
};

AVFilterContext* AddFilter(AVFilterGraph* AGraph, const char* AName, const char* AInstance,
                           const std::string& AArgs) {
    AVFilterContext* Filter = nullptr;
    const AVFilter* Kind = avfilter::avfilter_get_by_name(AName);
    if (!Kind || avfilter::avfilter_graph_create_filter(&Filter, Kind, AInstance,
                                                        AArgs.empty() ? nullptr : AArgs.c_str(),
                                                        nullptr, AGraph) < 0)
        return nullptr;
    return Filter;
}

} // namespace

int TCustomFFmpeg::ConfigureFilters(TAVInputStream* AIst, TAVOutputStream* AOst) {
    const AVCodecParameters* In = AIst->st->codecpar;
    AVCodecContext* Enc = AOst->enc_ctx;
    TGraphGuard Guard;
    Guard.Graph = avfilter::avfilter_graph_alloc();
    if (!Guard.Graph)
        return -1;
    AVFilterGraph* Graph = Guard.Graph;
    const AVRational Sar = In->sample_aspect_ratio.num ? In->sample_aspect_ratio : AVRational{0, 1};
    AVFilterContext* Source =
        AddFilter(Graph, "buffer", "src",
                  Format("video_size=%dx%d:pix_fmt=%d:time_base=1/1000000:pixel_aspect=%d/%d",
                         {In->width, In->height, In->format, Sar.num, Sar.den}));
    if (!Source)
        return -1;
    AVFilterContext* Sink = avfilter::avfilter_graph_alloc_filter(
        Graph, avfilter::avfilter_get_by_name("buffersink"), "out");
    if (!Sink)
        return -1;
    const int PixFmts[] = {Enc->pix_fmt, AV_PIX_FMT_NONE};
    if (avutil::av_opt_set_bin(Sink, "pix_fmts", reinterpret_cast<const std::uint8_t*>(PixFmts),
                               sizeof(int), AV_OPT_SEARCH_CHILDREN) < 0 ||
        avfilter::avfilter_init_str(Sink, nullptr) < 0)
        return -1;
    AVFilterContext* Last = Source;
    if (AOst->video_crop) {
        // The crop keeps the whole picture inside the bands; a scale stage
        // then brings it to the encoder's size.
        AVFilterContext* Crop =
            AddFilter(Graph, "crop", "crop",
                      Format("%d:%d:%d:%d", {In->width - AOst->leftBand - AOst->rightBand,
                                             In->height - AOst->topBand - AOst->bottomBand,
                                             AOst->leftBand, AOst->topBand}));
        if (!Crop || avfilter::avfilter_link(Last, 0, Crop, 0) < 0)
            return -1;
        Last = Crop;
    }
    const int CroppedWidth = In->width - AOst->leftBand - AOst->rightBand;
    const int CroppedHeight = In->height - AOst->topBand - AOst->bottomBand;
    if (Enc->width != CroppedWidth || Enc->height != CroppedHeight) {
        AVFilterContext* Scale =
            AddFilter(Graph, "scale", "scale",
                      Format("%d:%d:sws_flags=%d", {Enc->width, Enc->height, Fsws_flags}));
        if (!Scale || avfilter::avfilter_link(Last, 0, Scale, 0) < 0)
            return -1;
        Last = Scale;
    }
    Graph->scale_sws_opts = avutil::av_strdup(Format("flags=0x%X", {Fsws_flags}).c_str());
    if (!Fvfilters.empty()) {
        AVFilterInOut* Outputs = avfilter::avfilter_inout_alloc();
        AVFilterInOut* Inputs = avfilter::avfilter_inout_alloc();
        if (!Outputs || !Inputs) {
            avfilter::avfilter_inout_free(&Outputs);
            avfilter::avfilter_inout_free(&Inputs);
            return -1;
        }
        Outputs->name = avutil::av_strdup("in");
        Outputs->filter_ctx = Last;
        Outputs->pad_idx = 0;
        Inputs->name = avutil::av_strdup("out");
        Inputs->filter_ctx = Sink;
        Inputs->pad_idx = 0;
        const int Parsed = avfilter::avfilter_graph_parse_ptr(Graph, Fvfilters.c_str(), &Inputs,
                                                              &Outputs, nullptr);
        avfilter::avfilter_inout_free(&Outputs);
        avfilter::avfilter_inout_free(&Inputs);
        if (Parsed < 0)
            return -1;
    } else if (avfilter::avfilter_link(Last, 0, Sink, 0) < 0) {
        return -1;
    }
    if (avfilter::avfilter_graph_config(Graph, nullptr) < 0)
        return -1;
    Enc->width = avfilter::av_buffersink_get_w(Sink);
    Enc->height = avfilter::av_buffersink_get_h(Sink);
    AOst->filter_graph = Guard.Graph;
    Guard.Graph = nullptr;
    AOst->input_video_filter = Source;
    AOst->out_video_filter = Sink;
    return 0;
}

// Feeds one decoded picture (null: the end) to the stream's graph and sends
// every picture that comes out to the output.
void TCustomFFmpeg::FilterPicture(AVFormatContext* AContext, TAVOutputStream* AOst,
                                  TAVInputStream* AIst, AVFrame* APicture) {
    if (APicture) {
        const std::int64_t Saved = APicture->pts;
        APicture->pts = AIst->pts;
        const int Added = avfilter::av_buffersrc_add_frame_flags(AOst->input_video_filter, APicture,
                                                                 AV_BUFFERSRC_FLAG_KEEP_REF);
        APicture->pts = Saved;
        if (Added < 0)
            throw FFmpegException("Error while filtering picture");
    } else {
        // The end of the pictures: what the graph holds comes out below.
        if (avfilter::av_buffersrc_add_frame_flags(AOst->input_video_filter, nullptr, 0) < 0)
            return;
    }
    AVFrame* Filtered = avutil::av_frame_alloc();
    if (!Filtered)
        throw FFmpegException("Error while filtering picture");
    const std::int64_t InputPts = AIst->pts;
    try {
        while (avfilter::av_buffersink_get_frame(AOst->out_video_filter, Filtered) >= 0) {
            if (Filtered->pts != AV_NOPTS_VALUE)
                AIst->pts = avutil::av_rescale_q(
                    Filtered->pts, avfilter::av_buffersink_get_time_base(AOst->out_video_filter),
                    MicrosecondsBase);
            if (Filtered->sample_aspect_ratio.num)
                AOst->enc_ctx->sample_aspect_ratio = Filtered->sample_aspect_ratio;
            const int Size = VideoOut(AContext, AOst, AIst, Filtered);
            if (!Fvstats_filename.empty() && Size > 0)
                WriteVideoStats(AOst, Size);
            avutil::av_frame_unref(Filtered);
        }
    } catch (...) {
        AIst->pts = InputPts;
        avutil::av_frame_free(&Filtered);
        throw;
    }
    AIst->pts = InputPts;
    avutil::av_frame_free(&Filtered);
}
