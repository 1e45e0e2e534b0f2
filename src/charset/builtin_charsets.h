#pragma once

#include "charset/charset.h"
#include "platform/surface.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tessaly {

// A built-in set, one row of the table with all it is: its names, how it fills the store
// (the table's bytes from byte 0, then, for some sets, an inverted copy of them right
// after, or glyphs made by `generate`; everything beyond stays as it was), the codes it
// holds and its colours.
struct BuiltinCharsetInfo {
    int number;                // fixed: the editor's command for the set follows it
    std::string_view name;     // as the converter takes it, after "builtin:"
    std::string_view menuText; // the editor's Charset menu item
    bool groupStart;           // a separator comes before it in the menu
    std::span<const std::uint8_t> table;
    bool invertedCopy;
    void (*generate)(Charset& charset); // instead of a table: writes all 256 glyphs
    int firstCode; // the codes it holds start here (below: control codes, blank in place)
    Colour paper;
    Colour ink;
};

// Every built-in set, in the order of the editor's menu.
std::span<const BuiltinCharsetInfo> builtinCharsets();
// The set of that number; null when there is none.
const BuiltinCharsetInfo* builtinCharsetNumbered(int number);

// The digits 0..9, A..F, 3 pixels wide in columns 0..2 of rows 1..6.
extern const std::array<std::array<std::uint8_t, 8>, 16> HexDigitGlyphs;

// Writes the built-in set into the store (without touching the colours).
void writeBuiltinCharset(Charset& charset, const BuiltinCharsetInfo& set);

} // namespace tessaly
