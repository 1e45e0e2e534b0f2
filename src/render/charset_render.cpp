#include "render/charset_render.h"

#include "render/pixels.h"

#include <algorithm>

namespace tessaly {

void renderCharsetImage(Surface& image, const Charset& set, Colour ink, Colour paper) {
    const std::uint32_t inkPixel = Surface::stored(ink);
    const std::uint32_t paperPixel = Surface::stored(paper);
    const int rows = std::min(image.height(), 256);
    const int width = std::min(image.width(), 256);
    if (width < 256) {
        // A smaller target would be clipped; draw through the clipped primitives instead.
        image.fillRect(0, 0, image.width(), image.height(), paper);
        for (int code = 0; code < GlyphCount; ++code)
            for (int k = 0; k < 8; ++k)
                for (int b = 0; b < 8; ++b)
                    if (set.bytes[code * 8 + k] & pixelMask(b))
                        image.fillRect(16 * (code % 16) + 2 * b, 16 * (code / 16) + 2 * k, 2, 2,
                                       ink);
        return;
    }
    for (int y = 0; y < rows; y += 2) {
        const int cellRow = y / 16;
        const int k = (y % 16) / 2;
        std::uint32_t* out = image.row(y);
        for (int c = 0; c < 16; ++c)
            out = expandRowByte(out, set.bytes[(cellRow * 16 + c) * 8 + k], inkPixel, paperPixel,
                                2);
        if (y + 1 < rows) std::copy(image.row(y), image.row(y) + 256, image.row(y + 1));
    }
}

void renderCharsetImageChanges(Surface& image, const Charset& set, const Charset& shown, Colour ink,
                               Colour paper) {
    if (image.width() < 256 || image.height() < 256) {
        renderCharsetImage(image, set, ink, paper);
        return;
    }
    const std::uint32_t inkPixel = Surface::stored(ink);
    const std::uint32_t paperPixel = Surface::stored(paper);
    for (int code = 0; code < GlyphCount; ++code) {
        if (sameGlyph(set, shown, code)) continue;
        const ConstGlyph g = glyph(set, code);
        const int x = 16 * (code % 16);
        const int y = 16 * (code / 16);
        for (int k = 0; k < 8; ++k) {
            std::uint32_t* out = image.row(y + 2 * k) + x;
            expandRowByte(out, g[k], inkPixel, paperPixel, 2);
            std::copy(out, out + 16, image.row(y + 2 * k + 1) + x);
        }
    }
}

void renderCursorMarker(Surface& canvas, int column, int row) {
    const int x0 = 16 * column;
    const int y0 = 16 * row;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            if ((i + j) % 2 == 1) canvas.setPixel(x0 + j, y0 + i, MarkerColour);
}

namespace {

// Row y (0..127) of the enlarged glyph, on a canvas at least 128 pixels wide. Row by row,
// the same pixels as the clipped drawing: ink squares of 15 x 15 from each cell's corner,
// then the dotted lines along x and y = 0, 16, ..., 112, white on even positions and black
// on odd ones, so each cell's last row and column stay paper.
void renderGlyphEditorRow(Surface& canvas, int y, ConstGlyph g, Colour ink, Colour paper) {
    const std::uint32_t whitePixel = Surface::stored(rgb(255, 255, 255));
    const std::uint32_t blackPixel = Surface::stored(rgb(0, 0, 0));
    std::uint32_t* out = canvas.row(y);
    const int offset = y % 16;
    if (offset == 0) {
        for (int x = 0; x < 128; ++x)
            out[x] = (x % 2 == 0) ? whitePixel : blackPixel;
        return;
    }
    const std::uint8_t bits = offset == 15 ? 0 : g[y / 16];
    const std::uint32_t dot = (y % 2 == 0) ? whitePixel : blackPixel;
    for (int b = 0; b < 8; ++b) {
        std::uint32_t* cell = out + 16 * b;
        const std::uint32_t fill = Surface::stored((bits & pixelMask(b)) ? ink : paper);
        cell[0] = dot;
        std::fill(cell + 1, cell + 15, fill);
        cell[15] = Surface::stored(paper);
    }
}

} // namespace

void renderGlyphEditor(Surface& canvas, ConstGlyph g, Colour ink, Colour paper) {
    const Colour white = rgb(255, 255, 255);
    const Colour black = rgb(0, 0, 0);
    if (canvas.width() < 128 || canvas.height() < 128) {
        // A smaller target is clipped: draw through the clipped primitives.
        canvas.fillRect(0, 0, 128, 128, paper);
        for (int k = 0; k < 8; ++k)
            for (int b = 0; b < 8; ++b)
                if (g[k] & pixelMask(b)) canvas.fillRect(16 * b, 16 * k, 15, 15, ink);
        for (int i = 0; i < 8; ++i)
            for (int d = 0; d < 128; d += 2) {
                canvas.setPixel(16 * i, d, white);
                canvas.setPixel(16 * i, d + 1, black);
                canvas.setPixel(d, 16 * i, white);
                canvas.setPixel(d + 1, 16 * i, black);
            }
        return;
    }
    for (int y = 0; y < 128; ++y)
        renderGlyphEditorRow(canvas, y, g, ink, paper);
}

void renderGlyphEditorChanges(Surface& canvas, ConstGlyph g, ConstGlyph shown, Colour ink,
                              Colour paper) {
    if (canvas.width() < 128 || canvas.height() < 128) {
        renderGlyphEditor(canvas, g, ink, paper);
        return;
    }
    for (int k = 0; k < 8; ++k)
        if (g[k] != shown[k])
            for (int y = 16 * k + 1; y < 16 * k + 15; ++y)
                renderGlyphEditorRow(canvas, y, g, ink, paper);
}

std::string glyphDataText(ConstGlyph g) {
    std::string text;
    for (int k = 0; k < 8; ++k) {
        if (k > 0) text += ',';
        text += std::to_string(g[k]);
    }
    return text;
}

} // namespace tessaly
