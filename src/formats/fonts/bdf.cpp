#include "formats/fonts/bdf.h"

#include <algorithm>
#include <bitset>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

namespace tessaly::formats {

namespace {

// Values beyond this are no sensible metric; refusing them keeps the arithmetic small.
constexpr long long NumberLimit = 1000000;
constexpr long long BoxLimit = 1024; // pixels a glyph's BBX may span each way
constexpr std::size_t UnicodeGlyphLimit = 65536;

struct Line {
    int number = 0;
    std::vector<std::string_view> words;
    std::string_view rest; // the text after the first word
};

class Lines {
  public:
    explicit Lines(std::span<const std::uint8_t> bytes)
        : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}

    // The next line that is not blank; false at the end of the file.
    bool next(Line& line) {
        while (at_ < text_.size()) {
            std::size_t end = text_.find('\n', at_);
            if (end == std::string_view::npos) end = text_.size();
            std::string_view s = text_.substr(at_, end - at_);
            at_ = end + 1;
            ++number_;
            line = Line{number_, {}, {}};
            std::size_t i = 0;
            while (i < s.size()) {
                while (i < s.size() && isSpace(s[i]))
                    ++i;
                const std::size_t start = i;
                while (i < s.size() && !isSpace(s[i]))
                    ++i;
                if (i > start) {
                    if (line.words.empty()) {
                        std::size_t r = i;
                        while (r < s.size() && isSpace(s[r]))
                            ++r;
                        line.rest = trimEnd(s.substr(r));
                    }
                    line.words.push_back(s.substr(start, i - start));
                }
            }
            if (!line.words.empty()) return true;
        }
        return false;
    }
    int lineNumber() const { return number_; }

  private:
    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
    }
    static std::string_view trimEnd(std::string_view s) {
        while (!s.empty() && isSpace(s.back()))
            s.remove_suffix(1);
        return s;
    }
    std::string_view text_;
    std::size_t at_ = 0;
    int number_ = 0;
};

std::string at(int line) {
    return "line " + std::to_string(line) + ": ";
}

// Text of the file quoted in a message: short, and without control characters.
std::string quoted(std::string_view text) {
    std::string out(text.substr(0, 40));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return "'" + out + (text.size() > 40 ? "...'" : "'");
}

