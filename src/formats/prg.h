#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Commodore program files (.prg, .64c): a two-byte little-endian load address, then the
// data as raw bytes.

namespace tessaly::formats {

constexpr int DefaultLoadAddress = 0x3000;

// The data after the load address; false when there is no load address or no data.
bool readPrg(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& data, int& loadAddress,
             std::string& error);

std::vector<std::uint8_t> writePrg(std::span<const std::uint8_t> data, int loadAddress);

} // namespace tessaly::formats
