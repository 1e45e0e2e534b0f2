#pragma once

#include <array>
#include <span>
#include <string_view>

// The code orders of the machines whose sets are built in, each code's character in
// Unicode, to lay a font that carries Unicode out in a machine's order.

namespace tessaly::formats {

struct MachineOrder {
    std::string_view name;             // as --order takes it
    std::string_view title;            // e.g. "IBM PC code page 437"
    std::array<char32_t, 256> unicode; // each code's character, 0 where the code has none
    // Codes whose glyph is the inverse (all pixels flipped) of the glyph at code - 128,
    // as the machines draw their reversed characters; their `unicode` is 0.
    std::array<bool, 256> inverse;
};

// cga, pc866, c64, atari, zx, zx80, ace, microsha, latin1, in that order.
std::span<const MachineOrder> machineOrders();

// The order of that name, nullptr for none.
const MachineOrder* machineOrderNamed(std::string_view name);

} // namespace tessaly::formats
