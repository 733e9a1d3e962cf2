// Entry points of libavdevice, bound by name when the loader loads it and null
// otherwise. Call them as avdevice::name(...): the plain names are never linked.
#pragma once

#include "media/MyUtils.h"

#include <cstdint>
extern "C" {
#include <libavdevice/avdevice.h>
}
#include <span>
#include <string>

#define OSTRELA_AVDEVICE_ENTRIES(X) X(avdevice_register_all)

namespace avdevice {
#define OSTRELA_DECLARE_ENTRY(Name) extern decltype(&::Name) Name;
OSTRELA_AVDEVICE_ENTRIES(OSTRELA_DECLARE_ENTRY)
#undef OSTRELA_DECLARE_ENTRY
} // namespace avdevice

void AVDeviceFixup(const std::string& ALibName, void* AHandle);
void AVDeviceUnfix();
// The table of the library's entry points, in binding order.
std::span<const TEntryPoint> AVDeviceEntries();
