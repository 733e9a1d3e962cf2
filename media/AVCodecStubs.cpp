#include "media/AVCodecStubs.h"

namespace avcodec {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_AVCODEC_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace avcodec

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&avcodec::Name)},
    OSTRELA_AVCODEC_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void AVCodecFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
}

void AVCodecUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> AVCodecEntries() {
    return Entries;
}
