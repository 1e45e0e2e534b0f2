#pragma once

#include "charset/charset.h"
#include "formats/raw/map_codes.h"
#include "platform/surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// ZX Spectrum tapes (.tap) that load by themselves after LOAD "": a BASIC program that
// starts at its line 10 and loads a code block. The block is either a set that PRINT then
// uses (through the system variable CHARS), or a screen: a short machine code program that
// draws a map with its set into the display file and waits for a key.

namespace tessaly::formats {

constexpr int ZxScreenColumns = 32;
constexpr int ZxScreenRows = 24;
constexpr int ZxSetLoadAddress = 64600;    // codes 32-127 end below the UDGs, at 65368
constexpr int ZxMapLoadAddress = 32768;    // above the display file and BASIC, on a 48K machine
constexpr int ZxLowestLoadAddress = 24576; // below lie BASIC, its loader and workspace

// The glyphs of codes first .. first + rows.size() / 8 - 1 as a block at loadAddress,
// CHARS pointed 256 bytes below the glyph of code 32. False, with `out` untouched, when
// the block would start below ZxLowestLoadAddress or run past 65535.
bool writeZxSetTape(std::span<const std::uint8_t> rows, int first, int loadAddress,
                    std::string_view name, std::vector<std::uint8_t>& out, std::string& error);

// The top-left 32 x 24 cells of `map` drawn with `font` in the attribute's colours, the
// cells past the map in paper, by code loaded at loadAddress. False, with `out`
// untouched, when the code block would start below ZxLowestLoadAddress or run past 65535.
bool writeZxMapTape(const CodeMap& map, const Charset& font, std::uint8_t attribute,
                    int loadAddress, std::string_view name, std::vector<std::uint8_t>& out,
                    std::string& error);

} // namespace tessaly::formats
