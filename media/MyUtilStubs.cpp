#include "media/MyUtilStubs.h"

namespace myutil {
#define OSTRELA_DEFINE_ENTRY(Name) decltype(&::Name) Name = nullptr;
OSTRELA_MYUTIL_ENTRIES(OSTRELA_DEFINE_ENTRY)
#undef OSTRELA_DEFINE_ENTRY
} // namespace myutil

namespace {

const TEntryPoint Entries[] = {
#define OSTRELA_ENTRY_ROW(Name) {#Name, reinterpret_cast<void**>(&myutil::Name)},
    OSTRELA_MYUTIL_ENTRIES(OSTRELA_ENTRY_ROW)
#undef OSTRELA_ENTRY_ROW
};

} // namespace

void MyUtilFixup(const std::string& ALibName, void* AHandle) {
    BindEntries(ALibName, AHandle, Entries);
}

void MyUtilUnfix() {
    UnbindEntries(Entries);
}

std::span<const TEntryPoint> MyUtilEntries() {
    return Entries;
}
