#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The code orders of the machines whose sets are built in, and ISO 8859-1: each code's
// character in Unicode, to lay a font that carries Unicode out in a machine's order.

namespace tessaly::formats {

struct MachineOrder {
    std::string_view name;             // as --order takes it
    std::string_view title;            // e.g. "IBM PC code page 437"
    std::array<char32_t, 256> unicode; // each code's character, 0 where the code has none
    // For each code whose glyph is another code's glyph with every pixel flipped (the
    // machine's reversed characters) that other code, else -1. Such codes have `unicode` 0.
    std::array<std::int16_t, 256> inverseOf;
};

// cga, pc866, c64, atari, zx, zx80, ace, microsha, latin1, in that order.
std::span<const MachineOrder> machineOrders();

// The order of that name, nullptr for none.
const MachineOrder* machineOrderNamed(std::string_view name);

} // namespace tessaly::formats
