// Entry points of libavformat, bound by name when the loader loads it and null
// otherwise. Call them as avformat::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
}
#include <span>
#include <string>

#define OSTRELA_AVFORMAT_ENTRIES(X)                                                                \
    X(av_find_input_format)                                                                        \
    X(avformat_alloc_context)                                                                      \
    X(avformat_open_input)                                                                         \
    X(avformat_find_stream_info)                                                                   \
    X(avformat_close_input)                                                                        \
    X(av_read_frame)                                                                               \
    X(av_read_pause)                                                                               \
    X(av_read_play)                                                                                \
    X(av_seek_frame)                                                                               \
    X(avformat_seek_file)                                                                          \
    X(av_find_best_stream)                                                                         \
    X(av_guess_format)                                                                             \
    X(av_guess_codec)                                                                              \
    X(avformat_alloc_output_context2)                                                              \
    X(avformat_free_context)                                                                       \
    X(avformat_new_stream)                                                                         \
    X(avformat_write_header)                                                                       \
    X(avio_open_dyn_buf)                                                                           \
    X(avio_close_dyn_buf)                                                                          \
    X(avformat_query_codec)                                                                        \
    X(av_interleaved_write_frame)                                                                  \
    X(av_write_trailer)                                                                            \
    X(av_codec_get_id)                                                                             \
    X(av_codec_get_tag)                                                                            \
    X(avformat_transfer_internal_stream_timing_info)                                               \
    X(av_stream_get_codec_timebase)                                                                \
    X(av_filename_number_test)                                                                     \
    X(av_sdp_create)                                                                               \
    X(avio_open2)                                                                                  \
    X(avio_find_protocol_name)                                                                     \
    X(avio_closep)                                                                                 \
    X(avio_size)                                                                                   \
    X(avio_seek)                                                                                   \
    X(avio_feof)                                                                                   \
    X(avio_write)                                                                                  \
    X(avio_flush)                                                                                  \
    X(av_dump_format)                                                                              \
    X(av_pkt_dump_log2)                                                                            \
    X(avformat_get_class)

namespace avformat {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_AVFORMAT_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace avformat

void AVFormatFixup(const std::string& ALibName, void* AHandle);
void AVFormatUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> AVFormatEntries();

namespace avformat {
// The header's avio_tell is inline over the linked avio_seek; this one goes
// through the bound entry.
inline std::int64_t avio_tell(AVIOContext* s) {
    return avio_seek(s, 0, SEEK_CUR);
}
} // namespace avformat
