#include "formats/machines/xbin.h"

#include "formats/bytes.h"

#include <algorithm>
#include <array>

namespace tessaly::formats {

namespace {

constexpr std::array<std::uint8_t, 5> Magic = {'X', 'B', 'I', 'N', 0x1A};
constexpr std::size_t HeaderBytes = 11;
constexpr std::size_t PaletteBytes = 48;
constexpr std::size_t FontBytes = std::size_t{GlyphCount} * GlyphBytes;
constexpr std::uint8_t HasPalette = 0x01, HasFont = 0x02, Packed = 0x04, Has512 = 0x10;

// The standard text-mode colours in 6-bit channels; the file's 0 and 15 become the paper
// and ink, so every cell is written with the attribute 0x0F.
constexpr std::uint8_t TextColours[16][3] = {
    {0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
    {42, 21, 0},  {42, 42, 42}, {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
    {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63}};
constexpr int PaperIndex = 0, InkIndex = 15;
constexpr std::uint8_t InkOnPaper = PaperIndex << 4 | InkIndex;

// A packed run: its kind in the top two bits, its cells less one below.
constexpr int RunLimit = 64;
enum RunKind : std::uint8_t { Pairs = 0, OneCharacter = 1, OneAttribute = 2, OneCell = 3 };

void putRunHead(std::vector<std::uint8_t>& out, RunKind kind, int cells) {
    out.push_back(static_cast<std::uint8_t>(kind << 6 | (cells - 1)));
}

// One row of cells, all in ink on paper: three or more equal codes as one cell repeated,
// the codes between them under one attribute. No run crosses the row's end, as viewers
// expect.
void packRow(std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out) {
    const std::size_t width = row.size();
    const auto runOfThree = [&](std::size_t x) {
        return x + 2 < width && row[x] == row[x + 1] && row[x] == row[x + 2];
    };
    for (std::size_t x = 0; x < width;) {
        std::size_t n = 1;
        while (x + n < width && n < RunLimit && row[x + n] == row[x])
            ++n;
        if (n >= 3) {
            putRunHead(out, OneCell, static_cast<int>(n));
            out.push_back(row[x]);
            out.push_back(InkOnPaper);
        } else {
            n = 1;
            while (x + n < width && n < RunLimit && !runOfThree(x + n))
                ++n;
            putRunHead(out, OneAttribute, static_cast<int>(n));
            out.push_back(InkOnPaper);
            out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(x),
                       row.begin() + static_cast<std::ptrdiff_t>(x + n));
        }
        x += n;
    }
}

// "the font ends at byte 2107, but the file ends at byte 2106"
std::string endsPast(const char* part, std::size_t end, std::size_t size) {
    return std::string(part) + " at byte " + std::to_string(end) + ", but the file ends at byte " +
           std::to_string(size);
}

// The characters of packed cells from `at` on; runs may cross rows but not the last cell.
bool unpackCells(std::span<const std::uint8_t> bytes, std::size_t at,
                 std::vector<std::uint8_t>& codes, std::string& error) {
    for (std::size_t cell = 0; cell < codes.size();) {
        if (at >= bytes.size()) {
            error = "the packed cells stop at byte " + std::to_string(bytes.size()) + " after " +
                    std::to_string(cell) + " of " + std::to_string(codes.size()) + " cells";
            return false;
        }
        const std::size_t head = at++;
        const auto kind = static_cast<RunKind>(bytes[head] >> 6);
        const std::size_t cells = (bytes[head] & (RunLimit - 1)) + 1u;
        if (cell + cells > codes.size()) {
            // Appended: GCC 12's optimiser warns wrongly about "literal" + string.
            error = "the run of ";
            error += std::to_string(cells) + " cells at byte " + std::to_string(head) +
                     " goes past the last cell";
            return false;
        }
        const std::size_t length = kind == Pairs ? 2 * cells : kind == OneCell ? 2 : 1 + cells;
        if (at + length > bytes.size()) {
            error = endsPast("the run ends", at + length, bytes.size());
            return false;
        }
        for (std::size_t i = 0; i < cells; ++i)
            codes[cell + i] = kind == Pairs          ? bytes[at + 2 * i]
                              : kind == OneAttribute ? bytes[at + 1 + i]
                                                     : bytes[at];
        at += length;
        cell += cells;
    }
    return true;
}

} // namespace

std::uint8_t sixBitChannel(int channel) {
    return static_cast<std::uint8_t>((std::clamp(channel, 0, 255) * 63 + 127) / 255);
}

std::vector<std::uint8_t> writeXBin(const CodeMap& map, const Charset& font, Colour ink,
                                    Colour paper) {
    std::vector<std::uint8_t> out(Magic.begin(), Magic.end());
    putLe16(out, static_cast<std::uint32_t>(map.width));
    putLe16(out, static_cast<std::uint32_t>(map.height));
    out.push_back(GlyphBytes);
    out.push_back(HasPalette | HasFont | Packed);
    for (int i = 0; i < 16; ++i) {
        const Colour own = i == InkIndex ? ink : paper;
        for (int c = 0; c < 3; ++c)
            out.push_back(i == InkIndex || i == PaperIndex
                              ? sixBitChannel(static_cast<int>(own >> (8 * c)) & 0xFF)
                              : TextColours[i][c]);
    }
    out.insert(out.end(), font.bytes.begin(), font.bytes.end());
    const std::span<const std::uint8_t> codes(map.codes);
    for (int y = 0; y < map.height; ++y)
        packRow(codes.subspan(static_cast<std::size_t>(y) * static_cast<std::size_t>(map.width),
                              static_cast<std::size_t>(map.width)),
                out);
    return out;
}

bool readXBin(std::span<const std::uint8_t> bytes, bool map, XBinContent& out, std::string& error) {
    if (bytes.size() < Magic.size() || !std::equal(Magic.begin(), Magic.end(), bytes.begin())) {
        error = "not an XBin: it does not start with \"XBIN\" and byte 0x1A";
        return false;
    }
    if (bytes.size() < HeaderBytes) {
        error = "the XBin header is cut short: the file has " + std::to_string(bytes.size()) +
                " of its 11 bytes";
        return false;
    }
    out = {};
    out.width = static_cast<int>(le16(bytes, 5));
    out.height = static_cast<int>(le16(bytes, 7));
    const int rows = bytes[9];
    const std::uint8_t flags = bytes[10];
    std::size_t fontStart = HeaderBytes + (flags & HasPalette ? PaletteBytes : 0);
    std::size_t cellsStart = fontStart;
    if (flags & HasFont) {
        if (rows < 1 || rows > 32) {
            error = "the XBin's font has glyphs of " + std::to_string(rows) +
                    " rows; XBin fonts have 1 to 32";
            return false;
        }
        const std::size_t glyphs = std::size_t{GlyphCount} * (flags & Has512 ? 2 : 1);
        cellsStart = fontStart + glyphs * static_cast<std::size_t>(rows);
        if (cellsStart > bytes.size()) {
            error = endsPast("the font ends", cellsStart, bytes.size());
            return false;
        }
        out.fontRows = rows;
        out.font512 = (flags & Has512) != 0;
        const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(fontStart);
        out.glyphRows.assign(start, start + GlyphCount * rows);
        if (rows == GlyphBytes) std::copy_n(start, FontBytes, out.font.bytes.begin());
    }
    if (!map) return true;

    const std::string size = std::to_string(out.width) + " x " + std::to_string(out.height);
    if (out.width == 0 || out.height == 0) {
        error = "the XBin holds no cells (" + size + "), so no map to read";
        return false;
    }
    if (out.width > XBinMapLimit || out.height > XBinMapLimit) {
        error = "the XBin is " + size + " cells; maps go up to 1024 x 1024";
        return false;
    }
    const std::size_t cells =
        static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height);
    out.map = {out.width, out.height, std::vector<std::uint8_t>(cells)};
    if (flags & Packed) return unpackCells(bytes, cellsStart, out.map.codes, error);
    if (cellsStart + 2 * cells > bytes.size()) {
        error = endsPast("the cells end", cellsStart + 2 * cells, bytes.size());
        return false;
    }
    for (std::size_t i = 0; i < cells; ++i)
        out.map.codes[i] = bytes[cellsStart + 2 * i];
    return true;
}

} // namespace tessaly::formats
