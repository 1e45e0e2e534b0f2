#include "formats/fonts/freetype_font.h"

#include "formats/machines/machine_orders.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_FONT_FORMATS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
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

// Where a glyph's ink went.
struct Drawn {
    int right = 0;    // one past its rightmost inked column within the 8
    bool cut = false; // some ink fell outside the 8 columns or the cell's rows
};

// Draws the glyph in `slot` into `rows` (8 columns, `ascent` rows above the baseline),
// cutting what falls outside.
Drawn drawGlyph(FT_Library library, FT_GlyphSlot slot, int ascent,
                std::vector<std::uint8_t>& rows) {
    Drawn drawn;
    const FT_Bitmap* source = &slot->bitmap;
    Bitmap converted(library);
    if (source->pixel_mode != FT_PIXEL_MODE_MONO && source->pixel_mode != FT_PIXEL_MODE_GRAY) {
        if (FT_Bitmap_Convert(library, source, &converted.bitmap, 1)) return drawn;
        source = &converted.bitmap;
    }
    const bool mono = source->pixel_mode == FT_PIXEL_MODE_MONO;
    // Grey pixels count as ink from half their range up.
    const int inkFrom = mono ? 1 : std::max(1, static_cast<int>(source->num_grays) / 2);
    const int height = static_cast<int>(rows.size());
    for (unsigned r = 0; r < source->rows; ++r) {
        const long y = static_cast<long>(ascent) - slot->bitmap_top + r;
        const bool rowOutside = y < 0 || y >= height;
        // Outside the cell only whether there is ink counts: once found, no more is looked at.
        if (rowOutside && drawn.cut) continue;
        // A negative pitch stores the rows bottom up.
        const long stored = source->pitch >= 0 ? r : source->rows - 1 - r;
        const unsigned char* line = source->buffer + stored * std::labs(source->pitch);
        for (unsigned c = 0; c < source->width; ++c) {
            const long x = static_cast<long>(slot->bitmap_left) + c;
            const bool outside = rowOutside || x < 0 || x >= 8;
            if (outside && drawn.cut) {
                if (x >= 8) break;
                continue;
            }
            const int value = mono ? (line[c / 8] >> (7 - c % 8)) & 1 : line[c];
            if (value < inkFrom) continue;
            if (outside) {
                drawn.cut = true;
                continue;
            }
            rows[static_cast<std::size_t>(y)] |= static_cast<std::uint8_t>(0x80 >> x);
            drawn.right = std::max(drawn.right, static_cast<int>(x) + 1);
        }
    }
    return drawn;
}

// "12, 14, 16".
std::string sizeList(const std::vector<int>& sizes) {
    std::string list;
    for (int size : sizes) {
        if (!list.empty()) list += ", ";
        list += std::to_string(size);
    }
    return list;
}

// The faces of a font file (a .fon or a collection holds several): the first with
// outlines, and every bitmap strike by the face holding it.
struct Strike {
    long face;
    int index;  // in the face's available_sizes
    int height; // its line height in pixels
    int ppem;   // its nominal size in pixels
};
struct Faces {
    long outlineFace = -1;
    std::vector<Strike> strikes;
    std::vector<int> heights() const {
        std::vector<int> h;
        for (const Strike& s : strikes)
            h.push_back(s.height);
        std::sort(h.begin(), h.end());
        h.erase(std::unique(h.begin(), h.end()), h.end());
        return h;
    }
};

bool openFace(FT_Library library, std::span<const std::uint8_t> bytes, long index, Face& face) {
    face.reset();
    return FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), index,
                              &face.face) == 0;
}

// False when FreeType cannot open the first face.
bool surveyFaces(FT_Library library, std::span<const std::uint8_t> bytes, Faces& faces) {
    Face face;
    long faceCount = 1;
    for (long i = 0; i < std::min(faceCount, MaxFaces); ++i) {
        if (!openFace(library, bytes, i, face)) {
            if (i == 0) return false;
            continue;
        }
        const FT_Face f = face.face;
        if (i == 0) faceCount = f->num_faces;
        if (FT_IS_SCALABLE(f) && faces.outlineFace < 0) faces.outlineFace = i;
        for (int s = 0; s < f->num_fixed_sizes; ++s)
            faces.strikes.push_back(
                {i, s, f->available_sizes[s].height, pixels(f->available_sizes[s].y_ppem)});
    }
    return true;
}

// The strike `pixelSize` rows high (by its line height, else by its nominal size) in the
// first face that has one; null for none.
const Strike* strikeOf(const Faces& faces, int pixelSize) {
    for (const Strike& s : faces.strikes)
        if (s.height == pixelSize) return &s;
    for (const Strike& s : faces.strikes)
        if (s.ppem == pixelSize) return &s;
    return nullptr;
}

// The strike nearest `pixelSize` rows, the smaller of two as near.
const Strike& nearestStrike(const Faces& faces, int pixelSize) {
    const Strike* best = &faces.strikes.front();
    for (const Strike& s : faces.strikes) {
        const int d = std::abs(s.height - pixelSize), bestD = std::abs(best->height - pixelSize);
        if (d < bestD || (d == bestD && s.height < best->height)) best = &s;
    }
    return *best;
}

