#include "io/bmp.h"

namespace tessaly {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::vector<std::uint8_t> encodeBmp(const Surface& image) {
    const std::uint32_t width = static_cast<std::uint32_t>(image.width());
    const std::uint32_t height = static_cast<std::uint32_t>(image.height());
    const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * height;
    constexpr std::uint32_t headerBytes = 14 + 40;

    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + pixelBytes);
    put32(out, 0); // reserved
    put32(out, headerBytes);
    put32(out, 40);
    put32(out, width);
    put32(out, height); // positive: bottom-up rows
    put16(out, 1);      // planes
    put16(out, 24);     // bits per pixel
    put32(out, 0);      // no compression
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Colour c = image.pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(blueOf(c)));
            out.push_back(static_cast<std::uint8_t>(greenOf(c)));
            out.push_back(static_cast<std::uint8_t>(redOf(c)));
        }
        for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

} // namespace tessaly
