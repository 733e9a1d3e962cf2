// Entry points of libswscale, bound by name when the loader loads it and null
// otherwise. Call them as swscale::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
extern "C" {
#include <libswscale/swscale.h>
}
#include <span>
#include <string>

#define OSTRELA_SWSCALE_ENTRIES(X)                                                                 \
    X(sws_getContext)                                                                              \
    X(sws_getCachedContext)                                                                        \
    X(sws_scale)                                                                                   \
    X(sws_freeContext)                                                                             \
    X(sws_alloc_context)                                                                           \
    X(sws_init_context)                                                                            \
    X(sws_scale_frame)                                                                             \
    X(sws_get_class)

namespace swscale {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_SWSCALE_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace swscale

void SwScaleFixup(const std::string& ALibName, void* AHandle);
void SwScaleUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> SwScaleEntries();
