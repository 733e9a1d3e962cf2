#include "media/AVFormatStubs.h"

namespace avformat {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_AVFORMAT_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace avformat

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&avformat::Name)},
    OSTRELA_AVFORMAT_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void AVFormatFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
}

void AVFormatUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> AVFormatEntries() {
    return Entries;
}
