#include "formats/sources/source_text.h"

#include <algorithm>

namespace tessaly::formats {

namespace {

constexpr int CodesPerLine = 40;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string hex(int v, std::string_view prefix) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string(prefix) + digits[(v >> 4) & 15] + digits[v & 15];
}

} // namespace

bool isIdentifier(std::string_view name) {
    if (name.empty() || !isLetter(name[0])) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return isLetter(c) || isDigit(c) || c == '_'; });
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string setDescription(int first, int count, std::string_view hexPrefix) {
    const int last = first + count - 1;
    return std::to_string(count) + (count == 1 ? " glyph" : " glyphs") + " of 8x8 pixels, codes " +
           std::to_string(first) + "-" + std::to_string(last) + " (" + hex(first, hexPrefix) + "-" +
           hex(last, hexPrefix) + "); 8 bytes a glyph, top row first, bit 7 the leftmost pixel";
}

std::string codeComment(int code, std::string_view hexPrefix) {
    return std::to_string(code) + " " + hex(code, hexPrefix);
}

std::string mapDescription(const CodeMap& map) {
    return "screen map of " + std::to_string(map.width) + " x " + std::to_string(map.height) +
           " codes, row by row";
}

void forEachMapLine(
    const CodeMap& map,
    const std::function<void(std::span<const std::uint8_t>, const std::string&)>& line) {
    const std::span<const std::uint8_t> codes(map.codes);
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; x += CodesPerLine) {
            const int n = std::min(CodesPerLine, map.width - x);
            std::string where = "row " + std::to_string(y);
            if (map.width > CodesPerLine)
                where += ", columns " + std::to_string(x) + "-" + std::to_string(x + n - 1);
            line(codes.subspan(static_cast<std::size_t>(y) * map.width + x, n), where);
        }
    }
}

} // namespace tessaly::formats
