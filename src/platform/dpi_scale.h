#pragma once

#include <cstdint>

// How the program's lengths, given for a screen of 96 dots per inch, become pixels at the
// window's DPI. Controls and the windows' layout follow the scale exactly (rounded as
// MulDiv does); canvases grow by a whole factor only, so that every pixel of theirs stays
// a block of whole screen pixels.

namespace tessaly {

constexpr int BaseDpi = 96;

// `value` * dpi / 96, rounded half away from zero.
constexpr int scaledLength(int value, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    const std::int64_t half = BaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / BaseDpi
                                         : -((-product + half) / BaseDpi));
}

// The largest whole factor the screen's scale reaches: 1 up to 199 %, 2 from 200 %...
constexpr int canvasScale(int dpi) {
    return dpi < 2 * BaseDpi ? 1 : dpi / BaseDpi;
}

// Division rounding toward minus infinity, so that a screen pixel left of or above a
// canvas lies in its logical pixel -1, not 0.
constexpr int floorDivide(int value, int divisor) {
    const int quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

} // namespace tessaly
