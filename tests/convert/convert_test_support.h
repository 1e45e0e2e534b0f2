#pragma once

#include "charset/charset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Shared by the converter's tests: byte buffers from text and numbers, and a set whose
// every glyph differs.

namespace tessaly {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}
inline std::string textOf(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

inline void putU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Glyph c holds the rows c, c+1, ..., c+7 (mod 256) crossed with 0x5A on odd rows.
inline Charset distinctSet() {
    Charset set;
    for (int i = 0; i < CharsetBytes; ++i)
        set.bytes[i] = static_cast<std::uint8_t>((i / 8 + i % 8) ^ (i % 2 ? 0x5A : 0));
    return set;
}

inline Bytes rowsOf(const Charset& set, int first, int count) {
    return {set.bytes.begin() + first * 8, set.bytes.begin() + (first + count) * 8};
}

} // namespace tessaly
