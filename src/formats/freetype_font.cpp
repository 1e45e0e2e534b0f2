#include "formats/freetype_font.h"

#include "formats/machine_orders.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_FONT_FORMATS_H
#include FT_WINFONTS_H

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::formats {
namespace {

// Taller cells are refused: they are far beyond any console font, and a damaged font
// could otherwise ask for millions of rows per glyph.
constexpr int MaxCellRows = 128;
// Fonts holding more faces than this (collections, .fon files) are only looked at in
// their first faces.
constexpr long MaxFaces = 64;

struct Library {
    FT_Library library = nullptr;
    Library() {
        if (FT_Init_FreeType(&library)) library = nullptr;
    }
    ~Library() {
        if (library) FT_Done_FreeType(library);
    }
};

struct Face {
    FT_Face face = nullptr;
    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face() { reset(); }
    void reset() {
        if (face) FT_Done_Face(face);
        face = nullptr;
    }
};

struct Bitmap {
    FT_Library library;
    FT_Bitmap bitmap;
    explicit Bitmap(FT_Library l) : library(l) { FT_Bitmap_Init(&bitmap); }
    ~Bitmap() { FT_Bitmap_Done(library, &bitmap); }
};

int pixels(FT_Pos value26dot6) {
    return static_cast<int>((value26dot6 + 32) >> 6);
}

// The characters of code page 1252 at 80-9F, where Windows' ANSI fonts differ from
// ISO 8859-1; 0 where the code page has none.
constexpr char32_t Cp1252High[] = U"€\0‚ƒ„…†‡ˆ‰Š‹Œ\0Ž\0\0‘’“”•–—˜™š›œ\0žŸ";
static_assert(sizeof Cp1252High / sizeof Cp1252High[0] == 0x20 + 1);

// The Unicode character of byte `code` in a Windows FNT font of that character set, 0
// when unknown.
char32_t windowsFntCharacter(int charset, int code) {
    if (charset == FT_WinFNT_ID_CP1252) {
        if (code >= 0x80 && code < 0xA0) return Cp1252High[code - 0x80];
        return code >= 0x20 && code != 0x7F ? static_cast<char32_t>(code) : 0;
    }
    if (charset == FT_WinFNT_ID_OEM) return machineOrderNamed("cga")->unicode[code];
    return 0;
}

// A glyph of the face and the character codes that reach it.
struct Mapped {
    FT_UInt index;
    std::vector<FT_ULong> codes;
};

// Every glyph reachable through the face's current character map, by glyph index.
std::map<FT_UInt, Mapped> mappedGlyphs(FT_Face face) {
    std::map<FT_UInt, Mapped> glyphs;
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0;
         code = FT_Get_Next_Char(face, code, &index)) {
        auto [it, inserted] = glyphs.try_emplace(index, Mapped{index, {}});
        it->second.codes.push_back(code);
    }
    return glyphs;
}

std::string strikeList(FT_Face face) {
    std::string list;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        if (!list.empty()) list += ", ";
        list += std::to_string(face->available_sizes[i].height);
    }
    return list;
}

// The strike of `face` `pixelSize` rows high (by its line height, else by its nominal
// size), -1 for none.
int strikeOf(FT_Face face, int pixelSize) {
    for (int i = 0; i < face->num_fixed_sizes; ++i)
        if (face->available_sizes[i].height == pixelSize) return i;
    for (int i = 0; i < face->num_fixed_sizes; ++i)
        if (pixels(face->available_sizes[i].y_ppem) == pixelSize) return i;
    return -1;
}

std::string glyphName(const FontGlyph& glyph, FT_UInt index) {
    char text[32];
    const char32_t c = glyph.unicode.empty() ? 0 : glyph.unicode[0];
    if (c > 0x20 && c < 0x7F)
        std::snprintf(text, sizeof text, "U+%04X '%c'", static_cast<unsigned>(c),
                      static_cast<char>(c));
    else if (c)
        std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    else if (glyph.code >= 0)
        std::snprintf(text, sizeof text, "code %d", glyph.code);
    else
        std::snprintf(text, sizeof text, "glyph %u", index);
    return text;
}