bool number(std::string_view word, long long& value) {
    const char* end = word.data() + word.size();
    const char* begin = word.data();
    if (begin != end && *begin == '+') ++begin;
    const auto [p, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && p == end && value >= -NumberLimit && value <= NumberLimit;
}

// The numbers after the keyword: exactly `count` (more are allowed when `atLeast`).
bool numbers(const Line& line, std::size_t count, long long* values, std::string& error,
             bool atLeast = false) {
    const std::size_t given = line.words.size() - 1;
    if (given < count || (!atLeast && given > count)) {
        error = at(line.number) + std::string(line.words[0]) + " takes " + std::to_string(count) +
                " number" + (count == 1 ? "" : "s");
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!number(line.words[i + 1], values[i])) {
            error = at(line.number) + std::string(line.words[0]) + ": " +
                    quoted(line.words[i + 1]) + " is no number of at most " +
                    std::to_string(NumberLimit) + " in size";
            return false;
        }
    }
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct Box {
    long long width = 0, height = 0, x = 0, y = 0;
};

struct GlyphBlock {
    std::string name;
    int startLine = 0;
    std::optional<long long> encoding;
    std::optional<Box> box;
};

std::string describe(const GlyphBlock& g) {
    std::string s = "glyph " + quoted(g.name);
    if (g.encoding) s += " (ENCODING " + std::to_string(*g.encoding) + ")";
    return s;
}

// Where the glyphs go: the font's cell, its top row `top` above the baseline.
struct Cell {
    long long top = 8, height = 8;
    bool unicode = false; // ENCODING is a Unicode code point
};

// Reads BITMAP rows up to ENDCHAR and keeps the glyph when it has a code the set takes or,
// in a Unicode font, any character.
bool readBitmap(Lines& lines, const GlyphBlock& g, const Cell& cell, FontGlyphs& font,
                std::string& error) {
    const Box box = *g.box;
    const std::size_t digits = static_cast<std::size_t>((box.width + 7) / 8) * 2;
    const long long encoding = *g.encoding;
    const bool inSet = encoding >= 0 && encoding < GlyphCount;
    // Beyond the set, a Unicode font's glyphs are kept up to a bound on the memory used.
    const bool kept = inSet || (cell.unicode && encoding >= 0 && encoding <= 0x10FFFF &&
                                font.glyphs.size() < UnicodeGlyphLimit);
    bool fits = true; // a Unicode glyph beyond the set that does not fit is left out
    FontGlyph out;
    out.rows.assign(static_cast<std::size_t>(cell.height), 0);
    long long row = 0;
    Line line;
    while (lines.next(line)) {
        if (line.words[0] == "ENDCHAR") {
            if (row != box.height) {
                error = at(line.number) + describe(g) + " has " + std::to_string(row) +
                        " bitmap rows; its BBX says " + std::to_string(box.height);
                return false;
            }
            if (kept && fits) {
                out.code = inSet ? static_cast<int>(encoding) : -1;
                if (cell.unicode) out.unicode.push_back(static_cast<char32_t>(encoding));
                font.glyphs.push_back(std::move(out));
            } else {
                ++font.droppedGlyphs;
            }
            return true;
        }
        if (row == box.height) {
            error = at(line.number) + describe(g) + " has more bitmap rows than the " +
                    std::to_string(box.height) + " of its BBX (ENDCHAR missing?)";
            return false;
        }
        const std::string_view hex = line.words[0];
        if (line.words.size() != 1 || hex.size() < digits) {
            error = at(line.number) + describe(g) + ": a bitmap row of " +
                    std::to_string(box.width) + " pixels takes " + std::to_string(digits) +
                    " hex digits";
            return false;
        }
        // BDF y of this row, then the cell row: y = 0 sits at cell row top - 1.
        const long long y = box.y + box.height - 1 - row;
        const long long cellRow = cell.top - 1 - y;
        for (std::size_t d = 0; d < hex.size(); ++d) {
            const int v = hexDigit(hex[d]);
            if (v < 0) {
                error =
                    at(line.number) + describe(g) + ": " + quoted(hex) + " is no hex bitmap row";
                return false;
            }
            for (int bit = 0; bit < 4; ++bit) {
                const long long column = static_cast<long long>(d) * 4 + bit;
                if (!(v & (8 >> bit)) || column >= box.width) continue;
                const long long x = box.x + column;
                if (!kept || !fits) continue; // only the glyphs the set takes must fit
                if (x < 0 || x > 7 || cellRow < 0 || cellRow >= cell.height) {
                    if (!inSet) {
                        fits = false;
                        continue;
                    }
                    error = at(line.number) + describe(g) +
                            " does not fit the cell: it has ink at column " + std::to_string(x) +
                            ", row " + std::to_string(cellRow) + " (columns 0..7, rows 0.." +
                            std::to_string(cell.height - 1) + ", baseline under row " +
                            std::to_string(cell.top - 1) + ")";
                    return false;
                }
                out.rows[static_cast<std::size_t>(cellRow)] |= pixelMask(static_cast<int>(x));
            }
        }
        ++row;
    }
    error = "the file ends inside " + describe(g) + " (started on line " +
            std::to_string(g.startLine) + ")";
    return false;
}

bool readGlyph(Lines& lines, const Line& start, const Cell& cell, FontGlyphs& font,
               std::bitset<256>& seen, std::string& error) {
    GlyphBlock g;
    g.name = std::string(start.rest);
    g.startLine = start.number;
    Line line;
    while (lines.next(line)) {
        const std::string_view key = line.words[0];
        long long v[4];
        if (key == "ENCODING") {
            if (!numbers(line, 1, v, error, true)) return false;
            g.encoding = v[0];
            if (v[0] >= 0 && v[0] < GlyphCount) {
                if (seen.test(static_cast<std::size_t>(v[0]))) {
                    error =
                        at(line.number) + describe(g) + ": a glyph with this encoding came before";
                    return false;
                }
                seen.set(static_cast<std::size_t>(v[0]));
            }
        } else if (key == "BBX") {
            if (!numbers(line, 4, v, error)) return false;
            if (v[0] < 0 || v[1] < 0 || v[0] > BoxLimit || v[1] > BoxLimit) {
                error = at(line.number) + describe(g) + ": BBX " + std::to_string(v[0]) + " x " +
                        std::to_string(v[1]) + " is no size from 0 to " + std::to_string(BoxLimit);
                return false;
            }
            g.box = Box{v[0], v[1], v[2], v[3]};
        } else if (key == "BITMAP") {
            if (!g.encoding || !g.box) {
                error = at(line.number) + describe(g) + " has no " +
                        (g.encoding ? "BBX" : "ENCODING") + " before BITMAP";
                return false;
            }
            return readBitmap(lines, g, cell, font, error);
        } else if (key == "ENDCHAR" || key == "STARTCHAR" || key == "ENDFONT") {
            error = at(line.number) + describe(g) + " has no BITMAP";
            return false;
        }
        // SWIDTH, DWIDTH and the vertical metrics do not change where the pixels go.
    }
    error = "the file ends inside " + describe(g) + " (started on line " +
            std::to_string(g.startLine) + ")";
    return false;
}

// A property's value without its quotes.
std::string_view unquoted(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The glyph name fonts give a character: uni0041, u1FB00 beyond the first plane.
std::string glyphName(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, c > 0xFFFF ? "u%05X" : "uni%04X", static_cast<unsigned>(c));
    return text;
}

} // namespace

