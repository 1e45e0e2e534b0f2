#include "convert/job.h"
#include "formats/sources/asm_source.h"
#include "formats/sources/c_source.h"
#include "formats/sources/source_text.h"

#include "convert_test_support.h"

namespace tessaly {
namespace {

using formats::AsmSyntax;

Charset twoGlyphs() {
    Charset set;
    for (int i = 0; i < 8; ++i) {
        set.bytes[65 * 8 + i] = static_cast<std::uint8_t>(0x18 + i);
        set.bytes[66 * 8 + i] = static_cast<std::uint8_t>(0xF0 | i);
    }
    return set;
}

TEST(Sources, EachSyntaxWritesItsLabelAndByteDirective) {
    const std::string comment = "; 2 glyphs of 8x8 pixels, codes 65-66 ($41-$42); 8 bytes a "
                                "glyph, top row first, bit 7 the leftmost pixel\n";
    const std::string rows = " $18,$19,$1A,$1B,$1C,$1D,$1E,$1F ; 65 $41\n";
    const struct {
        AsmSyntax syntax;
        std::string head, directive;
    } cases[] = {
        {AsmSyntax::Ca65, ".export glyphs\nglyphs:\n", ".byte"},
        {AsmSyntax::Acme, "; include with !source after setting * = ADDRESS\nglyphs\n", "!byte"},
        {AsmSyntax::Tass64, "glyphs\n", ".byte"},
        {AsmSyntax::Xa, "glyphs\n", ".byt"},
        {AsmSyntax::Dasm, "; include after processor 6502 and org ADDRESS\nglyphs\n", "dc.b"},
        {AsmSyntax::Z80, "glyphs:\n", "defb"},
    };
    for (const auto& c : cases) {
        const std::string text =
            textOf(formats::writeAsmSet(twoGlyphs(), 65, 2, c.syntax, "glyphs"));
        EXPECT_EQ(text, comment + c.head + "        " + c.directive + rows + "        " +
                            c.directive + " $F0,$F1,$F2,$F3,$F4,$F5,$F6,$F7 ; 66 $42\n");
    }
}

TEST(Sources, CArraysHaveTheirSizeAndHeadersAGuard) {
    const std::string c = textOf(formats::writeCSet(twoGlyphs(), 65, 2, "glyphs", false));
    EXPECT_EQ(c, "/* 2 glyphs of 8x8 pixels, codes 65-66 (0x41-0x42); 8 bytes a glyph, top row "
                 "first, bit 7 the leftmost pixel */\n"
                 "extern const unsigned char glyphs[16];\n"
                 "const unsigned char glyphs[16] = {\n"
                 "    0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, /* 65 0x41 */\n"
                 "    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, /* 66 0x42 */\n"
                 "};\n");
    const std::string h = textOf(formats::writeCSet(twoGlyphs(), 65, 2, "glyphs", true));
    EXPECT_TRUE(h.starts_with("#ifndef GLYPHS_H\n#define GLYPHS_H\n"));
    EXPECT_TRUE(h.ends_with("};\n#endif\n\n#endif\n"));
}

TEST(Sources, MapsGoRowByRowAndLongRowsAreCut) {
    formats::CodeMap map{81, 2, Bytes(162)};
    for (std::size_t i = 0; i < map.codes.size(); ++i)
        map.codes[i] = static_cast<std::uint8_t>(i);
    std::vector<std::string> comments;
    formats::forEachMapLine(map, [&](std::span<const std::uint8_t> codes, const std::string& w) {
        comments.push_back(w + ":" + std::to_string(codes.front()) + "+" +
                           std::to_string(codes.size()));
    });
    EXPECT_EQ(comments, (std::vector<std::string>{
                            "row 0, columns 0-39:0+40", "row 0, columns 40-79:40+40",
                            "row 0, columns 80-80:80+1", "row 1, columns 0-39:81+40",
                            "row 1, columns 40-79:121+40", "row 1, columns 80-80:161+1"}));
    const formats::CodeMap small{2, 2, {1, 2, 3, 4}};
    EXPECT_EQ(textOf(formats::writeAsmMap(small, AsmSyntax::Acme, "screen")),
              "; screen map of 2 x 2 codes, row by row\n"
              "; include with !source after setting * = ADDRESS\nscreen\n"
              "        !byte $01,$02 ; row 0\n        !byte $03,$04 ; row 1\n");
}

TEST(Sources, NamesComeFromTheFileAndAvoidKeywordsAndRegisters) {
    const auto asm6502 = [](std::string_view n) {
        return formats::asmLabelAllowed(n, AsmSyntax::Ca65);
    };
    const auto z80 = [](std::string_view n) { return formats::asmLabelAllowed(n, AsmSyntax::Z80); };
    const auto tass = [](std::string_view n) {
        return formats::asmLabelAllowed(n, AsmSyntax::Tass64);
    };
    const auto c = [](std::string_view n) { return formats::cNameAllowed(n); };
    const std::function<bool(std::string_view)> rules[] = {asm6502, z80, tass, c};
    const struct {
        const char* path;
        const char* names[4]; // ca65, Z80, 64tass, C
    } cases[] = {
        {"out/charset.s", {"charset", "charset", "charset", "charset"}},
        {"my-font v2.inc", {"my_font_v2", "my_font_v2", "my_font_v2", "my_font_v2"}},
        {"8x8.asm", {"font_8x8", "font_8x8", "font_8x8", "font_8x8"}},
        {"a.s", {"font_a", "font_a", "font_a", "a"}},
        {"hl.asm", {"hl", "font_hl", "hl", "hl"}},
        {"LDA.s", {"font_LDA", "LDA", "font_LDA", "LDA"}},
        {"char.h", {"char", "char", "char", "font_char"}},
        {"font.psf.gz", {"font", "font", "font", "font"}},
        {"_font.s", {"_font", "_font", "font__font", "font__font"}},
        {"__x.c", {"font___x", "font___x", "font___x", "font___x"}},
        {"шрифт ПК.s", {"shrift_PK", "shrift_PK", "shrift_PK", "shrift_PK"}},
        {"Zeichensätze_Ærø.s",
         {"Zeichensatze_AEro", "Zeichensatze_AEro", "Zeichensatze_AEro", "Zeichensatze_AEro"}},
        {"ΑΒΓ.s", {"AVG", "AVG", "AVG", "AVG"}},
        {"日本.s", {"u65E5u672C", "u65E5u672C", "u65E5u672C", "u65E5u672C"}},
        {"bad\xC3.s", {"bad_", "bad_", "bad_", "bad_"}},
        {"-", {"font", "font", "font", "font"}},
    };
    for (const auto& k : cases)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(convert::nameFromPath(k.path, "font", rules[r]), k.names[r])
                << k.path << " rule " << r;
}

} // namespace
} // namespace tessaly
