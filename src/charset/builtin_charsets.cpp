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

const BuiltinCharsetInfo Sets[] = {
    {BuiltinCharset::Cga, "cga", "IBM PC CGA", false, BuiltinFontData_cga, false, black, white},
    {BuiltinCharset::Pc866, "pc866", "IBM PC 866", false, BuiltinFontData_pc866, false, black,
     white},
    {BuiltinCharset::ZxSpectrum, "zx", "ZX Spectrum", true, BuiltinFontData_zxspectrum, false,
     rgb(203, 203, 203), black},
    {BuiltinCharset::Zx80, "zx80", "ZX80", false, BuiltinFontData_zx80, true, white, black},
    {BuiltinCharset::JupiterAce, "ace", "Jupiter Ace", false, BuiltinFontData_jupiterace, true,
     black, white},
    {BuiltinCharset::C64Caps, "c64", "C64 CAPS", true, BuiltinFontData_c64caps, false,
     rgb(46, 44, 155), rgb(112, 109, 235)},
    {BuiltinCharset::Atari, "atari", "Atari XL", false, BuiltinFontData_atari, true,
     rgb(1, 78, 157), rgb(97, 174, 253)},
    {BuiltinCharset::Microsha, "microsha", "Microsha(USSR)", false, BuiltinFontData_microsha,
     true, black, white},
    {BuiltinCharset::Hex, "hex", "Hex numbers", true, {}, false, black, white},
};

} // namespace

std::span<const BuiltinCharsetInfo> builtinCharsets() {
    return Sets;
}

const BuiltinCharsetInfo& builtinCharsetInfo(BuiltinCharset set) {
    for (const BuiltinCharsetInfo& info : Sets)
        if (info.set == set) return info;
    return Sets[0];
}

void writeBuiltinCharset(Charset& charset, BuiltinCharset set) {
    auto& bytes = charset.bytes;
    if (set == BuiltinCharset::Hex) {
        for (int code = 0; code < GlyphCount; ++code)
            for (int y = 0; y < GlyphBytes; ++y)
                bytes[code * 8 + y] = static_cast<std::uint8_t>(
                    HexDigitGlyphs[code / 16][y] | (HexDigitGlyphs[code % 16][y] >> 4));
        return;
    }
    const BuiltinCharsetInfo& info = builtinCharsetInfo(set);
    const std::size_t count = std::min(info.table.size(), bytes.size());
    std::copy_n(info.table.begin(), count, bytes.begin());
    if (info.invertedCopy)
        for (std::size_t i = 0; i < count && i + count < bytes.size(); ++i)
            bytes[i + count] = static_cast<std::uint8_t>(bytes[i] ^ 0xFF);
}

} // namespace tessaly
