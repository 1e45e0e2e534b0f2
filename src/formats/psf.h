#pragma once

#include "charset/charset.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Linux console fonts, PSF 1 and PSF 2, with glyphs of 8x8 pixels. A Unicode table is
// skipped when reading and not written.

namespace tessaly::formats {

struct PsfFont {
    int version = 0;                // 1 or 2
    int glyphCount = 0;             // as the header says
    std::vector<std::uint8_t> rows; // the first 256 glyphs at most, 8 bytes each
};

// False with a message naming the header field (by byte offset) that is wrong, or the
// size other than 8x8 that the glyphs have.
bool readPsf(std::span<const std::uint8_t> bytes, PsfFont& font, std::string& error);

// A PSF 2 font of the glyphs first .. first+count-1.
std::vector<std::uint8_t> writePsf(const Charset& set, int first, int count);

} // namespace tessaly::formats
