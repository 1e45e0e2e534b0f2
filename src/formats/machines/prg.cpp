#include "formats/machines/prg.h"

#include "formats/bytes.h"

namespace tessaly::formats {

namespace {

std::string hex4(std::size_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "$0000";
    for (int i = 4; i >= 1; --i, v >>= 4)
        s[static_cast<std::size_t>(i)] = digits[v & 15];
    return s;
}

// A loader stores the data from the load address up; past $FFFF it would wrap round onto
// the zero page, which no program means.
bool fitsBelow64K(std::size_t size, int loadAddress, std::string& error) {
    const std::size_t room = 0x10000 - static_cast<std::size_t>(loadAddress);
    if (size <= room) return true;
    error = std::to_string(size) + " bytes from " + hex4(static_cast<std::size_t>(loadAddress)) +
            " run past $FFFF (room for " + std::to_string(room) + ")";
    return false;
}

} // namespace

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
    loadAddress = static_cast<int>(le16(bytes, 0));
    if (!fitsBelow64K(bytes.size() - 2, loadAddress, error)) return false;
    data.assign(bytes.begin() + 2, bytes.end());
    return true;
}

bool writePrg(std::span<const std::uint8_t> data, int loadAddress, std::vector<std::uint8_t>& out,
              std::string& error) {
    if (!fitsBelow64K(data.size(), loadAddress, error)) return false;
    out.clear();
    out.reserve(data.size() + 2);
    putLe16(out, static_cast<std::uint32_t>(loadAddress));
    out.insert(out.end(), data.begin(), data.end());
    return true;
}

} // namespace tessaly::formats
