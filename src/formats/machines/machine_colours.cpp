#include "formats/machines/machine_colours.h"

namespace tessaly::formats {

const std::array<Colour, 16> Tms9918Palette = {
    rgb(0x00, 0x04, 0x00), rgb(0x00, 0x04, 0x00), rgb(0x34, 0xC0, 0x40), rgb(0x6B, 0xD6, 0x74),
    rgb(0x53, 0x58, 0xDD), rgb(0x7A, 0x7A, 0xED), rgb(0xB8, 0x61, 0x48), rgb(0x5A, 0xE2, 0xEA),
    rgb(0xDA, 0x68, 0x51), rgb(0xFE, 0x8B, 0x74), rgb(0xC8, 0xC8, 0x54), rgb(0xDA, 0xD5, 0x7E),
    rgb(0x30, 0xA9, 0x38), rgb(0xB4, 0x68, 0xAF), rgb(0xC6, 0xD0, 0xC5), rgb(0xF9, 0xFF, 0xF8)};

int nearestColour(Colour colour, std::span<const Colour> palette) {
    int best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = redOf(colour) - redOf(palette[i]);
        const long dg = greenOf(colour) - greenOf(palette[i]);
        const long db = blueOf(colour) - blueOf(palette[i]);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace tessaly::formats
