#pragma once

#include "formats/raw/map_codes.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

// What the assembler and C writers share: names, the description at the top of a file,
// code comments and how a map's rows are cut into lines.

namespace tessaly::formats {

// A letter, then letters, digits and underscores.
bool isIdentifier(std::string_view name);
std::string lowerCase(std::string_view text);

// "256 glyphs of 8x8 pixels, codes 0-255 ($00-$FF); ..." with the given hex prefix.
std::string setDescription(int first, int count, std::string_view hexPrefix);
// "65 $41"
std::string codeComment(int code, std::string_view hexPrefix);
std::string mapDescription(const CodeMap& map);

// Calls `line` for each source line of the map: a row, or a row cut into pieces of at
// most 40 codes, with "row N" or "row N, columns A-B".
void forEachMapLine(
    const CodeMap& map,
    const std::function<void(std::span<const std::uint8_t>, const std::string&)>& line);

} // namespace tessaly::formats
