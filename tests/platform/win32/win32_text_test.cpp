#include "platform/win32/dpi_scale.h"
#include "platform/win32/process_arguments.h"
#include "platform/win32/wheel_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The parts of the Windows editor that are plain logic: the raw command line, the wheel's
// steps and the lengths on scaled screens.

namespace tessaly {
namespace {

using namespace std::string_literals;
using Args = std::vector<std::string>;

TEST(Win32CommandLine, TheProgramPathComesOffAndTheRestIsSplitBySpaces) {
    const struct {
        std::string line;
        Args args;
    } cases[] = {
        {"", {}},
        {"tessaly.exe", {}},
        {"\"C:\\Program Files\\tessaly.exe\"", {}},
        {"tessaly.exe set.fnt", {"set.fnt"}},
        {"  tessaly.exe   a.fnt  b.fnt ", {"a.fnt", "b.fnt"}},
        {"\"C:\\Program Files\\tessaly.exe\" \"C:\\My Fonts\\a b.fnt\"", {"C:\\My Fonts\\a b.fnt"}},
        // The quoted path ends at its closing quote, whatever follows.
        {"\"C:\\x y\\tessaly.exe\"set.fnt", {"set.fnt"}},
        {"\"C:\\unterminated path\\tessaly.exe set.fnt", {}},
        // A tab ends the path, as it does for the system, but separates no arguments.
        {"tessaly.exe\tset.fnt", {"\tset.fnt"}},
        {"tessaly.exe a\tb.fnt", {"a\tb.fnt"}},
    };
    for (const auto& c : cases) EXPECT_EQ(argumentsOfCommandLine(c.line), c.args) << c.line;
}

TEST(Win32Wheel, RotationAddsUpToWholeStepsAndTurningBackDropsTheRest) {
    const struct {
        std::vector<int> deltas;
        std::vector<int> steps;
    } cases[] = {
        {{120, -120, 240, -360}, {1, -1, 2, -3}},
        {{40, 40, 40, 40}, {0, 0, 1, 0}},
        {{-60, -90, -90}, {0, -1, -1}},
        {{100, -30, -100}, {0, 0, -1}},
        {{90, 90, 90, 90}, {0, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        WheelSteps wheel;
        std::vector<int> steps;
        for (const int delta : c.deltas) steps.push_back(wheel.add(delta));
        EXPECT_EQ(steps, c.steps) << ::testing::PrintToString(c.deltas);
    }
}

TEST(Win32Dpi, LengthsRoundCanvasesGrowByWholeFactorsAndPixelsMapBackWithFloor) {
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
