#pragma once

#include "charset/charset.h"
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Shared by the picture tests: comparing pictures and making glyphs.

namespace tessaly::formats {

using Bytes = std::vector<std::uint8_t>;

inline ::testing::AssertionResult samePixels(const Surface& actual, const Surface& expected) {
    if (actual.width() != expected.width() || actual.height() != expected.height())
        return ::testing::AssertionFailure()
               << actual.width() << " x " << actual.height() << " pixels, expected "
               << expected.width() << " x " << expected.height();
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << actual.pixel(x, y)
                       << ", expected " << expected.pixel(x, y);
    return ::testing::AssertionSuccess();
}

// Glyphs with about one pixel in four set, so that paper is the most common colour.
inline Charset sparseSet(unsigned seed) {
    std::mt19937 random(seed);
    Charset set;
    for (auto& b : set.bytes)
        b = static_cast<std::uint8_t>(random() & random());
    return set;
}

} // namespace tessaly::formats