// Draws the glyph in `slot` into `rows` (8 columns, `ascent` rows above the baseline),
// cutting what falls outside.
void drawGlyph(FT_Library library, FT_GlyphSlot slot, int ascent, std::vector<std::uint8_t>& rows) {
    const FT_Bitmap* source = &slot->bitmap;
    Bitmap converted(library);
    if (source->pixel_mode != FT_PIXEL_MODE_MONO && source->pixel_mode != FT_PIXEL_MODE_GRAY) {
        if (FT_Bitmap_Convert(library, source, &converted.bitmap, 1)) return;
        source = &converted.bitmap;
    }
    const bool mono = source->pixel_mode == FT_PIXEL_MODE_MONO;
    // Grey pixels count as ink from half their range up.
    const int inkFrom = mono ? 1 : std::max(1, static_cast<int>(source->num_grays) / 2);
    const int height = static_cast<int>(rows.size());
    for (unsigned r = 0; r < source->rows; ++r) {
        const long y = static_cast<long>(ascent) - slot->bitmap_top + r;
        if (y < 0) continue;
        if (y >= height) break;
        // A negative pitch stores the rows bottom up.
        const long stored = source->pitch >= 0 ? r : source->rows - 1 - r;
        const unsigned char* line = source->buffer + stored * std::labs(source->pitch);
        for (unsigned c = 0; c < source->width; ++c) {
            const long x = static_cast<long>(slot->bitmap_left) + c;
            if (x < 0) continue;
            if (x >= 8) break;
            const int value = mono ? (line[c / 8] >> (7 - c % 8)) & 1 : line[c];
            if (value >= inkFrom) rows[y] |= static_cast<std::uint8_t>(0x80 >> x);
        }
    }
}

// The size to read when none is asked for: a bitmap font of one size (a PCF, most .fon
// files) at that size, anything else at 8 pixels.
int ownSize(std::span<const std::uint8_t> bytes) {
    constexpr int Default = 8;
    Library lib;
    Face face;
    if (!lib.library || FT_New_Memory_Face(lib.library, bytes.data(),
                                           static_cast<FT_Long>(bytes.size()), 0, &face.face))
        return Default;
    const FT_Face f = face.face;
    if (f->num_faces != 1 || FT_IS_SCALABLE(f) || f->num_fixed_sizes != 1) return Default;
    return f->available_sizes[0].height;
}

} // namespace

