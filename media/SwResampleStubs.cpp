#include "media/SwResampleStubs.h"

namespace swresample {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_SWRESAMPLE_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace swresample

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&swresample::Name)},
    OSTRELA_SWRESAMPLE_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void SwResampleFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
}

void SwResampleUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> SwResampleEntries() {
    return Entries;
}
