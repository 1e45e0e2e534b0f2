#include "platform/surface.h"

#include <algorithm>
#include <utility>

namespace tessaly {

Surface::Surface(int width, int height, Colour fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, stored(fill)), written_{0, height_} {}

std::vector<Rect> Surface::takeChanges(Surface& shown) {
    const Rows written = written_;
    written_ = {height_, 0};
    if (shown.width_ != width_ || shown.height_ != height_) {
        shown = *this;
        shown.written_ = {height_, 0};
        return {Rect{0, 0, width_, height_}};
    }
    std::vector<Rect> changes;
    Rect band;
    for (int y = written.first; y < written.end; ++y) {
        const std::uint32_t* now = std::as_const(*this).row(y);
        std::uint32_t* was = shown.pixels_.data() + static_cast<std::size_t>(y) * width_;
        if (std::equal(now, now + width_, was)) {
            if (band.h > 0) changes.push_back(band);
            band = Rect{};
            continue;
        }
        int left = 0;
        while (now[left] == was[left])
            ++left;
        int right = width_ - 1;
        while (now[right] == was[right])
            --right;
        std::copy(now + left, now + right + 1, was + left);
        if (band.h == 0) band = Rect{left, y, right - left + 1, 0};
        const int x0 = std::min(band.x, left);
        const int x1 = std::max(band.x + band.w, right + 1);
        band = Rect{x0, band.y, x1 - x0, y + 1 - band.y};
    }
    if (band.h > 0) changes.push_back(band);
    return changes;
}

Colour Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return row(y)[x] & 0x00FFFFFFu;
}

void Surface::setPixel(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    row(y)[x] = stored(c);
}

void Surface::fillRect(int x, int y, int w, int h, Colour c) {
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width_);
    const int y1 = std::min(y + h, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const std::uint32_t v = stored(c);
    for (int yy = y0; yy < y1; ++yy) std::fill(row(yy) + x0, row(yy) + x1, v);
}

void Surface::outlineRect(int x, int y, int w, int h, Colour c) {
    if (w <= 0 || h <= 0) return;
    fillRect(x, y, w, 1, c);
    fillRect(x, y + h - 1, w, 1, c);
    fillRect(x, y, 1, h, c);
    fillRect(x + w - 1, y, 1, h, c);
}

void Surface::drawImage(const Surface& src, int x, int y) {
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min(x + src.width(), width_);
    const int y1 = std::min(y + src.height(), height_);
    if (x0 >= x1 || y0 >= y1) return;
    for (int yy = y0; yy < y1; ++yy) {
        const std::uint32_t* from = src.row(yy - y) + (x0 - x);
        std::copy(from, from + (x1 - x0), row(yy) + x0);
    }
}

Surface Surface::copyRegion(int x, int y, int w, int h) const {
    Surface out(w, h, 0);
    for (int yy = 0; yy < out.height(); ++yy)
        for (int xx = 0; xx < out.width(); ++xx) {
            const int sx = x + xx, sy = y + yy;
            if (sx >= 0 && sy >= 0 && sx < width_ && sy < height_) out.row(yy)[xx] = row(sy)[sx];
        }
    return out;
}

} // namespace tessaly
