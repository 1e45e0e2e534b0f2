// The pictures we write, read by ImageMagick, and the variants ImageMagick writes read by
// us: both sides must see the same pixels.

#include "formats/pictures/picture.h"

#include "formats/picture_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace tessaly::formats {
namespace {

namespace fs = std::filesystem;

struct ImageMagick : ::testing::Test {
    const fs::path dir =
        fs::temp_directory_path() / ("tessaly-pictures-" + std::to_string(::getpid()));
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    Bytes read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Runs a shell command in the folder; its standard output.
    static Bytes run(const std::string& command) {
        Bytes out;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) {
            ADD_FAILURE() << "cannot run " << command;
            return out;
        }
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.insert(out.end(), buffer, buffer + n);
        EXPECT_EQ(::pclose(pipe), 0) << command;
        return out;
    }
    // The pixels of a file as ImageMagick reads them, R, G, B bytes, alpha left out.
    Bytes pixelsByImageMagick(const std::string& name) const {
        return run("convert '" + path(name) + "' -alpha off -depth 8 rgb:-");
    }
    // The pixels as ImageMagick reads them, as we decode them: alpha 0 is TransparentPixel.
    std::vector<std::uint32_t> decodedByImageMagick(const std::string& name) const {
        const Bytes rgba = run("convert '" + path(name) + "' -depth 8 rgba:-");
        std::vector<std::uint32_t> out;
        for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
            out.push_back(rgba[i + 3] == 0
                              ? TransparentPixel
                              : Surface::stored(rgb(rgba[i], rgba[i + 1], rgba[i + 2])));
        return out;
    }
};

Bytes rgbBytes(const Surface& p) {
    Bytes out;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const Colour c = p.pixel(x, y);
            out.insert(out.end(),
                       {static_cast<std::uint8_t>(redOf(c)), static_cast<std::uint8_t>(greenOf(c)),
                        static_cast<std::uint8_t>(blueOf(c))});
        }
    return out;
}

// 13 x 7 (odd, so BMP rows are padded and interlace passes are partial) in six colours, and
// the same pattern in six greys.
Surface sample(bool grey) {
    const Colour colours[] = {rgb(0, 0, 0),   rgb(255, 255, 255), rgb(200, 10, 20),
                              rgb(5, 60, 90), rgb(17, 200, 33),   rgb(128, 128, 0)};
    const int greys[] = {0, 255, 17, 128, 77, 200};
    Surface p(13, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const int i = (x * 3 + y * 5 + x * y) % 6;
            p.setPixel(x, y, grey ? rgb(greys[i], greys[i], greys[i]) : colours[i]);
        }
    return p;
}

TEST_F(ImageMagick, ReadsOurPngsAndBmpsWithExactlyOurPixels) {
    const Charset set = sparseSet(11);
    const Surface pictures[] = {sample(false),
                                glyphGridPicture(set, 0, 40, 3, rgb(1, 2, 3), rgb(254, 253, 252))};
    for (const Surface& p : pictures)
        for (const auto& [type, name, format] : {std::tuple{PictureType::Png, "x.png", "PNG"},
                                                 std::tuple{PictureType::Bmp, "x.bmp", "BMP3"}}) {
            write(name, encodePicture(p, type));
            const std::string expected = std::string(format) + " " + std::to_string(p.width()) +
                                         " " + std::to_string(p.height());
            const Bytes identified = run("identify -format '%m %w %h' '" + path(name) + "'");
            EXPECT_EQ(std::string(identified.begin(), identified.end()), expected);
            EXPECT_TRUE(pixelsByImageMagick(name) == rgbBytes(p)) << expected;
        }
}

