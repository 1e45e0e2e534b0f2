#include "charset/transforms.h"

#include <algorithm>

namespace tessaly {

void transformGlyph(Glyph g, GlyphTransform op, const BitReverseTable& table) {
    switch (op) {
    case GlyphTransform::Invert:
        for (auto& b : g) b = static_cast<std::uint8_t>(b ^ 0xFF);
        break;
    case GlyphTransform::Clear: std::fill(g.begin(), g.end(), 0); break;
    case GlyphTransform::MirrorLeftRight:
        for (auto& b : g) b = static_cast<std::uint8_t>(table.entries[b]);
        break;
    case GlyphTransform::ShiftLeft:
        for (auto& b : g) b = static_cast<std::uint8_t>((b << 1) | (b >> 7));
        break;
    case GlyphTransform::ShiftRight:
        for (auto& b : g) b = static_cast<std::uint8_t>((b >> 1) | ((b & 1) << 7));
        break;
    case GlyphTransform::ShiftUp: std::rotate(g.begin(), g.begin() + 1, g.end()); break;
    case GlyphTransform::ShiftDown: std::rotate(g.begin(), g.end() - 1, g.end()); break;
    case GlyphTransform::MirrorUpDown: std::reverse(g.begin(), g.end()); break;
    }
}

} // namespace tessaly
