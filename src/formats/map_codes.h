#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Screen maps as the editor saves them (.map): width x height codes row by row, one byte
// each, no size stored.

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

} // namespace tessaly::formats
