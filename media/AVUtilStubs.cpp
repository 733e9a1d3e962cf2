#include "media/AVUtilStubs.h"

namespace avutil {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_AVUTIL_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace avutil

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&avutil::Name)},
    OSTRELA_AVUTIL_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void AVUtilFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
}

void AVUtilUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> AVUtilEntries() {
    return Entries;
}
