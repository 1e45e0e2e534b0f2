#include "app/charset_file.h"

#include "io/file_test.h"
#include "io/paths.h"
#ifdef _WIN32
#include "support/windows_files.h"
#else
#include "support/unprivileged.h"

#include <sys/stat.h>
#endif

namespace tessaly {
namespace {

struct CharsetFile : FileTest {
    void SetUp() override {
        FileTest::SetUp();
        t.app->charset.bytes.fill(0xEE);
        t.state().lastPath = "/before/";
    }
    void expectNothingLoaded() {
        for (std::uint8_t b : t.app->charset.bytes) ASSERT_EQ(b, 0xEE);
        EXPECT_EQ(t.state().lastPath, "/before/");
    }
};

TEST_F(CharsetFile, LoadsFromTheCurrentCharacterCutAtTheEndOfTheStore) {
    // The file's first `used` bytes land from the current glyph on, partial glyphs included.
    for (auto [current, size, used] : {std::tuple{0, 2048, 2048}, {255, 2048, 8}, {200, 1024, 448},
                                       {10, 5, 5}, {3, 3000, 2024}}) {
        t.app->charset.bytes.fill(0xEE);
        t.state().currentChar = static_cast<std::uint8_t>(current);
        const Bytes file = countingBytes(size, 0x11);
        loadCharsetFile(*t.app, write("set.fnt", file));
        for (int i = 0; i < CharsetBytes; ++i) {
            const bool loaded = i >= 8 * current && i < 8 * current + used;
            ASSERT_EQ(t.app->charset.bytes[i], loaded ? file[i - 8 * current] : 0xEE) << i;
        }
    }
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(t.state().lastPath, folder());
}

TEST_F(CharsetFile, MissingDirectoryAndEmptyFilesAreNoFileAndBlankPathsNothing) {
    std::filesystem::create_directory(path("folder"));
    const std::string paths[] = {path("missing.fnt"), path("folder"), write("empty.fnt", {})};
    for (const std::string& p : paths) loadCharsetFile(*t.app, p);
    loadCharsetFile(*t.app, "");
    loadCharsetFile(*t.app, "   ");
    EXPECT_EQ(t.platform.messages,
              (Messages{{"No file", paths[0]}, {"No file", paths[1]}, {"No file", paths[2]}}));
    expectNothingLoaded();
}

TEST_F(CharsetFile, AnUnreadableFileIsAReadError) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly has no processes to read as a user that permissions bind";
#endif
    const std::string locked = write("locked.fnt", countingBytes(16));
    const auto load = [&] {
        loadCharsetFile(*t.app, locked);
        const bool untouched =
            std::all_of(t.app->charset.bytes.begin(), t.app->charset.bytes.end(),
                        [](std::uint8_t b) { return b == 0xEE; }) &&
            t.state().lastPath == "/before/";
        return messageLines(t.platform.messages) + (untouched ? "" : "loaded");
    };
#ifdef _WIN32
    // Another program holds the file open for itself alone.
    const HeldOpen other(locked, 0);
    ASSERT_TRUE(other.held());
    const std::string shown = load();
#else
    ::chmod(locked.c_str(), 0);
    // Permissions do not stop root from reading: the load runs as a user they bind.
    const std::string shown = runUnprivileged(load);
#endif
    EXPECT_EQ(shown, "Read error|" + locked + "\n");
}

TEST_F(CharsetFile, OpenChoosesTheLoaderByTheFilterAndLastPathTakesTheChosenFolder) {
    command(CmdOpen, write("screen.map", {1, 2, 3, 4, 5}), 0);
    command(CmdOpen, write("font.fnt", {200, 201, 202}), 1);
    command(CmdOpen, path("sub/gone.fnt"), 0);
    const auto& d = t.platform.dialogs.at(0);
    EXPECT_EQ(d.kind + "|" + d.title + "|" + d.folder, "open|Please choose file to load|/before/");
    EXPECT_EQ(d.filters + "|" + std::to_string(d.filterIndex),
              "Font (*.fnt)|*.fnt|Character map (*.map)|*.map|0");
    EXPECT_EQ(t.platform.dialogs.at(1).folder, folder());
    // The .map file went into the store (and the views show it), the .fnt file into the map.
    EXPECT_EQ(text(GadgetDataField), "1,2,3,4,5,238,238,238");
    EXPECT_EQ(cell(2, 0), 202);
    EXPECT_EQ(cell(3, 0), 35);
    // A failed load still moves lastPath to the chosen folder; a cancelled dialog does not.
    EXPECT_EQ(t.platform.messages, (Messages{{"No file", path("sub/gone.fnt")}}));
    command(CmdOpen);
    EXPECT_EQ(t.state().lastPath, folder() + "sub/");
    EXPECT_EQ(directoryPart("C:\\fonts\\zx.fnt"), "C:\\fonts\\"); // either kind of slash
    EXPECT_EQ(directoryPart("/home/a\\b/c.fnt"), "/home/a\\b/");
    EXPECT_EQ(directoryPart("zx.fnt"), "");
}

} // namespace
} // namespace tessaly
