#pragma once

#include <array>
#include <cstdint>

namespace tessaly {

// Entry i holds i with its eight bits in reverse order; used by the left-right mirror.
struct BitReverseTable {
    std::array<std::uint32_t, 256> entries{};
};

void fillBitReverseTable(BitReverseTable& table);

} // namespace tessaly
