#include "media/AVFilterStubs.h"

namespace avfilter {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_AVFILTER_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace avfilter

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&avfilter::Name)},
    OSTRELA_AVFILTER_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void AVFilterFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
}

void AVFilterUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> AVFilterEntries() {
    return Entries;
}
