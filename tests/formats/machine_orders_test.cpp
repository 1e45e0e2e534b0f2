#include "formats/machines/machine_orders.h"

#include "charset/builtin_charsets.h"
#include "formats/fonts/gzip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace tessaly::formats {
namespace {

// A glibc character map (Debian's locales package): each byte's Unicode character.
std::map<unsigned, char32_t> charmap(const std::string& name) {
    std::ifstream in("/usr/share/i18n/charmaps/" + name + ".gz", std::ios::binary);
    std::vector<std::uint8_t> packed((std::istreambuf_iterator<char>(in)), {}), text;
    std::string error;
    gunzip(packed, 1 << 22, text, error);
    std::istringstream lines(std::string(text.begin(), text.end()));
    std::map<unsigned, char32_t> map;
    unsigned u, byte;
    for (std::string line; std::getline(lines, line);)
        if (std::sscanf(line.c_str(), "<U%x> /x%x", &u, &byte) == 2) map[byte] = u;
    return map;
}

TEST(MachineOrders, AgreeWithTheCodePagesAndWithTheBuiltInSetsGlyphs) {
    struct Case {
        const char* order;
        const char* charmap;
        std::vector<std::array<int, 3>> ranges; // codes first..last are the charmap's + shift
        const char* set;                        // the built-in set of the same glyphs
        int a, zero;      // the codes of 'A' and '0'
        int halfMask;     // the left half of the set's cell, as a row byte
        int topRows;      // of the block characters' top half
        int setShift = 0; // the set holds a reversed code's glyph this many codes lower
    };
    const std::vector<std::array<int, 3>> pc = {{0x20, 0x7E, 0}, {0x80, 0xFF, 0}};
    const Case cases[] = {
        {"cga", "IBM437", pc, "cga", 65, 48, 0xF0, 4},
        {"pc866", "IBM866", pc, "pc866", 65, 48, 0xF0, 3}, // split higher
        {"latin1", "ISO-8859-1", {{0x20, 0x7E, 0}, {0xA0, 0xFF, 0}}, nullptr, 65, 48, 0, 0},
        // KOI-7 N2: ASCII but for ¤ at 24, KOI8-R's Cyrillic capitals at 60-7F; 6 pixels
        // wide.
        {"microsha",
         "KOI8-R",
         {{0x20, 0x23, 0}, {0x25, 0x5F, 0}, {0x60, 0x7F, 0x80}},
         "microsha",
         65,
         48,
         0xE0,
         4},
        {"c64", nullptr, {}, "c64", 1, 48, 0xF0, 4},
        {"atari", nullptr, {}, "atari", 33, 16, 0xF0, 4},
        {"zx", nullptr, {}, "zx", 65, 48, 0xF0, 4},
        {"zx80", nullptr, {}, "zx80", 38, 28, 0xF0, 4, 64},
        {"ace", nullptr, {}, "ace", 65, 48, 0xF0, 4},
    };
    EXPECT_EQ(machineOrders().size(), std::size(cases));
    EXPECT_EQ(machineOrderNamed("c65"), nullptr);
    // The quadrant characters and the quadrants they light: top left 1, top right 2,
    // bottom left 4, bottom right 8.
    const std::u32string quadrants = U" ▘▝▀▖▌▞▛▗▚▐▜▄▙▟█";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order);
        const MachineOrder& order = *machineOrderNamed(c.order);
        EXPECT_EQ(order.name, c.order);
        for (int i = 0; i < 26; ++i)
            EXPECT_EQ(order.unicode[c.a + i], U'A' + i);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(order.unicode[c.zero + i], U'0' + i);
        if (c.charmap) {
            const auto table = charmap(c.charmap);
            ASSERT_EQ(table.size(), 256u) << c.charmap << " missing (package locales)";
            for (const auto& [first, last, shift] : c.ranges)
                for (int code = first; code <= last; ++code)
                    EXPECT_EQ(order.unicode[code], table.at(code + shift)) << code;
        }
        if (!c.set) continue;
        Charset set;
        for (const BuiltinCharsetInfo& info : builtinCharsets())
            if (info.name == c.set) writeBuiltinCharset(set, info);
        auto row = [&](int code, int y) { return int(set.bytes[code * 8 + y]); };
        const int rightMask = (c.halfMask == 0xE0 ? 0xFC : 0xFF) & ~c.halfMask;
        for (int code = 0; code < 256; ++code) {
            // A blank, a full block or a quadrant character: each quarter of the cell is
            // all ink or all paper.
            const char32_t ch = order.unicode[code];
            const std::size_t q = ch == U'\u00A0' ? 0 : quadrants.find(ch);
            for (int y = 0; ch && q != std::u32string::npos && y < 8; ++y) {
                const std::size_t lit = q >> (y < c.topRows ? 0 : 2);
                EXPECT_EQ(row(code, y), (lit & 1 ? c.halfMask : 0) | (lit & 2 ? rightMask : 0))
                    << code;
            }
            // The reversed glyphs (but the C64 ROM's reversed '@', not an exact inverse).
            const int other = order.inverseOf[code];
            if (other < 0 || (std::string_view(c.set) == "c64" && code == 128)) continue;
            EXPECT_EQ(ch, 0u) << code;
            for (int y = 0; y < 8; ++y)
                EXPECT_EQ(row(code - c.setShift, y), row(other, y) ^ 0xFF) << code;
        }
    }
}

} // namespace
} // namespace tessaly::formats
