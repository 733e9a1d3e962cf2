// Entry points of libswresample, bound by name when the loader loads it and null
// otherwise. Call them as swresample::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
extern "C" {
#include <libswresample/swresample.h>
}
#include <span>
#include <string>

#define OSTRELA_SWRESAMPLE_ENTRIES(X)                                                              \
    X(swr_alloc_set_opts2)                                                                         \
    X(swr_init)                                                                                    \
    X(swr_convert)                                                                                 \
    X(swr_free)                                                                                    \
    X(swr_set_compensation)                                                                        \
    X(swr_get_delay)

namespace swresample {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_SWRESAMPLE_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace swresample

void SwResampleFixup(const std::string& ALibName, void* AHandle);
void SwResampleUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> SwResampleEntries();
