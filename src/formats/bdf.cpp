#include "formats/bdf.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace tessaly::formats {

namespace {

// Values beyond this are no sensible metric; refusing them keeps the arithmetic small.
constexpr long long NumberLimit = 1000000;
constexpr long long BoxLimit = 1024; // pixels a glyph's BBX may span each way

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

// Reads BITMAP rows up to ENDCHAR and places the glyph, when it has a code in the set.
bool readBitmap(Lines& lines, const GlyphBlock& g, long long descent, BdfFont& font,
                std::string& error) {
    const Box box = *g.box;
    const std::size_t digits = static_cast<std::size_t>((box.width + 7) / 8) * 2;
    const bool kept = *g.encoding >= 0 && *g.encoding < GlyphCount;
    std::uint8_t cell[GlyphBytes] = {};
    long long row = 0;
    Line line;
    while (lines.next(line)) {
        if (line.words[0] == "ENDCHAR") {
            if (row != box.height) {
                error = at(line.number) + describe(g) + " has " + std::to_string(row) +
                        " bitmap rows; its BBX says " + std::to_string(box.height);
                return false;
            }
            if (kept) {
                const int code = static_cast<int>(*g.encoding);
                std::copy(cell, cell + GlyphBytes, font.set.bytes.begin() + code * GlyphBytes);
                font.present.set(static_cast<std::size_t>(code));
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
        // BDF y of this row, then the cell row: y = 0 sits at cell row 7 - descent.
        const long long y = box.y + box.height - 1 - row;
        const long long cellRow = 7 - descent - y;
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
                if (!kept) continue; // only the glyphs the set takes must fit
                if (x < 0 || x > 7 || cellRow < 0 || cellRow > 7) {
                    error = at(line.number) + describe(g) +
                            " does not fit the 8x8 cell: it has ink at column " +
                            std::to_string(x) + ", row " + std::to_string(cellRow) +
                            " (columns and rows 0..7, baseline under row " +
                            std::to_string(7 - descent) + ")";
                    return false;
                }
                cell[cellRow] |= pixelMask(static_cast<int>(x));
            }
        }
        ++row;
    }
    error = "the file ends inside " + describe(g) + " (started on line " +
            std::to_string(g.startLine) + ")";
    return false;
}

bool readGlyph(Lines& lines, const Line& start, long long descent, BdfFont& font,
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
            return readBitmap(lines, g, descent, font, error);
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

} // namespace

bool readBdf(std::span<const std::uint8_t> bytes, BdfFont& font, std::string& error) {
    font = {};
    Lines lines(bytes);
    Line line;
    if (!lines.next(line) || line.words[0] != "STARTFONT") {
        error = "not a BDF font: it does not start with STARTFONT";
        return false;
    }
    std::optional<long long> descent, boxDescent;
    long long declared = -1;
    std::bitset<256> seen;
    int glyphs = 0;
    while (lines.next(line)) {
        const std::string_view key = line.words[0];
        long long v[4];
        if (key == "FONTBOUNDINGBOX") {
            if (!numbers(line, 4, v, error)) return false;
            boxDescent = -v[3];
        } else if (key == "STARTPROPERTIES") {
            while (true) {
                if (!lines.next(line)) {
                    error = "the file ends inside the properties (no ENDPROPERTIES)";
                    return false;
                }
                if (line.words[0] == "ENDPROPERTIES") break;
                if (line.words[0] == "FONT_DESCENT") {
                    if (!numbers(line, 1, v, error)) return false;
                    descent = v[0];
                }
            }
        } else if (key == "CHARS") {
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
            if (!readGlyph(lines, line, descent ? *descent : *boxDescent, font, seen, error))
                return false;
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
            font.glyphCount = glyphs;
            return true;
        }
    }
    error = "the file ends at line " + std::to_string(lines.lineNumber()) + " without ENDFONT";
    return false;
}

std::vector<std::uint8_t> writeBdf(const Charset& set, int first, int count,
                                   const std::string& name) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s += "STARTFONT 2.1\n";
    s += "FONT -misc-" + name + "-medium-r-normal--8-80-75-75-c-80-fontspecific-0\n";
    s += "SIZE 8 75 75\n";
    s += "FONTBOUNDINGBOX 8 8 0 -1\n";
    s += "STARTPROPERTIES 5\n";
    s += "FAMILY_NAME \"" + name + "\"\n";
    s += "PIXEL_SIZE 8\n";
    s += "SPACING \"C\"\n";
    s += "FONT_ASCENT 7\n";
    s += "FONT_DESCENT 1\n";
    s += "ENDPROPERTIES\n";
    s += "CHARS " + std::to_string(count) + "\n";
    for (int code = first; code < first + count; ++code) {
        s += "STARTCHAR char" + std::to_string(code) + "\n";
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
