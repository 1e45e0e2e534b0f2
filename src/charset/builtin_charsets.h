#pragma once

#include "charset/charset.h"
#include "platform/surface.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tessaly {

// The numbers are fixed: the editor's commands for the sets follow them.
enum class BuiltinCharset { Cga, C64Caps, Atari, Pc866, ZxSpectrum, Zx80, Microsha, JupiterAce, Hex };

// A built-in set: its names and how it fills the store: the table's bytes from byte 0,
// then, for some sets, an inverted copy of them right after; everything beyond stays as
// it was.
struct BuiltinCharsetInfo {
    BuiltinCharset set;
    std::string_view name;     // as the converter takes it, after "builtin:"
    std::string_view menuText; // the editor's Charset menu item
    bool groupStart;           // a separator comes before it in the menu
    std::span<const std::uint8_t> table; // empty for the generated hex set
    bool invertedCopy;
    Colour paper;
    Colour ink;
};

// Every built-in set, in the order of the editor's menu.
std::span<const BuiltinCharsetInfo> builtinCharsets();
const BuiltinCharsetInfo& builtinCharsetInfo(BuiltinCharset set);

// The digits 0..9, A..F, 3 pixels wide in columns 0..2 of rows 1..6.
extern const std::array<std::array<std::uint8_t, 8>, 16> HexDigitGlyphs;

// Writes the built-in set into the store (without touching the colours).
void writeBuiltinCharset(Charset& charset, BuiltinCharset set);

} // namespace tessaly