bool readBdf(std::span<const std::uint8_t> bytes, FontGlyphs& font, std::string& error) {
    font = {};
    font.format = "BDF";
    font.hasCodes = true;
    Lines lines(bytes);
    Line line;
    if (!lines.next(line) || line.words[0] != "STARTFONT") {
        error = "not a BDF font: it does not start with STARTFONT";
        return false;
    }
    std::optional<long long> descent, ascent, boxDescent, boxAscent;
    long long boxWidth = 8;
    Cell cell;
    long long declared = -1;
    std::bitset<256> seen;
    int glyphs = 0;
    while (lines.next(line)) {
        const std::string_view key = line.words[0];
        long long v[4];
        if (key == "FONTBOUNDINGBOX") {
            if (!numbers(line, 4, v, error)) return false;
            boxWidth = v[0];
            boxDescent = -v[3];
            boxAscent = v[1] + v[3];
        } else if (key == "STARTPROPERTIES") {
            while (true) {
                if (!lines.next(line)) {
                    error = "the file ends inside the properties (no ENDPROPERTIES)";
                    return false;
                }
                const std::string_view property = line.words[0];
                if (property == "ENDPROPERTIES") break;
                if (property == "FONT_DESCENT" || property == "FONT_ASCENT") {
                    if (!numbers(line, 1, v, error)) return false;
                    (property == "FONT_DESCENT" ? descent : ascent) = v[0];
                } else if (property == "CHARSET_REGISTRY") {
                    cell.unicode = sameLetters(unquoted(line.rest), "ISO10646");
                }
            }
        } else if (key == "CHARS") {
            if (declared >= 0) { // the cell of the glyphs read so far would change
                error = at(line.number) + "CHARS comes a second time";
                return false;
            }
            if (!numbers(line, 1, v, error)) return false;
            if (v[0] < 0) {
                error = at(line.number) + "CHARS " + std::to_string(v[0]) + " is no glyph count";
                return false;
            }
            declared = v[0];
            if (!descent && !boxDescent) {
                error = at(line.number) + "no FONTBOUNDINGBOX or FONT_DESCENT before CHARS";
                return false;
            }
            // The cell: at least 8 rows with the descent at the bottom, taller when the
            // font's ascent and descent are.
            const long long d = descent ? *descent : *boxDescent;
            const long long a = ascent ? *ascent : boxAscent.value_or(0);
            cell.top = std::max(a, 8 - d);
            cell.height = cell.top + d;
            if (cell.height < 1 || cell.height > BoxLimit) {
                error = at(line.number) + "the font's ascent " + std::to_string(a) +
                        " and descent " + std::to_string(d) + " make no cell of 1 to " +
                        std::to_string(BoxLimit) + " rows";
                return false;
            }
            font.height = static_cast<int>(cell.height);
            font.descent = static_cast<int>(d);
            font.width = static_cast<int>(std::clamp<long long>(boxWidth, 1, 8));
            font.hasUnicode = cell.unicode;
        } else if (key == "STARTCHAR") {
            if (declared < 0) {
                error = at(line.number) + "STARTCHAR before CHARS";
                return false;
            }
            if (glyphs == declared) {
                error = at(line.number) + "more glyphs than the " + std::to_string(declared) +
                        " that CHARS gives";
                return false;
            }
            if (!readGlyph(lines, line, cell, font, seen, error)) return false;
            ++glyphs;
        } else if (key == "ENDFONT") {
            if (declared < 0) {
                error = at(line.number) + "ENDFONT before CHARS";
                return false;
            }
            if (glyphs != declared) {
                error = at(line.number) + "the font holds " + std::to_string(glyphs) +
                        " glyphs, but CHARS gives " + std::to_string(declared);
                return false;
            }
            return true;
        }
    }
    error = "the file ends at line " + std::to_string(lines.lineNumber()) + " without ENDFONT";
    return false;
}