TEST_F(ImageMagick, EveryPngAndBmpLayoutItWritesDecodesToItsPixels) {
    const struct {
        bool grey;
        std::string options;                             // for convert, the output's name ends them
        std::vector<std::pair<std::size_t, int>> header; // bytes that show the layout
    } cases[] = {
        // PNG: byte 24 is the bit depth, 25 the colour type, 28 the interlace method.
        {false, "PNG24:x.png", {{24, 8}, {25, 2}, {28, 0}}},
        {false, "-interlace PNG PNG24:x.png", {{24, 8}, {25, 2}, {28, 1}}},
        {false, "PNG48:x.png", {{24, 16}, {25, 2}}},
        {false, "-alpha set -channel A -evaluate set 40% +channel PNG32:x.png", {{24, 8}, {25, 6}}},
        {false,
         "-alpha set -channel A -evaluate set 40% +channel -define png:bit-depth=16 "
         "-define png:color-type=6 x.png",
         {{24, 16}, {25, 6}}},
        {false, "PNG8:x.png", {{24, 8}, {25, 3}}},
        {false, "-define png:bit-depth=4 PNG8:x.png", {{24, 4}, {25, 3}}},
        {false, "-transparent 'rgb(200,10,20)' PNG8:x.png", {{24, 8}, {25, 3}}}, // with tRNS
        {false, "-transparent 'rgb(200,10,20)' -define png:color-type=2 x.png", {{25, 2}}},
        {true, "-type Grayscale x.png", {{24, 8}, {25, 0}}},
        {true, "-define png:bit-depth=16 -define png:color-type=0 x.png", {{24, 16}, {25, 0}}},
        {true, "-threshold 50% -type Bilevel x.png", {{24, 1}, {25, 0}}},
        {true,
         "-alpha set -channel A -evaluate set 40% +channel -define png:color-type=4 x.png",
         {{24, 8}, {25, 4}}},
        // BMP: byte 14 is the header size, 28 the bits a pixel, 30 the compression.
        {false, "-type TrueColor BMP3:x.bmp", {{14, 40}, {28, 24}, {30, 0}}},
        {false, "-type Palette -colors 2 BMP3:x.bmp", {{14, 40}, {28, 1}, {30, 0}}},
        {true, "-type Bilevel BMP3:x.bmp", {{28, 1}, {30, 0}}},
        {false, "-type Palette BMP3:x.bmp", {{28, 4}, {30, 0}}},
        {false, "-type Palette BMP:x.bmp", {{14, 124}, {28, 4}, {30, 0}}}, // palette at 138
        {false, "-blur 0x1 -type Palette -compress None BMP3:x.bmp", {{28, 8}, {30, 0}}},
        {false, "-type Palette -compress RLE BMP3:x.bmp", {{14, 40}, {28, 8}, {30, 1}}},
        {false, "-blur 0x1 -type Palette -compress RLE BMP:x.bmp", {{14, 124}, {28, 8}, {30, 1}}},
        {false,
         "-transparent 'rgb(200,10,20)' -type TrueColorAlpha BMP:x.bmp",
         {{14, 124}, {28, 32}, {30, 3}}},
        {false, "-type TrueColorAlpha BMP:x.bmp", {{14, 124}, {28, 32}, {30, 3}}},
        {false,
         "-alpha set -channel A -evaluate set 40% +channel -type TrueColorAlpha BMP:x.bmp",
         {{14, 124}, {28, 32}, {30, 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        write("source.rgb", rgbBytes(sample(c.grey)));
        run("cd '" + dir.string() + "' && convert -size 13x7 -depth 8 rgb:source.rgb " + c.options);
        const std::string last = c.options.substr(c.options.rfind(' ') + 1); // [FORMAT:]name
        const std::string file = last.substr(last.find(':') + 1);
        const Bytes bytes = read(file);
        for (const auto& [at, value] : c.header) {
            ASSERT_LT(at, bytes.size());
            EXPECT_EQ(bytes[at], value) << "byte " << at;
        }
        Surface picture;
        std::string error;
        ASSERT_TRUE(decodePicture(bytes, picture, error)) << error;
        EXPECT_EQ(picture.width(), 13);
        EXPECT_EQ(picture.height(), 7);
        EXPECT_TRUE(std::vector<std::uint32_t>(picture.data(), picture.data() + 13 * 7) ==
                    decodedByImageMagick(file));
    }
}

} // namespace
} // namespace tessaly::formats
