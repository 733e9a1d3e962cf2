// Little-endian numbers in the byte layouts of BMP and ICO files.
#pragma once

#include <cstdint>
#include <vector>

namespace gdi::le {

inline std::uint32_t U32(const std::uint8_t* P) {
    return std::uint32_t(P[0]) | (std::uint32_t(P[1]) << 8) | (std::uint32_t(P[2]) << 16) |
           (std::uint32_t(P[3]) << 24);
}

inline std::uint16_t U16(const std::uint8_t* P) {
    return std::uint16_t(P[0] | (P[1] << 8));
}

inline void Put32(std::vector<std::uint8_t>& Out, std::uint32_t V) {
    for (int i = 0; i < 4; ++i)
        Out.push_back(std::uint8_t(V >> (8 * i)));
}

inline void Put16(std::vector<std::uint8_t>& Out, std::uint16_t V) {
    Out.push_back(std::uint8_t(V));
    Out.push_back(std::uint8_t(V >> 8));
}

} // namespace gdi::le
