#pragma once

#include "platform/surface.h"

#include <cstdint>

namespace tessaly {

// Writes the eight pixels of a glyph row byte, each `scale` pixels wide, from `out`
// onward: ink for a set bit, paper for a clear one, leftmost pixel = bit 7.
inline std::uint32_t* expandRowByte(std::uint32_t* out, std::uint8_t bits, std::uint32_t ink,
                                    std::uint32_t paper, int scale) {
    for (int b = 0; b < 8; ++b) {
        const std::uint32_t v = (bits & (0x80u >> b)) ? ink : paper;
        for (int s = 0; s < scale; ++s) *out++ = v;
    }
    return out;
}

} // namespace tessaly
