#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Raw glyph files, the editor's own: 8 row bytes a glyph, no header. Any length reads, as
// in the editor: a last partial glyph keeps the rows it has.

namespace tessaly::formats {

// The file's bytes as glyph rows; false for an empty file.
bool readRaw(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& rows,
             std::string& error);

} // namespace tessaly::formats
