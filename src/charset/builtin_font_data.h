#pragma once

#include <array>
#include <cstdint>

// The machine glyph tables, generated at build time from data/fonts.

namespace tessaly {

extern const std::array<std::uint8_t, 2048> BuiltinFontData_cga;
extern const std::array<std::uint8_t, 2048> BuiltinFontData_pc866;
extern const std::array<std::uint8_t, 1152> BuiltinFontData_zxspectrum;
extern const std::array<std::uint8_t, 512> BuiltinFontData_zx80;
extern const std::array<std::uint8_t, 1024> BuiltinFontData_jupiterace;
extern const std::array<std::uint8_t, 2048> BuiltinFontData_c64caps;
extern const std::array<std::uint8_t, 1024> BuiltinFontData_atari;
extern const std::array<std::uint8_t, 1024> BuiltinFontData_microsha;

} // namespace tessaly
