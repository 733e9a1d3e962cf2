#include "platform/forms/Hotkeys.h"

#include <cctype>

unsigned GetHotkey(const std::string& Caption) {
    for (std::size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != '&')
            continue;
        if (Caption[I + 1] == '&') {
            ++I;
            continue;
        }
        unsigned char C = static_cast<unsigned char>(Caption[I + 1]);
        // Accelerators are single-byte characters; a multi-byte one is not one.
        return C < 0x80 ? unsigned(std::toupper(C)) : 0;
    }
    return 0;
}

bool IsAccel(unsigned VK, const std::string& Caption) {
    unsigned Key = GetHotkey(Caption);
    if (Key == 0 || VK == 0 || VK >= 0x80)
        return false;
    return Key == unsigned(std::toupper(static_cast<int>(VK)));
}

std::string StripHotkey(const std::string& Caption) {
    std::string Result;
    for (std::size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == '&' && I + 1 < Caption.size()) {
            ++I;
        }
        Result += Caption[I];
    }
    return Result;
}
