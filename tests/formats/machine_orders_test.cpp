#include "formats/machine_orders.h"

#include "charset/builtin_charsets.h"
#include "formats/gzip.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>

namespace tessaly::formats {
namespace {

// A glibc character map (Debian's locales package): each byte's Unicode character.
std::map<int, char32_t> charmap(const std::string& name) {
    std::ifstream in("/usr/share/i18n/charmaps/" + name + ".gz", std::ios::binary);
    const std::vector<std::uint8_t> packed((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::uint8_t> text;
    std::string error;
    std::map<int, char32_t> map;
    if (!gunzip(packed, 1 << 22, text, error)) return map;
    const std::string s(text.begin(), text.end());
    const std::regex line(R"(<U([0-9A-F]{4,8})>\s+/x([0-9a-f]{2})\s)");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), line); it != std::sregex_iterator();
         ++it)
        map[std::stoi((*it)[2], nullptr, 16)] = std::stoul((*it)[1], nullptr, 16);
    return map;
}

TEST(MachineOrders, AgreeWithThePublishedCodePagesCodeByCode) {
    struct Range {
        int first, last, shift; // codes first..last are the charmap's code + shift
    };
    struct Case {
        const char* order;
        const char* charmap;
        std::vector<Range> ranges;
    };
    const Case cases[] = {
        {"cga", "IBM437", {{0x20, 0x7E, 0}, {0x80, 0xFF, 0}}},
        {"pc866", "IBM866", {{0x20, 0x7E, 0}, {0x80, 0xFF, 0}}},
        {"latin1", "ISO-8859-1", {{0x20, 0x7E, 0}, {0xA0, 0xFF, 0}}},
        // KOI-7 N2: ASCII but for ¤ at 24, KOI8-R's Cyrillic capitals at 60-7F.
        {"microsha", "KOI8-R", {{0x20, 0x23, 0}, {0x25, 0x5F, 0}, {0x60, 0x7F, 0x80}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order);
        const std::map<int, char32_t> table = charmap(c.charmap);
        ASSERT_EQ(table.size(), 256u) << "charmap " << c.charmap << " missing (package locales)";
        const MachineOrder* order = machineOrderNamed(c.order);
        ASSERT_NE(order, nullptr);
        for (const Range& r : c.ranges)
            for (int code = r.first; code <= r.last; ++code)
                EXPECT_EQ(order->unicode[code], table.at(code + r.shift)) << "code " << code;
    }
    // The PC draws pictures where the code pages have control characters.
    for (const char* name : {"cga", "pc866"}) {
        const MachineOrder& order = *machineOrderNamed(name);
        EXPECT_EQ(order.unicode[0], 0u);
        for (int code = 1; code < 0x20; ++code)
            EXPECT_GE(order.unicode[code], 0xA0u) << code;
        EXPECT_EQ(order.unicode[0x7F], U'⌂');
    }
}

TEST(MachineOrders, LettersDigitsBlocksAndReversedGlyphsSitWhereTheBuiltInSetsDrawThem) {
    struct Case {
        const char* order;
        BuiltinCharset set;
        int a, zero;  // the codes of 'A' and '0'
        int halfMask; // the left half of the set's cell, as a row byte
        int topRows;  // of the block characters' top half
    };
    const Case cases[] = {
        {"cga", BuiltinCharset::Cga, 65, 48, 0xF0, 4},
        {"pc866", BuiltinCharset::Pc866, 65, 48, 0xF0, 3}, // its halves split higher
        {"c64", BuiltinCharset::C64Caps, 1, 48, 0xF0, 4},
        {"atari", BuiltinCharset::Atari, 33, 16, 0xF0, 4},
        {"zx", BuiltinCharset::ZxSpectrum, 65, 48, 0xF0, 4},
        {"zx80", BuiltinCharset::Zx80, 38, 28, 0xF0, 4},
        {"ace", BuiltinCharset::JupiterAce, 65, 48, 0xF0, 4},
        {"microsha", BuiltinCharset::Microsha, 65, 48, 0xE0, 4}, // 6 pixels wide
    };
    // The quadrant characters and the quadrants they light: top left 1, top right 2,
    // bottom left 4, bottom right 8.
    const std::u32string quadrants = U" ▘▝▀▖▌▞▛▗▚▐▜▄▙▟█";
    std::vector<std::string> names;
    for (const MachineOrder& order : machineOrders()) {
        names.emplace_back(order.name);
        EXPECT_EQ(machineOrderNamed(order.name), &order);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"cga", "pc866", "c64", "atari", "zx", "zx80", "ace",
                                               "microsha", "latin1"}));
    EXPECT_EQ(machineOrderNamed("c65"), nullptr);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.order);
        const MachineOrder& order = *machineOrderNamed(c.order);
        for (int i = 0; i < 26; ++i)
            EXPECT_EQ(order.unicode[c.a + i], U'A' + i);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(order.unicode[c.zero + i], U'0' + i);

        Charset set;
        writeBuiltinCharset(set, c.set);
        auto rows = [&](int code) { return ConstGlyph(set.bytes.data() + code * 8, 8); };
        const int cellMask = c.halfMask == 0xE0 ? 0xFC : 0xFF;
        for (int code = 0; code < 256; ++code) {
            const char32_t ch = order.unicode[code];
            const std::size_t q = ch == U'\u00A0' ? 0 : quadrants.find(ch);
            if (ch != 0 && q != std::u32string::npos) {
                // A blank, a full block or a quadrant character: each quarter of the cell
                // is all ink or all paper.
                for (int y = 0; y < 8; ++y) {
                    const int half = y < c.topRows ? 0 : 2;
                    const int want = (q >> half & 1 ? c.halfMask : 0) |
                                     (q >> half & 2 ? cellMask & ~c.halfMask : 0);
                    EXPECT_EQ(rows(code)[y], want) << "code " << code << " row " << y;
                }
            }
            const int other = order.inverseOf[code];
            if (other < 0 || (c.set == BuiltinCharset::C64Caps && code == 128)) continue;
            EXPECT_EQ(ch, 0u) << code; // the ROM's reversed '@' is not an exact inverse
            for (int y = 0; y < 8; ++y)
                EXPECT_EQ(rows(code)[y], rows(other)[y] ^ 0xFF) << "code " << code;
        }
    }
    EXPECT_EQ(machineOrderNamed("pc866")->unicode[128], U'А');
    EXPECT_EQ(machineOrderNamed("microsha")->unicode[96], U'Ю');
    EXPECT_EQ(machineOrderNamed("c64")->unicode[0], U'@');
    EXPECT_EQ(machineOrderNamed("zx")->unicode[0x60], U'£');
}

} // namespace
} // namespace tessaly::formats
