#include "charset/bit_reverse_table.h"

namespace tessaly {

void fillBitReverseTable(BitReverseTable& table) {
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t v = i;
        std::uint32_t r = 0;
        for (int bit = 0; bit < 8; ++bit) {
            r = ((r << 1) | (v & 1)) & 0xFF;
            v >>= 1;
        }
        table.entries[i] = r;
    }
}

} // namespace tessaly
