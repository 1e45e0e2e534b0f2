#include "io/map_file.h"

#include "io/file_test.h"
#include "platform/ids.h"

namespace tessaly {
namespace {

using MapFile = FileTest;

// In row order the first n cells hold the bytes 0, 1, 2, ..., the rest their first value 32 + x.
void expectLoaded(const ScreenMap& map, int w, int h, int n) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(map.at(x, y), y * w + x < n ? (y * w + x) & 0xFF : 32 + x) << x << "," << y;
}

TEST_F(MapFile, FillsCellsInRowOrderAndChangesNothingElse) {
    // A short file fills rows 0..18 and 8 cells of row 19; an empty one changes nothing,
    // without a message; both redraw.
    LoadMapFile(*t.app, dir.write("short.map", countingBytes(768)));
    LoadMapFile(*t.app, dir.write("empty.map", {}));
    expectLoaded(t.app->screenMap, 40, 24, 768);
    EXPECT_EQ(t.platform.canvasDrawCount[GadgetMapCanvas], 2);

    t.state().selectedMapX = 7;
    t.state().currentChar = 9;
    t.state().lastPath = "/keep/";
    LoadMapFile(*t.app, dir.write("screen.map", countingBytes(960)));
    expectLoaded(t.app->screenMap, 40, 24, 960);
    EXPECT_EQ(t.app->screenMap.at(0, 1), 40);
    EXPECT_EQ(t.app->screenMap.at(8, 6), 248); // bytes above 127 stay unsigned
    EXPECT_EQ(t.app->screenMap.at(40, 0), 72); // the spare column and row are not read into
    EXPECT_EQ(t.app->screenMap.at(0, 24), 32);
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(std::pair(t.state().mapWidth, t.state().mapHeight), std::pair(40, 24));
    EXPECT_EQ(t.state().selectedMapX, 7);
    EXPECT_EQ(t.state().currentChar, 9);
    EXPECT_EQ(t.state().lastPath, "/keep/");
}

TEST_F(MapFile, LongerFilesAreRefusedAndThe80x50MapTakes4000Bytes) {
    const std::string path = dir.write("screen.map", countingBytes(960));
    command(CmdMapSize32x24);
    const ScreenMap before = t.app->screenMap;
    LoadMapFile(*t.app, path);
    EXPECT_EQ(t.platform.messages, (Messages{{"Open File", "to big map:" + path}}));
    EXPECT_EQ(t.app->screenMap.cells, before.cells);

    command(CmdMapSize80x50);
    LoadMapFile(*t.app, dir.write("big.map", countingBytes(4001)));
    EXPECT_EQ(t.platform.messages.size(), 2u);
    LoadMapFile(*t.app, dir.write("big.map", countingBytes(4000)));
    EXPECT_EQ(t.platform.messages.size(), 2u);
    expectLoaded(t.app->screenMap, 80, 50, 4000);
}

TEST_F(MapFile, PathsThatCannotBeOpenedAreNeverTooBig) {
    std::filesystem::create_directory(dir.path("folder"));
    const ScreenMap before = t.app->screenMap;
    const std::string paths[] = {dir.path("missing.map"), dir.path("folder"), ""};
    for (const std::string& p : paths) LoadMapFile(*t.app, p);
    EXPECT_EQ(t.platform.messages, (Messages{{"Open File", "unable to open:" + paths[0]},
                                             {"Open File", "unable to open:" + paths[1]},
                                             {"Open File", "unable to open:"}}));
    EXPECT_EQ(t.app->screenMap.cells, before.cells);
}

} // namespace
} // namespace tessaly
