#include "app/event_loop.h"
#include "app/ids.h"
#include "app/menus.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(Menus, MainMenuIsLaidOutExactly) {
    TestApp t;
    ASSERT_TRUE(t.start());
    const std::vector<std::string> expected = {
        "File",
        "  Open...\tCtrl+O [0]",
        "  Save",
        "    ZX 96 chars(768bytes) [2]",
        "    Atari 128 chars(1024bytes) [3]",
        "    IBM 256 chars(2048bytes) [4]",
        "    ---",
        "    Character_map [5]",
        "    Characters image [6]",
        "  Quit [1]",
        "Char",
        "  Map",
        "    ZX 32x24 [21]",
        "    Atari/C64 40x24 [22]",
        "    PC 80x50 [23]",
        "    USSR 64x30 [24]",
        "    ---",
        "    Fill map with current char [25]",
        "    Grid on map [26]",
        "  Charset",
        "    IBM PC CGA [27]",
        "    IBM PC 866 [30]",
        "    ---",
        "    ZX Spectrum [31]",
        "    ZX80 [32]",
        "    Jupiter Ace [34]",
        "    ---",
        "    C64 CAPS [28]",
        "    Atari XL [29]",
        "    Microsha(USSR) [33]",
        "    ---",
        "    Hex numbers [35]",
        "  ---",
        "  Drag mode:swap [18]",
        "  Drag mode:copy [19]",
        "  ---",
        "  Color for bit=0... [37]",
        "  Color for bit=1... [36]",
        "  ---",
        "  Erase all charset [10]",
        "  Clear character [11]",
        "  Invert\tCtrl+I [7]",
        "  Revert char left-right [8]",
        "  Revert char up-down [9]",
        "  ---",
        "  Set begin range [16]",
        "  Set end range [17]",
        "  Copy data range to current [20]",
        "  ---",
        "  Char shift left [12]",
        "  Char shift right [13]",
        "  Char shift up [14]",
        "  Char shift down [15]",
    };
    EXPECT_EQ(t.platform.menuLines(MenuMain), expected);
    EXPECT_EQ(t.platform.menus.at(MenuMain).window, WindowMain);
}

TEST(Menus, PopupsAreLaidOutExactly) {
    TestApp t;
    ASSERT_TRUE(t.start());
    EXPECT_EQ(t.platform.menuLines(MenuCharsetPopup),
              (std::vector<std::string>{"Set begin range [16]", "Set end range [17]",
                                        "Copy data range to current [20]"}));
    EXPECT_EQ(t.platform.menuLines(MenuMapPopup),
              (std::vector<std::string>{"Insert char [38]", "Delete char [39]", "---",
                                        "Insert row [40]", "Delete row [41]", "---",
                                        "Insert column [42]", "Delete column [43]"}));
    EXPECT_EQ(t.platform.menus.at(MenuMapPopup).window, -1);
}

TEST(Menus, EveryCommandIsCarriedByExactlyOneItemOfTheBarOrTheMapPopup) {
    TestApp t;
    ASSERT_TRUE(t.start());
    std::vector<int> count(CommandCount, 0);
    for (int menu : {int(MenuMain), int(MenuMapPopup)})
        for (const std::string& line : t.platform.menuLines(menu)) {
            const auto open = line.rfind('[');
            if (open != std::string::npos) ++count[std::stoi(line.substr(open + 1))];
        }
    for (int id = 0; id < CommandCount; ++id) EXPECT_EQ(count[id], 1) << "command " << id;
}

TEST(Menus, GridAndSwapAreCheckedAtStartAndCopyIsNot) {
    TestApp t;
    ASSERT_TRUE(t.start());
    EXPECT_TRUE(t.platform.isMenuChecked(MenuMain, CmdGridOnMap));
    EXPECT_TRUE(t.platform.isMenuChecked(MenuMain, CmdDragSwap));
    EXPECT_FALSE(t.platform.isMenuChecked(MenuMain, CmdDragCopy));
}

TEST(Menus, ShortcutsAreCtrlIAndCtrlOOnTheMainWindow) {
    TestApp t;
    ASSERT_TRUE(t.start());
    ASSERT_EQ(t.platform.shortcuts.size(), 2u);
    EXPECT_EQ(t.platform.shortcuts[0].window, WindowMain);
    EXPECT_EQ(t.platform.shortcuts[0].key, 'I');
    EXPECT_EQ(t.platform.shortcuts[0].command, CmdInvert);
    EXPECT_EQ(t.platform.shortcuts[1].window, WindowMain);
    EXPECT_EQ(t.platform.shortcuts[1].key, 'O');
    EXPECT_EQ(t.platform.shortcuts[1].command, CmdOpen);
}

TEST(Menus, EachFailedMenuIsReportedAndTheOthersAreStillBuilt) {
    struct Case {
        int failing;
        const char* text;
    };
    for (const Case c : {Case{MenuMain, "create menu error!"},
                         Case{MenuCharsetPopup, "create menu #2 error!"},
                         Case{MenuMapPopup, "create menu #3 error!"}}) {
        SCOPED_TRACE(c.text);
        TestApp t;
        t.platform.failMenus = {c.failing};
        ASSERT_TRUE(t.start());
        ASSERT_EQ(t.platform.messages.size(), 1u);
        EXPECT_EQ(t.platform.messages[0], (FakePlatform::Message{"tessaly", c.text}));
        for (int menu : {int(MenuMain), int(MenuCharsetPopup), int(MenuMapPopup)})
            EXPECT_EQ(t.app->menus.count(menu) == 1, menu != c.failing);
        EXPECT_EQ(t.platform.shortcuts.empty(), c.failing == MenuMain);
        EXPECT_TRUE(t.platform.windows.count(WindowMap)); // start-up went on
    }
}

