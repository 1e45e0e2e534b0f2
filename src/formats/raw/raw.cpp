#include "formats/raw/raw.h"

namespace tessaly::formats {

bool readRaw(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& rows,
             std::string& error) {
    if (bytes.empty()) {
        error = "the file is empty";
        return false;
    }
    rows.assign(bytes.begin(), bytes.end());
    return true;
}

} // namespace tessaly::formats
