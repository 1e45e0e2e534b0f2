#include "app/image_export.h"

#include "io/file_test.h"

namespace tessaly {
namespace {

using ImageExport = FileTest;
constexpr std::size_t BmpBytes = 54 + 256 * 256 * 3;

TEST_F(ImageExport, WritesTheOverviewAsA24BitBottomUpBmpWithoutTheCursor) {
    const Colour ink = rgb(10, 20, 30), paper = rgb(200, 150, 100);
    t.state().inkColour = ink;
    t.state().paperColour = paper;
    t.app->charset.bytes[17 * 8] = 0x80; // code 17: only its top-left pixel
    select(1);                            // the cursor marker goes to code 1
    command(CmdSaveImage, path("chars"));

    const Bytes f = readFile(path("chars.bmp"));
    ASSERT_EQ(f.size(), BmpBytes);
    // "BM", file size, 0, pixel offset 54, header size 40, 256 x 256, 1 plane, 24 bits, no
    // compression, pixel bytes.
    const Bytes header = {'B', 'M', 0x36, 0, 3, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0, 1,
                          0, 0, 0, 1, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 0, 0, 3, 0};
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 38), header);
    // Rows bottom-up, each pixel blue, green, red: only (16..17, 16..17) is ink.
    Surface image(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const std::size_t i = 54 + static_cast<std::size_t>(255 - y) * 768 + 3 * x;
            image.setPixel(x, y, rgb(f[i + 2], f[i + 1], f[i]));
        }
    expectPixels(image, ink, {16, 16, 17, 17});
    expectPixels(image, paper, {16, 15, 18, 16, 17, 0}); // (17, 0) under the cursor marker
    EXPECT_EQ(countColour(image, ink), 4);
    EXPECT_EQ(countColour(image, paper), 256 * 256 - 4);
}

TEST_F(ImageExport, TheBmpExtensionIsAddedUnlessPresentAndAFailureIsAFileError) {
    command(CmdSaveImage, path("a.Bmp"));
    command(CmdSaveImage, path("b.png"));
    command(CmdSaveImage, path("a.Bmp")); // again: replaced without a question
    EXPECT_EQ(readFile(path("a.Bmp")).size(), BmpBytes);
    EXPECT_TRUE(t.platform.messages.empty());

    write("afile", {1});
    command(CmdSaveImage, path("afile/pic"));
    EXPECT_EQ(t.platform.messages,
              (Messages{{"Save file", "File Error:" + path("afile/pic.bmp")}}));
    EXPECT_EQ(t.state().lastPath, folder() + "afile/");
    EXPECT_EQ(names(), (std::vector<std::string>{"a.Bmp", "afile", "b.png.bmp"}));
}

} // namespace
} // namespace tessaly
