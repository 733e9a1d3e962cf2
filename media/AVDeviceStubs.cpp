#include "media/AVDeviceStubs.h"

namespace avdevice {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_AVDEVICE_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace avdevice

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&avdevice::Name)},
    OSTRELA_AVDEVICE_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void AVDeviceFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
    // The only registration call left in this generation of the libraries.
    avdevice::avdevice_register_all();
}

void AVDeviceUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> AVDeviceEntries() {
    return Entries;
}
