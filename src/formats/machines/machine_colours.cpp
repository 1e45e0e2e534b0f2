#include "formats/machines/machine_colours.h"

namespace tessaly::formats {

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
