// Entry points of libavfilter, bound by name when the loader loads it and null
// otherwise. Call them as avfilter::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}
#include <span>
#include <string>

#define OSTRELA_AVFILTER_ENTRIES(X)                                                                \
    X(avfilter_get_by_name)                                                                        \
    X(avfilter_graph_alloc)                                                                        \
    X(avfilter_graph_free)                                                                         \
    X(avfilter_graph_create_filter)                                                                \
    X(avfilter_graph_parse_ptr)                                                                    \
    X(avfilter_graph_config)                                                                       \
    X(avfilter_link)                                                                               \
    X(avfilter_graph_alloc_filter)                                                                 \
    X(avfilter_init_str)                                                                           \
    X(avfilter_inout_alloc)                                                                        \
    X(avfilter_inout_free)                                                                         \
    X(av_buffersrc_add_frame_flags)                                                                \
    X(av_buffersink_get_frame)                                                                     \
    X(av_buffersink_get_w)                                                                         \
    X(av_buffersink_get_h)                                                                         \
    X(av_buffersink_get_format)                                                                    \
    X(av_buffersink_get_time_base)                                                                 \
    X(av_buffersink_get_sample_aspect_ratio)

namespace avfilter {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_AVFILTER_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace avfilter

void AVFilterFixup(const std::string& ALibName, void* AHandle);
void AVFilterUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> AVFilterEntries();
