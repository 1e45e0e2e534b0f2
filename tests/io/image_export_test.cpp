#include "io/image_export.h"

#include "io/file_test.h"
#include "platform/ids.h"
#include "render/redraw.h"

namespace tessaly {
namespace {

using ImageExport = FileTest;
constexpr std::size_t BmpBytes = 54 + 256 * 256 * 3;

TEST_F(ImageExport, WritesTheOverviewAsA24BitBottomUpBmpWithoutTheCursor) {
    const Colour ink = rgb(10, 20, 30), paper = rgb(200, 150, 100);
    t.state().inkColour = ink;
    t.state().paperColour = paper;
    t.app->charset.bytes[17 * 8] = 0x80; // code 17: only its top-left pixel
    refresh(*t.app);                      // the cursor marker sits on code 0
    command(CmdSaveImage, dir.path("chars"));

    const Bytes f = TempFolder::read(dir.path("chars.bmp"));
    ASSERT_EQ(f.size(), BmpBytes);
    auto le = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | f[at + i];
        return v;
    };
    EXPECT_EQ(std::string(f.begin(), f.begin() + 2), "BM");
    const std::uint32_t header[] = {le(2, 4),  le(6, 4),  le(10, 4), le(14, 4), le(18, 4),
                                    le(22, 4), le(26, 2), le(28, 2), le(30, 4), le(34, 4)};
    const std::uint32_t want[] = {BmpBytes, 0, 54, 40, 256, 256, 1, 24, 0, 256 * 256 * 3};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(header[i], want[i]) << "header field " << i;
    for (int y = 0; y < 256; ++y) // positive height: the bottom row comes first
        for (int x = 0; x < 256; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(255 - y) * 768 + 3 * x;
            const Colour c = (x == 16 || x == 17) && (y == 16 || y == 17) ? ink : paper;
            ASSERT_EQ(rgb(f[at + 2], f[at + 1], f[at]), c) << x << "," << y;
        }
    const auto& d = t.platform.dialogs.back();
    EXPECT_EQ(d.title + "|" + d.filters, "Please choose file to save|.bmp|*.bmp");
    EXPECT_EQ(t.state().lastPath, dir.folder());
}

TEST_F(ImageExport, TheBmpExtensionIsAddedUnlessPresentAndAFailureIsAFileError) {
    command(CmdSaveImage, dir.path("a.Bmp"));
    command(CmdSaveImage, dir.path("b.png"));
    command(CmdSaveImage, dir.path("a.Bmp")); // again: replaced without a question
    EXPECT_EQ(TempFolder::read(dir.path("a.Bmp")).size(), BmpBytes);
    EXPECT_TRUE(t.platform.messages.empty());

    dir.write("afile", {1});
    command(CmdSaveImage, dir.path("afile/pic"));
    EXPECT_EQ(t.platform.messages,
              (Messages{{"Save file", "File Error:" + dir.path("afile/pic.bmp")}}));
    EXPECT_EQ(t.state().lastPath, dir.folder() + "afile/");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.Bmp", "afile", "b.png.bmp"}));
}

} // namespace
} // namespace tessaly
