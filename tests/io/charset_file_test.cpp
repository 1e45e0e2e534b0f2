#include "io/charset_file.h"

#include "io/file_test.h"
#include "platform/ids.h"

#include <sys/stat.h>

namespace tessaly {
namespace {

struct CharsetFile : FileTest {
    void SetUp() override {
        FileTest::SetUp();
        t.app->charset.bytes.fill(0xEE);
        t.state().lastPath = "/before/";
    }
};

TEST_F(CharsetFile, LoadsFromTheCurrentCharacterCutAtTheEndOfTheStore) {
    struct Case { int current; std::size_t size; int used; };
    for (Case c : {Case{0, 2048, 2048}, Case{65, 768, 768}, Case{255, 2048, 8},
                   Case{200, 1024, 448}, Case{10, 5, 5}, Case{3, 3000, 2024}}) {
        SCOPED_TRACE(c.current);
        t.app->charset.bytes.fill(0xEE);
        t.state().currentChar = static_cast<std::uint8_t>(c.current);
        const Bytes file = countingBytes(c.size, 0x11);
        LoadCharsetFile(*t.app, dir.write("set.fnt", file));
        const int offset = 8 * c.current;
        for (int i = 0; i < CharsetBytes; ++i) {
            const bool loaded = i >= offset && i < offset + c.used;
            ASSERT_EQ(t.app->charset.bytes[i], loaded ? file[i - offset] : 0xEE) << i;
        }
    }
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(t.state().lastPath, dir.folder());
}

TEST_F(CharsetFile, MissingDirectoryAndEmptyFilesAreNoFileAndBlankPathsNothing) {
    std::filesystem::create_directory(dir.path("folder"));
    const std::string paths[] = {dir.path("missing.fnt"), dir.path("folder"),
                                 dir.write("empty.fnt", {})};
    for (const std::string& p : paths) LoadCharsetFile(*t.app, p);
    LoadCharsetFile(*t.app, "");
    LoadCharsetFile(*t.app, "   ");
    EXPECT_EQ(t.platform.messages,
              (Messages{{"No file", paths[0]}, {"No file", paths[1]}, {"No file", paths[2]}}));
    for (std::uint8_t b : t.app->charset.bytes) ASSERT_EQ(b, 0xEE);
    EXPECT_EQ(t.state().lastPath, "/before/");
}

TEST_F(CharsetFile, AnUnreadableFileIsAReadError) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root from reading";
    const std::string path = dir.write("locked.fnt", countingBytes(16));
    ::chmod(path.c_str(), 0);
    LoadCharsetFile(*t.app, path);
    EXPECT_EQ(t.platform.messages, (Messages{{"Read error", path}}));
    EXPECT_EQ(t.app->charset.bytes[0], 0xEE);
    EXPECT_EQ(t.state().lastPath, "/before/");
}

TEST_F(CharsetFile, OpenChoosesTheLoaderByTheFilterNeverByTheExtension) {
    command(CmdOpen, dir.write("screen.map", {1, 2, 3, 4, 5}), 0);
    command(CmdOpen, dir.write("font.fnt", {200, 201, 202}), 1);
    command(CmdOpen, dir.path("sub/gone.fnt"), 0);
    command(CmdOpen); // cancelled: changes nothing
    ASSERT_EQ(t.platform.dialogs.size(), 4u);
    const auto& d = t.platform.dialogs[0];
    EXPECT_EQ(d.kind + "|" + d.title + "|" + d.folder, "open|Please choose file to load|/before/");
    EXPECT_EQ(d.filters, "Font (*.fnt)|*.fnt|Character map (*.map)|*.map");
    EXPECT_EQ(d.filterIndex, 0);
    EXPECT_EQ(t.platform.dialogs[1].folder, dir.folder());
    // The .map file went into the store (and the views show it), the .fnt file into the map.
    EXPECT_EQ(t.platform.controls.at(GadgetDataField).text, "1,2,3,4,5,238,238,238");
    EXPECT_EQ(t.app->screenMap.at(2, 0), 202);
    EXPECT_EQ(t.app->screenMap.at(3, 0), 35);
    // A failed load still moves lastPath to the chosen folder.
    EXPECT_EQ(t.platform.messages, (Messages{{"No file", dir.path("sub/gone.fnt")}}));
    EXPECT_EQ(t.state().lastPath, dir.folder() + "sub/");
}

} // namespace
} // namespace tessaly
