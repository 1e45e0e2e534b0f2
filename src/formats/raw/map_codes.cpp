#include "formats/raw/map_codes.h"

#include <algorithm>

namespace tessaly::formats {

bool readMapCodes(std::span<const std::uint8_t> bytes, int width, int height, CodeMap& map,
                  std::size_t& codesRead, std::string& error) {
    const std::size_t cells = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bytes.size() > cells) {
        error = "too big for a " + std::to_string(width) + " x " + std::to_string(height) +
                " map: " + std::to_string(bytes.size()) + " bytes, the map holds " +
                std::to_string(cells);
        return false;
    }
    map.width = width;
    map.height = height;
    map.codes.assign(cells, 0);
    std::copy(bytes.begin(), bytes.end(), map.codes.begin());
    codesRead = bytes.size();
    return true;
}

std::vector<std::uint8_t> writeMapCodes(const CodeMap& map) {
    return map.codes;
}

CodeMap codeMapOf(const ScreenMap& storage, int width, int height) {
    CodeMap map{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            map.codes.push_back(static_cast<std::uint8_t>(storage.at(x, y) & 0xFF));
    return map;
}

void placeMapCodes(ScreenMap& storage, const CodeMap& map, std::size_t count) {
    count = std::min(count, map.codes.size());
    for (std::size_t i = 0; i < count; ++i)
        storage.at(static_cast<int>(i % static_cast<std::size_t>(map.width)),
                   static_cast<int>(i / static_cast<std::size_t>(map.width))) = map.codes[i];
}

} // namespace tessaly::formats
