#include "app/map_file.h"

#include "io/file_test.h"

namespace tessaly {
namespace {

struct MapFile : FileTest {
    // In row order the first n cells of the w x h map hold 0, 1, 2, ..., all others 32 + x.
    void expectLoaded(int w, int h, int n) {
        for (int y = 0; y < MapRows; ++y)
            for (int x = 0; x < MapColumns; ++x) {
                const int i = y * w + x;
                ASSERT_EQ(cell(x, y), x < w && y < h && i < n ? i & 0xFF : 32 + x)
                    << x << "," << y;
            }
    }
};

TEST_F(MapFile, FillsCellsInRowOrderAsUnsignedBytesAndNothingElse) {
    // A short file fills rows 0..18 and 8 cells of row 19; an empty one changes nothing,
    // without a message; both redraw.
    loadMapFile(*t.app, write("short.map", countingBytes(768)));
    scribble(GadgetMapCanvas);
    loadMapFile(*t.app, write("empty.map", {}));
    expectLoaded(40, 24, 768);
    EXPECT_TRUE(redrawn(GadgetMapCanvas));
    loadMapFile(*t.app, write("screen.map", countingBytes(960)));
    expectLoaded(40, 24, 960);
    EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(MapFile, LongerFilesAreRefusedAndThe80x50MapTakes4000Bytes) {
    const std::string screen = write("screen.map", countingBytes(960));
    command(CmdMapSize32x24);
    loadMapFile(*t.app, screen);
    EXPECT_EQ(t.platform.messages, (Messages{{"Open File", "to big map:" + screen}}));
    expectLoaded(32, 24, 0);
    command(CmdMapSize80x50);
    loadMapFile(*t.app, write("big.map", countingBytes(4001)));
    EXPECT_EQ(t.platform.messages.size(), 2u);
    loadMapFile(*t.app, write("big.map", countingBytes(4000)));
    EXPECT_EQ(t.platform.messages.size(), 2u);
    expectLoaded(80, 50, 4000);
}

TEST_F(MapFile, PathsThatCannotBeOpenedAreNeverTooBig) {
    std::filesystem::create_directory(path("folder"));
    const std::string paths[] = {path("missing.map"), path("folder"), ""};
    for (const std::string& p : paths) loadMapFile(*t.app, p);
    EXPECT_EQ(t.platform.messages, (Messages{{"Open File", "unable to open:" + paths[0]},
                                             {"Open File", "unable to open:" + paths[1]},
                                             {"Open File", "unable to open:"}}));
    expectLoaded(40, 24, 0);
}

} // namespace
} // namespace tessaly