bool readFreeTypeFont(std::span<const std::uint8_t> bytes, int pixelSize, FontGlyphs& font,
                      std::string& error) {
    font = {};
    if (pixelSize == 0) pixelSize = ownSize(bytes);
    if (pixelSize < 1 || pixelSize > MaxCellRows) {
        error = "a size of " + std::to_string(pixelSize) + " pixels is out of range (1 to " +
                std::to_string(MaxCellRows) + ")";
        return false;
    }
    Library lib;
    if (!lib.library) {
        error = "FreeType cannot start";
        return false;
    }
    // The face to read: the first with a strike of the size, else the first with outlines
    // (a .fon or a collection holds several).
    Face face;
    long faceCount = 1, outlineFace = -1, strikeFace = -1;
    int strike = -1;
    std::string strikes;
    for (long i = 0; i < std::min(faceCount, MaxFaces); ++i) {
        face.reset();
        if (FT_New_Memory_Face(lib.library, bytes.data(), static_cast<FT_Long>(bytes.size()), i,
                               &face.face)) {
            if (i == 0) {
                error = "not a font FreeType reads";
                return false;
            }
            continue;
        }
        if (i == 0) faceCount = face.face->num_faces;
        strike = strikeOf(face.face, pixelSize);
        if (strike >= 0) {
            strikeFace = i;
            break;
        }
        if (FT_IS_SCALABLE(face.face) && outlineFace < 0) outlineFace = i;
        const std::string list = strikeList(face.face);
        if (!list.empty()) strikes += (strikes.empty() ? "" : ", ") + list;
    }
    const bool outlines = strikeFace < 0;
    if (outlines) {
        if (outlineFace < 0) {
            error = "no bitmap strike of " + std::to_string(pixelSize) + " pixels and no outlines";
            if (!strikes.empty()) error += "; strikes: " + strikes;
            return false;
        }
        face.reset();
        if (FT_New_Memory_Face(lib.library, bytes.data(), static_cast<FT_Long>(bytes.size()),
                               outlineFace, &face.face) ||
            FT_Set_Pixel_Sizes(face.face, 0, static_cast<FT_UInt>(pixelSize))) {
            error = "the outlines cannot be scaled to " + std::to_string(pixelSize) + " pixels";
            return false;
        }
    } else if (FT_Select_Size(face.face, strike)) {
        error = "the strike of " + std::to_string(pixelSize) + " pixels cannot be read";
        return false;
    }
    FT_Face f = face.face;

    // The format as FreeType names it; an sfnt with bitmaps only is an OTB.
    std::string format = FT_Get_Font_Format(f) ? FT_Get_Font_Format(f) : "font";
    if (format == "CFF") format = "OpenType";
    if (format == "TrueType" && !FT_IS_SCALABLE(f)) format = "OTB";
    font.format =
        format + (outlines ? " (outlines at " : " (bitmaps, ") + std::to_string(pixelSize) + " px)";

    // The cell: the face's ascent and descent at this size.
    const int ascent = std::max(0, pixels(f->size->metrics.ascender));
    const int descent = std::max(0, -pixels(f->size->metrics.descender));
    font.height = ascent + descent;
    font.descent = descent;
    if (font.height < 1 || font.height > MaxCellRows) {
        error = "a cell of " + std::to_string(font.height) + " rows at " +
                std::to_string(pixelSize) + " pixels; at most " + std::to_string(MaxCellRows) +
                " fit";
        return false;
    }

    // The codes: through a Unicode map when the font has one, else its own 8-bit codes
    // (a symbol font's F000-F0FF stand for 00-FF). A Windows FNT names its code page.
    bool unicode = FT_Select_Charmap(f, FT_ENCODING_UNICODE) == 0;
    int fntCharset = -1;
    if (!unicode) {
        if (FT_Select_Charmap(f, FT_ENCODING_MS_SYMBOL) && f->num_charmaps > 0)
            FT_Set_Charmap(f, f->charmaps[0]);
        FT_WinFNT_HeaderRec header;
        if (FT_Get_WinFNT_Header(f, &header) == 0 &&
            (header.charset == FT_WinFNT_ID_CP1252 || header.charset == FT_WinFNT_ID_OEM))
            fntCharset = header.charset;
    }
    const bool symbol = !unicode && f->charmap && f->charmap->encoding == FT_ENCODING_MS_SYMBOL;
    std::map<FT_UInt, Mapped> mapped;
    if (f->charmap) mapped = mappedGlyphs(f);

    const FT_Int32 loadFlags =
        FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | (outlines ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT);
    std::vector<int> advances; // each glyph's, in pixels
    std::vector<FT_UInt> indexOf;
    auto addGlyph = [&](FT_UInt index, FontGlyph glyph) {
        glyph.rows.assign(static_cast<std::size_t>(font.height), 0);
        int advance = 0;
        // A glyph FreeType cannot load (none in the strike, damaged data) stays blank.
        if (FT_Load_Glyph(f, index, loadFlags) == 0) {
            drawGlyph(lib.library, f->glyph, ascent, glyph.rows);
            advance = pixels(f->glyph->advance.x);
        }
        advances.push_back(advance);
        indexOf.push_back(index);
        font.glyphs.push_back(std::move(glyph));
    };
    if (mapped.empty()) {
        // No character map: the glyphs in their order, placed by it.
        for (FT_Long index = 0; index < f->num_glyphs; ++index)
            addGlyph(static_cast<FT_UInt>(index), {});
    } else {
        font.hasCodes = true;
        for (const auto& [index, glyph] : mapped) {
            // Each code below 256 gets a glyph of its own (a font may draw space and
            // no-break space with one glyph); the characters beyond go with the first.
            std::vector<FontGlyph> out;
            FontGlyph rest;
            for (FT_ULong code : glyph.codes) {
                if (unicode) {
                    const auto c = static_cast<char32_t>(code);
                    if (code < 256)
                        out.push_back({{}, static_cast<int>(code), {c}});
                    else
                        rest.unicode.push_back(c);
                    continue;
                }
                FT_ULong byte = code;
                if (symbol && code >= 0xF000 && code <= 0xF0FF) byte = code - 0xF000;
                if (byte >= 256) continue;
                FontGlyph g{{}, static_cast<int>(byte), {}};
                if (fntCharset >= 0)
                    if (const char32_t c = windowsFntCharacter(fntCharset, static_cast<int>(byte)))
                        g.unicode.push_back(c);
                out.push_back(std::move(g));
            }
            if (out.empty() && rest.unicode.empty())
                ++font.droppedGlyphs; // only codes beyond 255 of the font's own
            else if (out.empty())
                out.push_back(std::move(rest));
            else
                out.front().unicode.insert(out.front().unicode.end(), rest.unicode.begin(),
                                           rest.unicode.end());
            for (FontGlyph& g : out)
                addGlyph(index, std::move(g));
        }
    }

    // Glyphs wider than 8 pixels are left out (a proportional font's few wide signs, a
    // terminal font's double-width ones), unless they draw ASCII: then the font's cell is
    // too wide for the editor.
    auto ascii = [](const FontGlyph& g) {
        auto printable = [](char32_t c) { return c > 0x20 && c < 0x7F; };
        return g.unicode.empty() ? g.code >= 0 && printable(static_cast<char32_t>(g.code))
                                 : std::any_of(g.unicode.begin(), g.unicode.end(), printable);
    };
    std::size_t widest = 0;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        if (advances[i] > advances[widest]) widest = i;
        if (advances[i] > 8 && ascii(font.glyphs[i])) {
            widest = i;
            break;
        }
    }
    if (!font.glyphs.empty() && advances[widest] > 8 &&
        (ascii(font.glyphs[widest]) ||
         std::all_of(advances.begin(), advances.end(), [](int a) { return a > 8; }))) {
        error = glyphName(font.glyphs[widest], indexOf[widest]) + " is " +
                std::to_string(advances[widest]) + " pixels wide at " + std::to_string(pixelSize) +
                " pixels; a cell holds at most 8" + (outlines ? " (a smaller size may fit)" : "");
        font = {};
        return false;
    }
    std::vector<FontGlyph> kept;
    int width = 0;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        if (advances[i] > 8) {
            ++font.wideGlyphs;
            continue;
        }
        width = std::max(width, advances[i]);
        if (!font.glyphs[i].unicode.empty()) font.hasUnicode = true;
        kept.push_back(std::move(font.glyphs[i]));
    }
    font.glyphs = std::move(kept);
    if (font.glyphs.empty()) {
        error = "the font has no glyphs";
        return false;
    }
    // The cell is as wide as the widest advance; what a glyph draws beyond it is cut.
    font.width = std::max(1, width);
    const auto keep = static_cast<std::uint8_t>(0xFF00 >> font.width);
    for (FontGlyph& glyph : font.glyphs)
        for (std::uint8_t& row : glyph.rows)
            row &= keep;
    return true;
}

} // namespace tessaly::formats
