#include "charset/transforms.h"

#include "app/app.h"
#include "charset/ranges.h"
#include "render/redraw.h"

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

void applyTransform(App& app, GlyphTransform op) {
    int first = app.state.currentChar;
    int last = first;
    readRangeControls(app);
    if (app.state.rangeEnabled) {
        first = std::min(app.state.rangeBegin, app.state.rangeEnd);
        last = std::max(app.state.rangeBegin, app.state.rangeEnd);
    }
    for (int code = first; code <= last; ++code)
        transformGlyph(glyph(app.charset, code), op, app.bitReverse);
    refresh(app);
}

void eraseAll(App& app) {
    app.charset.bytes.fill(0);
    refresh(app);
}

} // namespace tessaly
