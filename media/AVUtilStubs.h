// Entry points of libavutil, bound by name when the loader loads it and null
// otherwise. Call them as avutil::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/avstring.h>
#include <libavutil/avutil.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
#include <libavutil/samplefmt.h>
#include <libavutil/time.h>
}
#include <span>
#include <string>

#define OSTRELA_AVUTIL_ENTRIES(X)                                                                  \
    X(av_malloc)                                                                                   \
    X(av_mallocz)                                                                                  \
    X(av_realloc)                                                                                  \
    X(av_free)                                                                                     \
    X(av_freep)                                                                                    \
    X(av_strdup)                                                                                   \
    X(av_strlcpy)                                                                                  \
    X(av_strstart)                                                                                 \
    X(av_fast_malloc)                                                                              \
    X(av_fast_realloc)                                                                             \
    X(av_dynarray_add)                                                                             \
    X(av_log)                                                                                      \
    X(av_log_set_callback)                                                                         \
    X(av_log_default_callback)                                                                     \
    X(av_log_set_level)                                                                            \
    X(av_log_get_level)                                                                            \
    X(av_rescale)                                                                                  \
    X(av_rescale_q)                                                                                \
    X(av_rescale_rnd)                                                                              \
    X(av_compare_ts)                                                                               \
    X(av_gcd)                                                                                      \
    X(av_reduce)                                                                                   \
    X(av_d2q)                                                                                      \
    X(av_find_nearest_q_idx)                                                                       \
    X(av_gettime)                                                                                  \
    X(av_gettime_relative)                                                                         \
    X(av_get_pix_fmt)                                                                              \
    X(av_get_pix_fmt_name)                                                                         \
    X(av_get_pix_fmt_string)                                                                       \
    X(av_pix_fmt_desc_get)                                                                         \
    X(av_pix_fmt_desc_next)                                                                        \
    X(av_pix_fmt_desc_get_id)                                                                      \
    X(av_pix_fmt_get_chroma_sub_sample)                                                            \
    X(av_get_sample_fmt)                                                                           \
    X(av_get_sample_fmt_name)                                                                      \
    X(av_get_sample_fmt_string)                                                                    \
    X(av_get_bytes_per_sample)                                                                     \
    X(av_sample_fmt_is_planar)                                                                     \
    X(av_samples_get_buffer_size)                                                                  \
    X(av_samples_alloc)                                                                            \
    X(av_samples_set_silence)                                                                      \
    X(av_get_picture_type_char)                                                                    \
    X(av_image_alloc)                                                                              \
    X(av_image_fill_arrays)                                                                        \
    X(av_image_get_buffer_size)                                                                    \
    X(av_image_copy)                                                                               \
    X(av_frame_alloc)                                                                              \
    X(av_frame_free)                                                                               \
    X(av_frame_unref)                                                                              \
    X(av_frame_ref)                                                                                \
    X(av_frame_get_buffer)                                                                         \
    X(av_frame_make_writable)                                                                      \
    X(av_dict_get)                                                                                 \
    X(av_dict_set)                                                                                 \
    X(av_dict_copy)                                                                                \
    X(av_dict_count)                                                                               \
    X(av_dict_free)                                                                                \
    X(av_opt_find)                                                                                 \
    X(av_opt_set)                                                                                  \
    X(av_opt_set_int)                                                                              \
    X(av_opt_set_double)                                                                           \
    X(av_opt_set_bin)                                                                              \
    X(av_opt_get)                                                                                  \
    X(av_opt_get_int)                                                                              \
    X(av_parse_video_rate)                                                                         \
    X(av_parse_video_size)                                                                         \
    X(av_parse_time)                                                                               \
    X(av_channel_layout_default)                                                                   \
    X(av_channel_layout_from_mask)                                                                 \
    X(av_channel_layout_copy)                                                                      \
    X(av_channel_layout_uninit)                                                                    \
    X(av_channel_layout_compare)                                                                   \
    X(av_channel_layout_describe)                                                                  \
    X(av_audio_fifo_alloc)                                                                         \
    X(av_audio_fifo_free)                                                                          \
    X(av_audio_fifo_write)                                                                         \
    X(av_audio_fifo_read)                                                                          \
    X(av_audio_fifo_size)

namespace avutil {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_AVUTIL_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace avutil

void AVUtilFixup(const std::string& ALibName, void* AHandle);
void AVUtilUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> AVUtilEntries();

namespace avutil {
// The header's av_opt_set_int_list is a macro over a linked helper; this one
// measures the list up to ATerm itself and goes through the bound av_opt_set_bin.
template <typename T>
int opt_set_int_list(void* AObj, const char* AName, const T* AList, T ATerm, int AFlags) {
    int Count = 0;
    while (AList[Count] != ATerm)
        ++Count;
    return av_opt_set_bin(AObj, AName, reinterpret_cast<const std::uint8_t*>(AList),
                          Count * static_cast<int>(sizeof(T)), AFlags);
}
} // namespace avutil
