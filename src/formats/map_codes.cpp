#include "formats/map_codes.h"

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

} // namespace tessaly::formats
