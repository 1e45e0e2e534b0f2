#pragma once

#include "charset/charset.h"
#include "formats/raw/map_codes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// C source of a set or a map: `const unsigned char NAME[N]` with one line a glyph (its
// code in a comment) or the codes row by row. A header (.h) gets an include guard and
// declares the array, defining it only where NAME_IMPLEMENTATION is defined (NAME in
// capitals), so that any number of files may include it.

namespace tessaly::formats {

// A C identifier that is no keyword of C or C++ and no reserved name.
bool cNameAllowed(std::string_view name);

std::vector<std::uint8_t> writeCSet(const Charset& set, int first, int count,
                                    const std::string& name, bool header);
std::vector<std::uint8_t> writeCMap(const CodeMap& map, const std::string& name, bool header);

} // namespace tessaly::formats
