#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Commodore program files (.prg, .64c): a two-byte little-endian load address, then the
// data as raw bytes.

namespace tessaly::formats {

constexpr int DefaultLoadAddress = 0x3000;

// The data after the load address; false when there is no load address or no data, or
// when the data runs past $FFFF.
bool readPrg(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& data, int& loadAddress,
             std::string& error);

// False, with `out` untouched, when the data would run past $FFFF.
bool writePrg(std::span<const std::uint8_t> data, int loadAddress, std::vector<std::uint8_t>& out,
              std::string& error);

} // namespace tessaly::formats
