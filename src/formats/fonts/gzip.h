#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// gzip streams (fonts.psf.gz and the like). The only file that uses zlib.

namespace tessaly::formats {

// Starts with the gzip magic bytes 1F 8B.
bool isGzip(std::span<const std::uint8_t> bytes);

// Decompresses every member of a gzip stream. False with a message naming the byte
// offset for damaged or cut data, or when the result would exceed `limit` bytes.
bool gunzip(std::span<const std::uint8_t> bytes, std::size_t limit, std::vector<std::uint8_t>& out,
            std::string& error);

// A gzip stream without name or time stamp, so the same input gives the same bytes.
std::vector<std::uint8_t> gzip(std::span<const std::uint8_t> bytes);

} // namespace tessaly::formats
