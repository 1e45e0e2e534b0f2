#include "io/save.h"

#include "io/file_test.h"
#include "io/paths.h"
#include "platform/ids.h"

namespace tessaly {
namespace {

using Names = std::vector<std::string>;

struct Save : FileTest {
    void SetUp() override {
        FileTest::SetUp();
        for (int i = 0; i < CharsetBytes; ++i)
            t.app->charset.bytes[i] = static_cast<std::uint8_t>(i % 251);
    }
    Bytes store(int from, int n) {
        return {t.app->charset.bytes.begin() + from, t.app->charset.bytes.begin() + from + n};
    }
};

TEST_F(Save, CharsetFilesStartAtTheCurrentCharacterAndMustEndInsideTheStore) {
    struct Case { int current, command, bytes; };
    for (Case c : {Case{32, CmdSaveCharset768, 768}, Case{160, CmdSaveCharset768, 768},
                   Case{128, CmdSaveCharset1024, 1024}, Case{0, CmdSaveCharset2048, 2048}}) {
        t.state().currentChar = static_cast<std::uint8_t>(c.current);
        const std::string path = dir.path("set" + std::to_string(c.current) + ".fnt");
        command(c.command, path);
        EXPECT_EQ(TempFolder::read(path), store(8 * c.current, c.bytes)) << c.current;
    }
    const auto& d = t.platform.dialogs.at(0);
    EXPECT_EQ(d.kind + "|" + d.title + "|" + d.folder,
              "save|Please choose file to save|/home/user/fonts/");
    EXPECT_EQ(d.filters, "Font (*.fnt)|*.fnt");
    EXPECT_EQ(d.filterIndex, 0);
    EXPECT_EQ(t.platform.dialogs.at(1).folder, dir.folder());

    // Too far along the store: refused before any dialog.
    t.platform.dialogs.clear();
    using P = std::pair<int, int>;
    for (auto [current, id] :
         {P{1, CmdSaveCharset2048}, P{161, CmdSaveCharset768}, P{129, CmdSaveCharset1024}}) {
        t.state().currentChar = static_cast<std::uint8_t>(current);
        command(id, dir.path("refused.fnt"));
    }
    EXPECT_EQ(t.platform.messages, Messages(3, {"Save File", "out of size"}));
    EXPECT_TRUE(t.platform.dialogs.empty());
    EXPECT_EQ(dir.names().size(), 4u);
}

TEST_F(Save, TheExtensionIsAddedUnlessTheLastFourCharactersMatchIgnoringCase) {
    dir.write("SET.FNT", Bytes(5000, 0xAB)); // replaced without a question
    command(CmdSaveCharset2048, dir.path("set.fn"));
    command(CmdSaveCharset2048, dir.path("SET.FNT"));
    command(CmdSaveCharset2048, dir.path("plain"));
    command(CmdSaveMap, dir.path("screen.fnt"));
    command(CmdSaveMap, dir.path("level.MaP"));
    // No temporary file is left beside them.
    EXPECT_EQ(dir.names(),
              (Names{"SET.FNT", "level.MaP", "plain.fnt", "screen.fnt.map", "set.fn.fnt"}));
    EXPECT_EQ(TempFolder::read(dir.path("SET.FNT")), store(0, 2048));
    EXPECT_EQ(t.platform.dialogs.back().filters, "Character map (*.map)|*.map");
    EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(Save, ANameAsLongAsTheFileSystemAllowsCanBeSaved) {
    const std::string name = std::string(251, 'n') + ".fnt"; // 255 bytes, the usual limit
    command(CmdSaveCharset2048, dir.path(name));
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(dir.names(), Names{name});
}

TEST_F(Save, MapFilesHoldTheMapProperRowByRowAsUnsignedBytes) {
    t.app->screenMap.at(0, 1) = 99;
    command(CmdSaveMap, dir.path("a.map"));
    const Bytes a = TempFolder::read(dir.path("a.map"));
    ASSERT_EQ(a.size(), 960u);
    EXPECT_EQ(a[39], 71);
    EXPECT_EQ(a[40], 99); // the first cell of the second row

    command(CmdMapSize32x24);
    t.app->screenMap.at(31, 23) = 200;
    command(CmdSaveMap, dir.path("b.map"));
    const Bytes b = TempFolder::read(dir.path("b.map"));
    ASSERT_EQ(b.size(), 768u);
    EXPECT_EQ(b[767], 200);
}

TEST_F(Save, AFileThatCannotBeCreatedIsAFileErrorAfterLastPathMoved) {
    dir.write("afile", {1});
    command(CmdSaveCharset2048, dir.path("afile/set"));
    command(CmdSaveMap, dir.path("nowhere/screen.map"));
    const std::string error = "File Error:" + dir.folder();
    EXPECT_EQ(t.platform.messages, (Messages{{"Save file", error + "afile/set.fnt"},
                                             {"Save file", error + "nowhere/screen.map"}}));
    EXPECT_EQ(t.state().lastPath, dir.folder() + "nowhere/");
    EXPECT_EQ(dir.names(), Names{"afile"});
    command(CmdSaveMap); // cancelled: nothing
    EXPECT_EQ(t.platform.messages.size(), 2u);
    EXPECT_EQ(t.state().lastPath, dir.folder() + "nowhere/");
}

TEST(Paths, TheDirectoryPartEndsAtTheLastSlashOfEitherKind) {
    EXPECT_EQ(directoryPart("C:\\fonts\\zx.fnt"), "C:\\fonts\\");
    EXPECT_EQ(directoryPart("/home/a\\b/c.fnt"), "/home/a\\b/");
    EXPECT_EQ(directoryPart("zx.fnt"), "");
}

} // namespace
} // namespace tessaly