// The format as FreeType names it; an sfnt with bitmaps and no outline data at all is an
// OTB (a .ttf may hold bitmaps beside a few outlines and stay TrueType).
std::string formatName(FT_Face f) {
    std::string format = FT_Get_Font_Format(f) ? FT_Get_Font_Format(f) : "font";
    if (format == "CFF") return "OpenType";
    FT_ULong glyf = 0;
    if (format == "TrueType" && !FT_IS_SCALABLE(f) &&
        (FT_Load_Sfnt_Table(f, TTAG_glyf, 0, nullptr, &glyf) != 0 || glyf == 0))
        return "OTB";
    return format;
}

} // namespace

bool readFreeTypeFont(std::span<const std::uint8_t> bytes, int pixelSize, FontGlyphs& font,
                      std::string& error, bool describe) {
    font = {};
    Library lib;
    if (!lib.library) {
        error = "FreeType cannot start";
        return false;
    }
    Faces faces;
    if (!surveyFaces(lib.library, bytes, faces)) {
        error = "not a font FreeType reads";
        return false;
    }
    font.strikes = faces.heights();
    font.scalable = faces.outlineFace >= 0;
    // No size asked: a bitmap font of one size (a PCF, most .fon files) at that size,
    // anything else at 8 pixels.
    if (pixelSize == 0)
        pixelSize = !font.scalable && font.strikes.size() == 1 ? font.strikes.front() : 8;
    if (pixelSize < 1 || pixelSize > MaxCellRows) {
        error = "a size of " + std::to_string(pixelSize) + " pixels is out of range (1 to " +
                std::to_string(MaxCellRows) + ")";
        font = {};
        return false;
    }
    // The strike of the size, else the outlines; described, else the strike nearest.
    const Strike* strike = strikeOf(faces, pixelSize);
    const bool outlines = !strike && font.scalable;
    if (!strike && !outlines) {
        error = "no bitmap strike of " + std::to_string(pixelSize) + " pixels and no outlines";
        if (!font.strikes.empty()) error += "; strikes: " + sizeList(font.strikes);
        if (!describe || faces.strikes.empty()) {
            font = {};
            return false;
        }
        font.refusal = error;
        strike = &nearestStrike(faces, pixelSize);
        pixelSize = strike->height;
    }
    Face face;
    if (outlines) {
        if (!openFace(lib.library, bytes, faces.outlineFace, face) ||
            FT_Set_Pixel_Sizes(face.face, 0, static_cast<FT_UInt>(pixelSize))) {
            error = "the outlines cannot be scaled to " + std::to_string(pixelSize) + " pixels";
            font = {};
            return false;
        }
    } else if (!openFace(lib.library, bytes, strike->face, face) ||
               FT_Select_Size(face.face, strike->index)) {
        error = "the strike of " + std::to_string(pixelSize) + " pixels cannot be read";
        font = {};
        return false;
    }
    FT_Face f = face.face;

    const std::string format = formatName(f);
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
        font = {};
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
    std::vector<int> widths;   // each glyph's advance or ink, the wider
    std::vector<FT_UInt> indexOf;
    auto addGlyph = [&](FT_UInt index, FontGlyph glyph) {
        glyph.rows.assign(static_cast<std::size_t>(font.height), 0);
        int advance = 0;
        Drawn drawn;
        // A glyph FreeType cannot load (none in the strike, damaged data) stays blank.
        if (FT_Load_Glyph(f, index, loadFlags) == 0) {
            drawn = drawGlyph(lib.library, f->glyph, ascent, glyph.rows);
            advance = pixels(f->glyph->advance.x);
        }
        glyph.inkCut = drawn.cut;
        advances.push_back(advance);
        widths.push_back(std::max(advance, drawn.right));
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
        if (!describe) {
            font = {};
            return false;
        }
        if (font.refusal.empty()) font.refusal = error;
    }
    std::vector<FontGlyph> kept;
    int width = 0;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        FontGlyph& glyph = font.glyphs[i];
        if (advances[i] > 8) {
            ++font.wideGlyphs;
            font.wideCharacters.insert(font.wideCharacters.end(), glyph.unicode.begin(),
                                       glyph.unicode.end());
            continue;
        }
        // The glyph keeps its ink up to the cell's eighth column, past its advance too.
        width = std::max(width, std::min(widths[i], 8));
        if (!glyph.unicode.empty()) font.hasUnicode = true;
        kept.push_back(std::move(glyph));
    }
    if (kept.empty()) {
        if (!describe || font.glyphs.empty()) {
            error = "the font has no glyphs";
            font = {};
            return false;
        }
        // Described: every glyph is too wide, and so is the cell.
        width = advances[widest];
    }
    font.glyphs = std::move(kept);
    font.width = std::max(1, width);
    return true;
}

} // namespace tessaly::formats
