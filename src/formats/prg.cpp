#include "formats/prg.h"

namespace tessaly::formats {

bool readPrg(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& data, int& loadAddress,
             std::string& error) {
    if (bytes.size() < 2) {
        error = "the two-byte load address is cut short: the file has " +
                std::to_string(bytes.size()) + " byte" + (bytes.size() == 1 ? "" : "s");
        return false;
    }
    if (bytes.size() == 2) {
        error = "no data after the load address (the file has 2 bytes)";
        return false;
    }
    loadAddress = bytes[0] | (bytes[1] << 8);
    data.assign(bytes.begin() + 2, bytes.end());
    return true;
}

std::vector<std::uint8_t> writePrg(std::span<const std::uint8_t> data, int loadAddress) {
    std::vector<std::uint8_t> out;
    out.reserve(data.size() + 2);
    out.push_back(static_cast<std::uint8_t>(loadAddress & 0xFF));
    out.push_back(static_cast<std::uint8_t>((loadAddress >> 8) & 0xFF));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace tessaly::formats
