#include "formats/fonts/font_layout.h"

#include "formats/raw/glyph_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tessaly::formats {

namespace {

std::string plural(std::size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

void put(LaidOutFont& out, int code, const std::array<std::uint8_t, GlyphBytes>& rows) {
    std::copy(rows.begin(), rows.end(), glyph(out.set, code).begin());
    out.present.set(static_cast<std::size_t>(code));
}

// A font glyph placed at a code, for the note on ink the 8 rows taken cut off.
struct Placed {
    int code;
    const FontGlyph* glyph;
};

void place(LaidOutFont& out, std::vector<Placed>& placed, const FontGlyphs& font,
           const FontLayout& layout, int code, const FontGlyph& g) {
    put(out, code, fitGlyph(font, g, layout.firstRow));
    placed.push_back({code, &g});
}

// The pixel columns of the font's cell.
std::uint8_t columnsOf(const FontGlyphs& font) {
    return static_cast<std::uint8_t>(0xFF00u >> std::clamp(font.width, 0, 8));
}

// The first and last inked row of a glyph; first > last when it has no ink.
std::pair<int, int> inkRows(const FontGlyphs& font, const FontGlyph& g) {
    const std::uint8_t columns = columnsOf(font);
    int top = static_cast<int>(g.rows.size()), bottom = -1;
    for (int r = 0; r < static_cast<int>(g.rows.size()); ++r)
        if (g.rows[static_cast<std::size_t>(r)] & columns) {
            top = std::min(top, r);
            bottom = r;
        }
    return {top, bottom};
}

bool cutOff(const FontGlyphs& font, const FontGlyph& g, int firstRow) {
    const auto [top, bottom] = inkRows(font, g);
    return top <= bottom && (top < firstRow || bottom > firstRow + 7);
}

// Of a font taller than 8 rows, the first row that cuts the ink of the fewest of `glyphs`,
// with how many it cuts; of rows that cut as few, the one nearest `preferred`.
template <typename Glyphs, typename GlyphOf>
std::pair<int, std::size_t> fewestCut(const FontGlyphs& font, const Glyphs& glyphs, GlyphOf glyphOf,
                                      int preferred) {
    const int starts = std::max(font.height - 7, 1);
    // Each inked glyph stays whole for the starts from its last inked row - 7 to its first.
    std::vector<int> whole(static_cast<std::size_t>(starts) + 1, 0);
    std::size_t inked = 0;
    for (const auto& item : glyphs) {
        const auto [top, bottom] = inkRows(font, glyphOf(item));
        if (top > bottom) continue;
        ++inked;
        const int from = std::max(bottom - 7, 0), to = std::min(top, starts - 1);
        if (from > to) continue;
        ++whole[static_cast<std::size_t>(from)];
        --whole[static_cast<std::size_t>(to) + 1];
    }
    int best = preferred;
    std::size_t bestCut = inked + 1;
    int running = 0;
    for (int start = 0; start < starts; ++start) {
        running += whole[static_cast<std::size_t>(start)];
        const std::size_t cut = inked - static_cast<std::size_t>(running);
        if (cut < bestCut ||
            (cut == bestCut && std::abs(start - preferred) < std::abs(best - preferred))) {
            best = start;
            bestCut = cut;
        }
    }
    return {best, bestCut};
}

// The codes of `codes` named for a note: "code 65", "codes 94 95 ..." (the first 8).
std::string someCodes(const std::vector<int>& codes) {
    std::string named = codes.size() == 1 ? "code " : "codes ";
    for (std::size_t i = 0; i < codes.size() && i < 8; ++i) {
        if (i) named += ' ';
        named += std::to_string(codes[i]);
    }
    return named + (codes.size() > 8 ? " ..." : "");
}

// "U+00A3 U+00A5 ..." (the first 8).
std::string someCharacters(const std::vector<char32_t>& characters) {
    std::string named;
    for (std::size_t i = 0; i < characters.size() && i < 8; ++i) {
        if (i) named += ' ';
        named += codePointName(characters[i]);
    }
    return named + (characters.size() > 8 ? " ..." : "");
}

// The glyphs placed whose ink the reader cut at the font's cell.
void noteReaderCut(const FontGlyphs& font, const std::vector<Placed>& placed, LaidOutFont& out) {
    std::vector<int> cut;
    for (const Placed& p : placed)
        if (p.glyph->inkCut) cut.push_back(p.code);
    if (cut.empty()) return;
    std::sort(cut.begin(), cut.end());
    out.notes.push_back(plural(cut.size(), "glyph") + (cut.size() == 1 ? " has" : " have") +
                        " ink outside 8 columns and the font's " + std::to_string(font.height) +
                        " rows, cut off (" + someCodes(cut) + ")");
}

// With --rows, the glyphs placed whose ink reaches past the 8 rows taken, those left
// blank among them, and the first row that cuts fewest.
void noteCutInk(const FontGlyphs& font, int firstRow, std::vector<Placed> placed,
                LaidOutFont& out) {
    std::sort(placed.begin(), placed.end(),
              [](const Placed& a, const Placed& b) { return a.code < b.code; });
    std::vector<int> cut, blank;
    for (const Placed& p : placed) {
        if (!cutOff(font, *p.glyph, firstRow)) continue;
        cut.push_back(p.code);
        const ConstGlyph g = glyph(std::as_const(out.set), p.code);
        if (std::all_of(g.begin(), g.end(), [](std::uint8_t r) { return r == 0; }))
            blank.push_back(p.code);
    }
    if (cut.empty()) return;
    const auto [best, bestCut] = fewestCut(
        font, placed, [](const Placed& p) -> const FontGlyph& { return *p.glyph; }, firstRow);
    std::string note = plural(cut.size(), "glyph") + (cut.size() == 1 ? " has" : " have") +
                       " ink outside rows " + std::to_string(firstRow) + "-" +
                       std::to_string(firstRow + 7) + ", cut off (" + someCodes(cut) + ")";
    if (!blank.empty())
        note += "; " + std::to_string(blank.size()) + " of them" +
                (blank.size() == 1 ? " is" : " are") + " left blank (" + someCodes(blank) + ")";
    note += best == firstRow
                ? "; no other --rows cuts fewer"
                : "; --rows " + std::to_string(best) + " cuts " + std::to_string(bestCut);
    out.notes.push_back(note);
}

void byCode(const FontGlyphs& font, const FontLayout& layout, LaidOutFont& out,
            std::vector<Placed>& placed) {
    std::size_t left = static_cast<std::size_t>(font.droppedGlyphs);
    for (const FontGlyph& g : font.glyphs) {
        if (g.code < 0 || g.code >= GlyphCount) {
            ++left;
            continue;
        }
        if (!out.present.test(static_cast<std::size_t>(g.code)))
            place(out, placed, font, layout, g.code, g);
    }
    if (left > 0)
        out.notes.push_back(plural(left, "glyph") + " with no code from 0 to 255 left out" +
                            (font.hasUnicode ? " (--order places glyphs by their Unicode)" : ""));
}

bool byPlace(const FontGlyphs& font, const FontLayout& layout, LaidOutFont& out,
             std::vector<Placed>& placed, std::string& error) {
    const std::size_t total = font.glyphs.size() + static_cast<std::size_t>(font.droppedGlyphs);
    const std::size_t skip = static_cast<std::size_t>(layout.skip);
    if (skip >= total) {
        error = "--skip " + std::to_string(skip) + " leaves no glyph: the file holds " +
                plural(total, "glyph");
        return false;
    }
    const std::size_t room = static_cast<std::size_t>(GlyphCount - layout.at);
    const std::size_t kept = std::min(total - skip, room);
    // The fitted glyphs as one run, placed as the editor places a file's glyphs.
    std::vector<std::uint8_t> rows;
    for (std::size_t i = 0; i < kept && skip + i < font.glyphs.size(); ++i) {
        const FontGlyph& g = font.glyphs[skip + i];
        const auto fitted = fitGlyph(font, g, layout.firstRow);
        rows.insert(rows.end(), fitted.begin(), fitted.end());
        const int code = layout.at + static_cast<int>(i);
        out.present.set(static_cast<std::size_t>(code));
        placed.push_back({code, &g});
    }
    placeGlyphs(out.set, rows, layout.at);
    if (total - skip > room) {
        const std::string which =
            skip == 0 ? "the first " + std::to_string(room)
                      : "glyphs " + std::to_string(skip) + "-" + std::to_string(skip + room - 1);
        out.notes.push_back(plural(total, "glyph") + "; " + which + " fill codes " +
                            std::to_string(layout.at) + "-255, the rest are left out");
    }
    return true;
}

bool byOrder(const FontGlyphs& font, const FontLayout& layout, LaidOutFont& out,
             std::vector<Placed>& placed, std::string& error) {
    const MachineOrder& order = *layout.order;
    if (!font.hasUnicode) {
        error = "the font carries no Unicode, so --order " + std::string(order.name) +
                " cannot place its glyphs";
        return false;
    }
    std::unordered_map<char32_t, std::size_t> glyphOf;
    for (std::size_t i = 0; i < font.glyphs.size(); ++i)
        for (char32_t c : font.glyphs[i].unicode)
            glyphOf.emplace(c, i);
    std::vector<char32_t> lacking;
    int wanted = 0;
    for (int code = 0; code < GlyphCount; ++code) {
        const char32_t c = order.unicode[static_cast<std::size_t>(code)];
        if (c == 0) continue;
        ++wanted;
        const auto found = glyphOf.find(c);
        if (found == glyphOf.end())
            lacking.push_back(c);
        else
            place(out, placed, font, layout, code, font.glyphs[found->second]);
    }
    // The machines' reversed characters: their glyph inverted, where the font has it.
    for (int code = 0; code < GlyphCount; ++code) {
        const int of = order.inverseOf[static_cast<std::size_t>(code)];
        if (of < 0 || of >= GlyphCount || out.present.test(static_cast<std::size_t>(code)) ||
            !out.present.test(static_cast<std::size_t>(of)))
            continue;
        std::array<std::uint8_t, GlyphBytes> rows{};
        const ConstGlyph source = glyph(std::as_const(out.set), of);
        std::transform(source.begin(), source.end(), rows.begin(),
                       [](std::uint8_t r) { return static_cast<std::uint8_t>(~r); });
        put(out, code, rows);
    }
    // A character the font draws too wide is there but left out: said apart.
    const std::unordered_set<char32_t> wide(font.wideCharacters.begin(), font.wideCharacters.end());
    std::vector<char32_t> tooWide;
    std::erase_if(lacking, [&](char32_t c) {
        if (!wide.count(c)) return false;
        tooWide.push_back(c);
        return true;
    });
    const std::string of =
        " of the " + std::to_string(wanted) + " characters of --order " + std::string(order.name);
    const auto blank = [](std::size_t n) {
        return n == 1 ? "); its code is blank" : "); their codes are blank";
    };
    if (!lacking.empty())
        out.notes.push_back("the font lacks " + std::to_string(lacking.size()) + of + " (" +
                            someCharacters(lacking) + blank(lacking.size()));
    if (!tooWide.empty())
        out.notes.push_back("the font draws " + std::to_string(tooWide.size()) + of +
                            " wider than 8 pixels (" + someCharacters(tooWide) +
                            blank(tooWide.size()));
    return true;
}

} // namespace

std::string fitProblem(const FontGlyphs& font, std::optional<int> firstRow) {
    const std::string size = "the glyphs are " + std::to_string(font.width) + "x" +
                             std::to_string(font.height) + " pixels";
    if (font.width > 8 || font.width < 1 || font.height < 1)
        return size + "; only glyphs up to 8 pixels wide can be read";
    if (firstRow) {
        if (*firstRow + 8 > font.height)
            return size + ": --rows " + std::to_string(*firstRow) + " needs rows " +
                   std::to_string(*firstRow) + "-" + std::to_string(*firstRow + 7) +
                   ", the glyphs have 0-" + std::to_string(font.height - 1);
        return "";
    }
    if (font.height > 8) {
        // The rows that cut the ink of the fewest glyphs; of those, the nearest to rows
        // that keep the baseline with one row of descent where the font has one, else
        // (PSF) to the middle rows.
        const int preferred = font.descent > 0
                                  ? std::clamp(font.height - font.descent - 7, 0, font.height - 8)
                                  : (font.height - 8) / 2;
        const int suggested =
            fewestCut(
                font, font.glyphs, [](const FontGlyph& g) -> const FontGlyph& { return g; },
                preferred)
                .first;
        return size + ": --rows FIRST takes 8 of their rows (--rows " + std::to_string(suggested) +
               " takes rows " + std::to_string(suggested) + "-" + std::to_string(suggested + 7) +
               ")";
    }
    return "";
}

std::array<std::uint8_t, GlyphBytes> fitGlyph(const FontGlyphs& font, const FontGlyph& glyph,
                                              std::optional<int> firstRow) {
    std::array<std::uint8_t, GlyphBytes> cell{};
    // Cell row r shows font row r + shift.
    const int shift = firstRow ? *firstRow : font.height - GlyphBytes;
    const std::uint8_t columns = columnsOf(font);
    for (int r = 0; r < GlyphBytes; ++r) {
        const int from = r + shift;
        if (from >= 0 && from < static_cast<int>(glyph.rows.size()))
            cell[static_cast<std::size_t>(r)] =
                glyph.rows[static_cast<std::size_t>(from)] & columns;
    }
    return cell;
}

bool layOutFont(const FontGlyphs& font, const FontLayout& layout, LaidOutFont& out,
                std::string& error) {
    out = {};
    error = fitProblem(font, layout.firstRow);
    if (!error.empty()) return false;
    out.notes = font.notes;
    if (font.wideGlyphs > 0)
        out.notes.push_back(plural(static_cast<std::size_t>(font.wideGlyphs), "glyph") +
                            " wider than 8 pixels left out");
    std::vector<Placed> placed;
    const bool ok = layout.order    ? byOrder(font, layout, out, placed, error)
                    : font.hasCodes ? (byCode(font, layout, out, placed), true)
                                    : byPlace(font, layout, out, placed, error);
    if (ok) noteReaderCut(font, placed, out);
    if (ok && layout.firstRow) noteCutInk(font, *layout.firstRow, std::move(placed), out);
    return ok;
}

std::string codePointName(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

std::string codeRanges(const std::bitset<GlyphCount>& present) {
    std::string out;
    for (int code = 0; code < GlyphCount;) {
        if (!present.test(static_cast<std::size_t>(code))) {
            ++code;
            continue;
        }
        int end = code;
        while (end + 1 < GlyphCount && present.test(static_cast<std::size_t>(end + 1)))
            ++end;
        if (!out.empty()) out += ", ";
        out += std::to_string(code);
        if (end > code) {
            out += '-';
            out += std::to_string(end);
        }
        code = end + 1;
    }
    return out.empty() ? "none" : out;
}

} // namespace tessaly::formats
