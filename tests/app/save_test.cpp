#include "app/save.h"

#include "io/file_test.h"

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
    for (auto [current, id, bytes] : {std::tuple{160, CmdSaveCharset768, 768},
                                      {128, CmdSaveCharset1024, 1024},
                                      {0, CmdSaveCharset2048, 2048}}) {
        t.state().currentChar = static_cast<std::uint8_t>(current);
        command(id, path("set" + std::to_string(current) + ".fnt"));
        EXPECT_EQ(readFile(path("set" + std::to_string(current) + ".fnt")),
                  store(8 * current, bytes));
    }
    EXPECT_EQ(t.platform.dialogs.at(0).folder, "/home/user/fonts/"); // then the chosen one
    EXPECT_EQ(t.platform.dialogs.at(1).folder, folder());

    t.platform.dialogs.clear(); // too far along the store: refused before any dialog
    for (auto [current, id] :
         {std::pair{1, CmdSaveCharset2048}, {161, CmdSaveCharset768}, {129, CmdSaveCharset1024}}) {
        t.state().currentChar = static_cast<std::uint8_t>(current);
        command(id, path("refused.fnt"));
    }
    EXPECT_EQ(t.platform.messages, Messages(3, {"Save File", "out of size"}));
    EXPECT_TRUE(t.platform.dialogs.empty());
    EXPECT_EQ(names().size(), 3u);
}

TEST_F(Save, TheExtensionIsAddedUnlessTheLastFourCharactersMatchIgnoringCase) {
    const std::string longest = std::string(251, 'n') + ".fnt"; // 255 bytes, the usual limit
    write("SET.FNT", Bytes(5000, 0xAB)); // replaced without a question
    for (const char* name : {"set.fn", "SET.FNT", "plain"}) command(CmdSaveCharset2048, path(name));
    for (const char* name : {"screen.fnt", "level.MaP"}) command(CmdSaveMap, path(name));
    command(CmdSaveCharset2048, path(longest));
    EXPECT_EQ(t.platform.dialogs.at(3).filters, "Character map (*.map)|*.map");
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(readFile(path("SET.FNT")), store(0, 2048));
    // No temporary file is left beside them.
    EXPECT_EQ(names(), (Names{"SET.FNT", "level.MaP", longest, "plain.fnt", "screen.fnt.map",
                              "set.fn.fnt"}));
}

TEST_F(Save, MapFilesHoldTheMapProperRowByRowAsUnsignedBytes) {
    t.app->screenMap.at(0, 1) = 99;
    command(CmdSaveMap, path("a.map"));
    command(CmdMapSize32x24);
    t.app->screenMap.at(31, 23) = 200;
    command(CmdSaveMap, path("b.map"));
    const Bytes a = readFile(path("a.map")), b = readFile(path("b.map"));
    ASSERT_EQ(a.size() + b.size(), 960u + 768u);
    EXPECT_EQ(a[39], 71);
    EXPECT_EQ(a[40], 99); // the first cell of the second row
    EXPECT_EQ(b[767], 200);
}

TEST_F(Save, AFileThatCannotBeCreatedIsAFileErrorAfterLastPathMovedAndLeavesNoFile) {
    write("afile", {1});
    command(CmdSaveCharset2048, path("afile/set"));
    command(CmdSaveMap, path("nowhere/screen.map"));
    EXPECT_EQ(t.platform.messages,
              (Messages{{"Save file", "File Error:" + path("afile/set.fnt")},
                        {"Save file", "File Error:" + path("nowhere/screen.map")}}));
    EXPECT_EQ(names(), Names{"afile"});
    command(CmdSaveMap); // cancelled: nothing
    EXPECT_EQ(t.platform.messages.size(), 2u);
    EXPECT_EQ(t.state().lastPath, folder() + "nowhere/");
}

} // namespace
} // namespace tessaly
