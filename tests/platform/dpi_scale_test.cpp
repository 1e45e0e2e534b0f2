#include "platform/dpi_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessaly {
namespace {

TEST(DpiScale, LengthsRoundCanvasesGrowByWholeFactorsAndPixelsMapBackWithFloor) {
    const struct {
        int dpi, scale;
        std::vector<int> lengths; // of 1, 261 and -3 at 96 DPI
    } cases[] = {{96, 1, {1, 261, -3}},  {120, 1, {1, 326, -4}}, {144, 1, {2, 392, -5}},
                 {191, 1, {2, 519, -6}}, {192, 2, {2, 522, -6}}, {288, 3, {3, 783, -9}},
                 {336, 3, {4, 914, -11}}};
    for (const auto& c : cases) {
        EXPECT_EQ(canvasScale(c.dpi), c.scale) << c.dpi;
        EXPECT_EQ((std::vector{scaledLength(1, c.dpi), scaledLength(261, c.dpi),
                               scaledLength(-3, c.dpi)}),
                  c.lengths)
            << c.dpi;
    }
    // Screen pixels left of a canvas magnified 2 or 3 times lie in its pixel -1, -2...
    std::vector<int> byTwo, byThree;
    for (const int pixel : {-7, -4, -3, -1, 0, 1, 2, 5}) {
        byTwo.push_back(floorDivide(pixel, 2));
        byThree.push_back(floorDivide(pixel, 3));
    }
    EXPECT_EQ(byTwo, (std::vector{-4, -2, -2, -1, 0, 0, 1, 2}));
    EXPECT_EQ(byThree, (std::vector{-3, -2, -1, -1, 0, 0, 0, 1}));
}

} // namespace
} // namespace tessaly