TEST(Menus, AllThreeFailuresAreReportedInOrder) {
    TestApp t;
    t.platform.failMenus = {MenuMain, MenuCharsetPopup, MenuMapPopup};
    ASSERT_TRUE(t.start());
    ASSERT_EQ(t.platform.messages.size(), 3u);
    EXPECT_EQ(t.platform.messages[0].text, "create menu error!");
    EXPECT_EQ(t.platform.messages[1].text, "create menu #2 error!");
    EXPECT_EQ(t.platform.messages[2].text, "create menu #3 error!");
}

TEST(Menus, TheKeysWalkTheMenusWhereThePlatformReportsThem) {
    struct Press {
        Key key;
        int pointerTitle = 0; // the title the pointer opened, from 1
        int window = WindowMain;
    };
    using K = Key;
    struct Case {
        const char* name;
        int popup; // shown first, or -1
        std::vector<Press> keys;
        int menu; // the place shown last
        std::vector<int> path;
        int picked = -1;
    };
    const int M = MenuMain;
    const Case cases[] = {
        {"F10 enters at the first title", -1, {{K::Menu}}, M, {0}},
        {"the titles go round", -1, {{K::Menu}, {K::Right}, {K::Right}, {K::Left}}, M, {1}},
        {"Down opens a title", -1, {{K::Menu}, {K::Left}, {K::Down}}, M, {1, 0}},
        {"Up opens it at its end", -1, {{K::Menu}, {K::Up}}, M, {0, 2}},
        {"Right opens a submenu", -1, {{K::Menu}, {K::Left}, {K::Down}, {K::Right}}, M, {1, 0, 0}},
        {"Left closes it, Up goes round over separators", -1,
         {{K::Menu}, {K::Left}, {K::Down}, {K::Right}, {K::Left}, {K::Up}}, M, {1, 22}},
        {"Right on an item opens the next title", -1, {{K::Menu}, {K::Down}, {K::Right}}, M, {1, 0}},
        {"Left in a top menu opens the previous title", -1, {{K::Menu}, {K::Down}, {K::Left}}, M, {1, 0}},
        {"Space opens a submenu, Up from its first entry", -1,
         {{K::Menu}, {K::Down}, {K::Down}, {K::Space}, {K::Up}}, M, {0, 1, 5}},
        {"Escape goes back out of a submenu", -1,
         {{K::Menu}, {K::Down}, {K::Down}, {K::Enter}, {K::Escape}}, M, {0, 1}},
        {"Escape in a top menu goes back to its title", -1, {{K::Menu}, {K::Down}, {K::Escape}}, M, {0}},
        {"Escape on a title leaves", -1, {{K::Menu}, {K::Escape}}, -1, {}},
        {"F10 again leaves", -1, {{K::Menu}, {K::Down}, {K::Menu}}, -1, {}},
        {"Enter picks an item", -1, {{K::Menu}, {K::Left}, {K::Enter}, {K::Right}, {K::Enter}}, -1, {},
         CmdMapSize32x24},
        {"other keys do nothing", -1, {{K::Menu}, {K::Other}, {K::Delete}}, M, {0}},
        {"no menu bar on the map window", -1, {{K::Menu, 0, WindowMap}}, -1, {}},
        {"from a title the pointer opened, Right opens the next", -1, {{K::Right, 2}}, M, {0, 0}},
        {"... Up opens it at its end", -1, {{K::Up, 1}}, M, {0, 2}},
        {"... Escape and F10 close it", -1, {{K::Escape, 1}, {K::Menu, 2}}, -1, {}},
        {"a popup goes round over separators", MenuMapPopup, {{K::Down}, {K::Down}, {K::Down}},
         MenuMapPopup, {3}},
        {"Up from nothing marks its last item", MenuMapPopup, {{K::Up}}, MenuMapPopup, {7}},
        {"Enter picks there, Space does not", MenuMapPopup, {{K::Up}, {K::Space}, {K::Enter}}, -1, {},
         CmdMapDeleteColumn},
        {"Enter on nothing does nothing, Escape closes", MenuMapPopup, {{K::Enter}, {K::Escape}}, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        ASSERT_TRUE(t.start());
        if (c.popup >= 0) showPopupMenu(*t.app, c.popup, WindowMain);
        int picked = -1;
        for (const Press& press : c.keys) {
            Event e = keyEvent(EventKind::MenuKey, press.key);
            e.window = press.window;
            e.value = press.pointerTitle;
            picked = t.app->menuWalk.key(t.platform, e);
        }
        EXPECT_EQ(t.platform.menuPlace, (std::pair{c.menu, c.path}));
        EXPECT_EQ(picked, c.picked);
    }
}

TEST(Menus, APickFromTheKeysRunsItsCommandAndAClosedWalkStartsAgain) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.state().currentChar = 7;
    showPopupMenu(*t.app, MenuCharsetPopup, WindowMain);
    for (const Key key : {Key::Down, Key::Down, Key::Enter})
        dispatchEvent(*t.app, keyEvent(EventKind::MenuKey, key));
    EXPECT_EQ(t.state().rangeEnd, 7);
    // The pointer closed the walk: F10 enters the menus again.
    Event f10 = keyEvent(EventKind::MenuKey, Key::Menu);
    f10.window = WindowMain;
    dispatchEvent(*t.app, f10);
    dispatchEvent(*t.app, keyEvent(EventKind::MenuClosed));
    dispatchEvent(*t.app, f10);
    EXPECT_EQ(t.platform.menuPlace, (std::pair{int(MenuMain), std::vector<int>{0}}));
}

} // namespace
} // namespace tessaly
