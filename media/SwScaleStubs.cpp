#include "media/SwScaleStubs.h"

namespace swscale {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_SWSCALE_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace swscale

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&swscale::Name)},
    OSTRELA_SWSCALE_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void SwScaleFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
}

void SwScaleUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> SwScaleEntries() {
    return Entries;
}
