#pragma once

#include "charset/charset.h"
#include "platform/surface.h"

#include <array>
#include <cstdint>
#include <span>

namespace tessaly {

struct App;

enum class BuiltinCharset { Cga, C64Caps, Atari, Pc866, ZxSpectrum, Zx80, Microsha, JupiterAce, Hex };

// How a built-in set fills the store: the table's bytes from byte 0, then, for some
// sets, an inverted copy of them right after; everything beyond stays as it was.
struct BuiltinCharsetInfo {
    std::span<const std::uint8_t> table; // empty for the generated hex set
    bool invertedCopy;
    Colour paper;
    Colour ink;
};

BuiltinCharsetInfo builtinCharsetInfo(BuiltinCharset set);

// The digits 0..9, A..F, 3 pixels wide in columns 0..2 of rows 1..6.
extern const std::array<std::array<std::uint8_t, 8>, 16> HexDigitGlyphs;

// Writes the built-in set into the store (without touching the colours).
void writeBuiltinCharset(Charset& charset, BuiltinCharset set);

// Replaces the store with a built-in set, takes its colours and refreshes.
void loadBuiltinCharset(App& app, BuiltinCharset set);

} // namespace tessaly
