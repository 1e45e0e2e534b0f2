#pragma once

#include "map/screen_map.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Screen maps as the editor opens and saves them (.map): width x height codes row by row,
// one byte each, no size stored. The editor and the converter read and write them here.

namespace tessaly::formats {

struct CodeMap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> codes; // width * height, row by row
};

// Reads a map of the given size. A longer file is an error, as in the editor; a shorter
// one fills the map from its start and leaves the rest 0 (`codesRead` tells how many came
// from the file).
bool readMapCodes(std::span<const std::uint8_t> bytes, int width, int height, CodeMap& map,
                  std::size_t& codesRead, std::string& error);

// The bytes of a .map file of the map.
std::vector<std::uint8_t> writeMapCodes(const CodeMap& map);

// The editor's map proper, the top-left width x height cells of its storage, as codes
// (each cell's low byte).
CodeMap codeMapOf(const ScreenMap& storage, int width, int height);

// Puts the first `count` codes of `map` into the top-left map.width x map.height cells of
// the editor's storage, row by row; the cells after them keep what they held.
void placeMapCodes(ScreenMap& storage, const CodeMap& map, std::size_t count);

} // namespace tessaly::formats
