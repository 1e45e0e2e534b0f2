#include "charset/builtin_charsets.h"

#include "charset/builtin_font_data.h"

#include <algorithm>

namespace tessaly {

const std::array<std::array<std::uint8_t, 8>, 16> HexDigitGlyphs = {{
    {0, 0xE0, 0xA0, 0xA0, 0xA0, 0xA0, 0xE0, 0}, // 0
    {0, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0}, // 1
    {0, 0xE0, 0x20, 0xE0, 0x80, 0xA0, 0xE0, 0}, // 2
    {0, 0xE0, 0x20, 0xE0, 0x20, 0x20, 0xE0, 0}, // 3
    {0, 0x20, 0xA0, 0xA0, 0xE0, 0x20, 0x20, 0}, // 4
    {0, 0xE0, 0x80, 0xE0, 0x20, 0x20, 0xE0, 0}, // 5
    {0, 0xE0, 0x80, 0xE0, 0xA0, 0xA0, 0xE0, 0}, // 6
    {0, 0xE0, 0x20, 0x20, 0x20, 0x20, 0x20, 0}, // 7
    {0, 0xE0, 0xA0, 0xE0, 0xA0, 0xA0, 0xE0, 0}, // 8
    {0, 0xE0, 0xA0, 0xE0, 0x20, 0x20, 0xE0, 0}, // 9
    {0, 0x40, 0xA0, 0xE0, 0xA0, 0xA0, 0xA0, 0}, // A
    {0, 0xE0, 0xA0, 0xC0, 0xA0, 0xA0, 0xE0, 0}, // B
    {0, 0xE0, 0xA0, 0x80, 0x80, 0xA0, 0xE0, 0}, // C
    {0, 0xC0, 0xA0, 0xA0, 0xA0, 0xA0, 0xC0, 0}, // D
    {0, 0xE0, 0x80, 0xC0, 0x80, 0x80, 0xE0, 0}, // E
    {0, 0xE0, 0x80, 0xC0, 0x80, 0x80, 0x80, 0}, // F
}};

namespace {

constexpr Colour black = rgb(0, 0, 0);
constexpr Colour white = rgb(255, 255, 255);

// Each code shows its number in two hex digits.
void writeHexDigits(Charset& charset) {
    for (int code = 0; code < GlyphCount; ++code)
        for (int y = 0; y < GlyphBytes; ++y)
            charset.bytes[code * 8 + y] = static_cast<std::uint8_t>(
                HexDigitGlyphs[code / 16][y] | (HexDigitGlyphs[code % 16][y] >> 4));
}

// In the order of the editor's menu: number, name, menu text, separator before, table,
// inverted copy, generated, first code, paper, ink.
const BuiltinCharsetInfo Sets[] = {
    {0, "cga", "IBM PC CGA", false, BuiltinFontData_cga, false, nullptr, 0, black, white},
    {3, "pc866", "IBM PC 866", false, BuiltinFontData_pc866, false, nullptr, 0, black, white},
    {4, "zx", "ZX Spectrum", true, BuiltinFontData_zxspectrum, false, nullptr, 32,
     rgb(203, 203, 203), black},
    {5, "zx80", "ZX80", false, BuiltinFontData_zx80, true, nullptr, 0, white, black},
    {7, "ace", "Jupiter Ace", false, BuiltinFontData_jupiterace, true, nullptr, 0, black, white},
    {1, "c64", "C64 CAPS", true, BuiltinFontData_c64caps, false, nullptr, 0, rgb(46, 44, 155),
     rgb(112, 109, 235)},
    {2, "atari", "Atari XL", false, BuiltinFontData_atari, true, nullptr, 0, rgb(1, 78, 157),
     rgb(97, 174, 253)},
    {6, "microsha", "Microsha(USSR)", false, BuiltinFontData_microsha, true, nullptr, 0, black,
     white},
    {8, "hex", "Hex numbers", true, {}, false, writeHexDigits, 0, black, white},
};

} // namespace

std::span<const BuiltinCharsetInfo> builtinCharsets() {
    return Sets;
}

const BuiltinCharsetInfo* builtinCharsetNumbered(int number) {
    for (const BuiltinCharsetInfo& info : Sets)
        if (info.number == number) return &info;
    return nullptr;
}

void writeBuiltinCharset(Charset& charset, const BuiltinCharsetInfo& set) {
    if (set.generate) {
        set.generate(charset);
        return;
    }
    auto& bytes = charset.bytes;
    const std::size_t count = std::min(set.table.size(), bytes.size());
    std::copy_n(set.table.begin(), count, bytes.begin());
    if (set.invertedCopy)
        for (std::size_t i = 0; i < count && i + count < bytes.size(); ++i)
            bytes[i + count] = static_cast<std::uint8_t>(bytes[i] ^ 0xFF);
}

} // namespace tessaly