bool bdfFamilyAllowed(std::string_view name) {
    if (name.empty() || name.front() == ' ' || name.back() == ' ') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return c >= 0x20 && c <= 0x7E && c != '-' && c != '*' && c != '?' && c != '"' && c != ',';
    });
}

std::vector<std::uint8_t> writeBdf(const Charset& set, int first, int count,
                                   const std::string& name,
                                   const std::array<char32_t, GlyphCount>* unicode,
                                   const std::bitset<GlyphCount>* held) {
    static const char digits[] = "0123456789ABCDEF";
    const auto written = [&](int code) {
        return !held || held->test(static_cast<std::size_t>(code));
    };
    int chars = 0;
    for (int code = first; code < first + count; ++code)
        chars += written(code) ? 1 : 0;
    std::string s;
    s += "STARTFONT 2.1\n";
    s += "FONT -misc-" + name + "-medium-r-normal--8-80-75-75-c-80-fontspecific-0\n";
    s += "SIZE 8 75 75\n";
    s += "FONTBOUNDINGBOX 8 8 0 -1\n";
    s += "STARTPROPERTIES 7\n";
    s += "FAMILY_NAME \"" + name + "\"\n";
    s += "PIXEL_SIZE 8\n";
    s += "SPACING \"C\"\n";
    s += "FONT_ASCENT 7\n";
    s += "FONT_DESCENT 1\n";
    s += "CHARSET_REGISTRY \"FontSpecific\"\n";
    s += "CHARSET_ENCODING \"0\"\n";
    s += "ENDPROPERTIES\n";
    s += "CHARS " + std::to_string(chars) + "\n";
    for (int code = first; code < first + count; ++code) {
        if (!written(code)) continue;
        const char32_t c = unicode ? (*unicode)[static_cast<std::size_t>(code)] : 0;
        s += "STARTCHAR " + (c ? glyphName(c) : "char" + std::to_string(code)) + "\n";
        s += "ENCODING " + std::to_string(code) + "\n";
        s += "SWIDTH 1000 0\nDWIDTH 8 0\nBBX 8 8 0 -1\nBITMAP\n";
        for (std::uint8_t row : glyph(set, code)) {
            s += digits[row >> 4];
            s += digits[row & 15];
            s += '\n';
        }
        s += "ENDCHAR\n";
    }
    s += "ENDFONT\n";
    return {s.begin(), s.end()};
}

} // namespace tessaly::formats
