// Entry points of libavcodec, bound by name when the loader loads it and null
// otherwise. Call them as avcodec::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/avfft.h>
#include <libavcodec/bsf.h>
}
#include <span>
#include <string>

#define OSTRELA_AVCODEC_ENTRIES(X)                                                                 \
    X(avcodec_find_decoder)                                                                        \
    X(avcodec_find_decoder_by_name)                                                                \
    X(avcodec_find_encoder)                                                                        \
    X(avcodec_find_encoder_by_name)                                                                \
    X(avcodec_get_name)                                                                            \
    X(avcodec_get_class)                                                                           \
    X(avcodec_alloc_context3)                                                                      \
    X(avcodec_free_context)                                                                        \
    X(avcodec_parameters_to_context)                                                               \
    X(avcodec_parameters_from_context)                                                             \
    X(avcodec_parameters_copy)                                                                     \
    X(avcodec_open2)                                                                               \
    X(avcodec_close)                                                                               \
    X(avcodec_flush_buffers)                                                                       \
    X(avcodec_string)                                                                              \
    X(avcodec_align_dimensions2)                                                                   \
    X(avcodec_send_packet)                                                                         \
    X(avcodec_receive_frame)                                                                       \
    X(avcodec_send_frame)                                                                          \
    X(avcodec_receive_packet)                                                                      \
    X(avcodec_decode_subtitle2)                                                                    \
    X(avcodec_encode_subtitle)                                                                     \
    X(avsubtitle_free)                                                                             \
    X(av_packet_alloc)                                                                             \
    X(av_packet_free)                                                                              \
    X(av_packet_ref)                                                                               \
    X(av_packet_copy_props)                                                                        \
    X(av_packet_unref)                                                                             \
    X(av_packet_move_ref)                                                                          \
    X(av_packet_make_refcounted)                                                                   \
    X(av_packet_rescale_ts)                                                                        \
    X(av_new_packet)                                                                               \
    X(av_packet_get_side_data)                                                                     \
    X(av_bsf_get_by_name)                                                                          \
    X(av_bsf_alloc)                                                                                \
    X(av_bsf_init)                                                                                 \
    X(av_bsf_send_packet)                                                                          \
    X(av_bsf_receive_packet)                                                                       \
    X(av_bsf_free)                                                                                 \
    X(av_bsf_list_parse_str)                                                                       \
    X(av_get_bits_per_sample)                                                                      \
    X(av_rdft_init)                                                                                \
    X(av_rdft_calc)                                                                                \
    X(av_rdft_end)

namespace avcodec {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_AVCODEC_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace avcodec

void AVCodecFixup(const std::string& ALibName, void* AHandle);
void AVCodecUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> AVCodecEntries();
