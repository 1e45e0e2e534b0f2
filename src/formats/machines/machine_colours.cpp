#include "formats/machines/machine_colours.h"

namespace tessaly::formats {

const std::array<Colour, 16> C64Palette = {
    rgb(0x00, 0x00, 0x00), rgb(0xFF, 0xFF, 0xFF), rgb(0x68, 0x37, 0x2B), rgb(0x70, 0xA4, 0xB2),
    rgb(0x6F, 0x3D, 0x86), rgb(0x58, 0x8D, 0x43), rgb(0x35, 0x28, 0x79), rgb(0xB8, 0xC7, 0x6F),
    rgb(0x6F, 0x4F, 0x25), rgb(0x43, 0x39, 0x00), rgb(0x9A, 0x67, 0x59), rgb(0x44, 0x44, 0x44),
    rgb(0x6C, 0x6C, 0x6C), rgb(0x9A, 0xD2, 0x84), rgb(0x6C, 0x5E, 0xB5), rgb(0x95, 0x95, 0x95)};

const std::array<const char*, 16> C64ColourNames = {
    "black", "white",       "red",        "cyan",      "purple",    "green",
    "blue",  "yellow",      "orange",     "brown",     "light red", "dark grey",
    "grey",  "light green", "light blue", "light grey"};

const std::array<Colour, 16> Tms9918Palette = {
    rgb(0x00, 0x04, 0x00), rgb(0x00, 0x04, 0x00), rgb(0x34, 0xC0, 0x40), rgb(0x6B, 0xD6, 0x74),
    rgb(0x53, 0x58, 0xDD), rgb(0x7A, 0x7A, 0xED), rgb(0xB8, 0x61, 0x48), rgb(0x5A, 0xE2, 0xEA),
    rgb(0xDA, 0x68, 0x51), rgb(0xFE, 0x8B, 0x74), rgb(0xC8, 0xC8, 0x54), rgb(0xDA, 0xD5, 0x7E),
    rgb(0x30, 0xA9, 0x38), rgb(0xB4, 0x68, 0xAF), rgb(0xC6, 0xD0, 0xC5), rgb(0xF9, 0xFF, 0xF8)};

namespace {

long distance(Colour a, Colour b) {
    const long dr = redOf(a) - redOf(b), dg = greenOf(a) - greenOf(b), db = blueOf(a) - blueOf(b);
    return dr * dr + dg * dg + db * db;
}

} // namespace

int nearestColour(Colour colour, std::span<const Colour> palette) {
    int best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long d = distance(colour, palette[i]);
        if (bestDistance < 0 || d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

std::uint8_t zxAttribute(Colour ink, Colour paper) {
    int best = 0;
    long bestDistance = -1;
    for (const int bright : {0, 1}) {
        // Colour n: bit 0 blue, bit 1 red, bit 2 green, at Fuse's levels.
        const int level = bright ? 255 : 192;
        std::array<Colour, 8> palette{};
        for (int n = 0; n < 8; ++n)
            palette[static_cast<std::size_t>(n)] =
                rgb(n & 2 ? level : 0, n & 4 ? level : 0, n & 1 ? level : 0);
        const int i = nearestColour(ink, palette), p = nearestColour(paper, palette);
        const long d = distance(ink, palette[static_cast<std::size_t>(i)]) +
                       distance(paper, palette[static_cast<std::size_t>(p)]);
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = bright << 6 | p << 3 | i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

namespace {

std::string zxColourName(int colour, bool bright) {
    static constexpr const char* Names[8] = {"black", "blue", "red",    "magenta",
                                             "green", "cyan", "yellow", "white"};
    return std::string(bright && colour != 0 ? "bright " : "") + Names[colour & 7];
}

} // namespace

std::string zxInkName(std::uint8_t attribute) {
    return zxColourName(attribute & 7, attribute & 0x40);
}

std::string zxPaperName(std::uint8_t attribute) {
    return zxColourName(attribute >> 3 & 7, attribute & 0x40);
}

} // namespace tessaly::formats
