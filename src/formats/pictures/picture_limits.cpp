#include "formats/pictures/picture_limits.h"

namespace tessaly::formats {

std::string pictureSizeProblem(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1)
        return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels: it is empty";
    if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
        return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels: at most " + std::to_string(MaxPictureSide) + " a side and " +
               std::to_string(MaxPicturePixels / (1 << 20)) + " Mpixel in all are read or made";
    return {};
}

// Built by appending: GCC 12's optimiser warns, wrongly, about "(" + std::string&&.
std::string pixelText(int x, int y) {
    std::string out = "(";
    out += std::to_string(x);
    out += ", ";
    out += std::to_string(y);
    out += ')';
    return out;
}

} // namespace tessaly::formats
