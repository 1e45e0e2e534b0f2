#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// A 32-bit pixel buffer that rendering writes directly and that the platform shows on
// screen. Colours are 24-bit values with red in the low byte (0x00BBGGRR); a stored
// pixel carries 0xFF in its top byte so that the buffer is a valid RGBX image in
// memory (bytes R, G, B, 0xFF). Every drawing operation is clipped to the buffer.

namespace tessaly {

using Colour = std::uint32_t;

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

class Surface {
  public:
    Surface() = default;
    Surface(int width, int height, Colour fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return pixels_.empty(); }

    // Pixel rows, width() pixels each, top row first. Access for writing notes the rows
    // as written.
    std::uint32_t* row(int y) {
        noteWritten(y, y + 1);
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    const std::uint32_t* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::uint32_t* data() {
        noteWritten(0, height_);
        return pixels_.data();
    }
    const std::uint32_t* data() const { return pixels_.data(); }

    // What changed since `shown`, a copy of the surface as a platform last showed it, and
    // brings `shown` up to date: rectangles of consecutive changed rows, each spanning their
    // changed columns; the whole surface when nothing was shown yet. Only the rows written
    // since the last call are compared, so a press that changes a few pixels costs little.
    std::vector<Rect> takeChanges(Surface& shown);

    // The colour at (x, y); 0 outside the buffer.
    Colour pixel(int x, int y) const;

    void setPixel(int x, int y, Colour c);
    void fillRect(int x, int y, int w, int h, Colour c);
    // One-pixel frame just inside the rectangle (x, y, w, h).
    void outlineRect(int x, int y, int w, int h, Colour c);
    // Copies src with its top-left corner at (x, y).
    void drawImage(const Surface& src, int x, int y);
    // A new surface holding the w x h region at (x, y); parts outside read as black.
    Surface copyRegion(int x, int y, int w, int h) const;

    static constexpr std::uint32_t stored(Colour c) { return (c & 0x00FFFFFFu) | 0xFF000000u; }

  private:
    // The rows from `first` up to `end` (first == end: none) hold every pixel written since
    // the last takeChanges, or since the surface was made.
    struct Rows {
        int first = 0;
        int end = 0;
    };

    void noteWritten(int first, int end) {
        written_.first = std::min(written_.first, first);
        written_.end = std::max(written_.end, end);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    Rows written_;
};

} // namespace tessaly
