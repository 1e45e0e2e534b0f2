#include "app/menus.h"

#include "app/app.h"
#include "platform/ids.h"

namespace tessaly {

namespace {

// One entry of a menu layout: an item, a separator, or the start or end of a submenu
// or title.
struct MenuEntry {
    enum Kind { Item, Separator, Title, Submenu, EndSubmenu, Check } kind;
    int command = -1;
    const char* text = "";
};

constexpr MenuEntry item(int command, const char* text) {
    return {MenuEntry::Item, command, text};
}
constexpr MenuEntry separator() { return {MenuEntry::Separator}; }
constexpr MenuEntry title(const char* text) { return {MenuEntry::Title, -1, text}; }
constexpr MenuEntry submenu(const char* text) { return {MenuEntry::Submenu, -1, text}; }
constexpr MenuEntry endSubmenu() { return {MenuEntry::EndSubmenu}; }
constexpr MenuEntry check(int command) { return {MenuEntry::Check, command}; }

constexpr MenuEntry MainMenuLayout[] = {
    title("File"),
    item(CmdOpen, "Open...\tCtrl+O"),
    submenu("Save"),
    item(CmdSaveCharset768, "ZX 96 chars(768bytes)"),
    item(CmdSaveCharset1024, "Atari 128 chars(1024bytes)"),
    item(CmdSaveCharset2048, "IBM 256 chars(2048bytes)"),
    separator(),
    item(CmdSaveMap, "Character_map"),
    item(CmdSaveImage, "Characters image"),
    endSubmenu(),
    item(CmdQuit, "Quit"),
    title("Char"),
    submenu("Map"),
    item(CmdMapSize32x24, "ZX 32x24"),
    item(CmdMapSize40x24, "Atari/C64 40x24"),
    item(CmdMapSize80x50, "PC 80x50"),
    item(CmdMapSize64x30, "USSR 64x30"),
    separator(),
    item(CmdFillMap, "Fill map with current char"),
    item(CmdGridOnMap, "Grid on map"),
    endSubmenu(),
    check(CmdGridOnMap),
    submenu("Charset"),
    item(CmdCharsetCga, "IBM PC CGA"),
    item(CmdCharsetPc866, "IBM PC 866"),
    separator(),
    item(CmdCharsetZxSpectrum, "ZX Spectrum"),
    item(CmdCharsetZx80, "ZX80"),
    item(CmdCharsetJupiterAce, "Jupiter Ace"),
    separator(),
    item(CmdCharsetC64, "C64 CAPS"),
    item(CmdCharsetAtari, "Atari XL"),
    item(CmdCharsetMicrosha, "Microsha(USSR)"),
    separator(),
    item(CmdCharsetHex, "Hex numbers"),
    endSubmenu(),
    separator(),
    item(CmdDragSwap, "Drag mode:swap"),
    item(CmdDragCopy, "Drag mode:copy"),
    separator(),
    item(CmdPaperColour, "Color for bit=0..."),
    item(CmdInkColour, "Color for bit=1..."),
    separator(),
    item(CmdEraseAll, "Erase all charset"),
    item(CmdClearChar, "Clear character"),
    item(CmdInvert, "Invert\tCtrl+I"),
    item(CmdMirrorLeftRight, "Revert char left-right"),
    item(CmdMirrorUpDown, "Revert char up-down"),
    separator(),
    item(CmdSetRangeBegin, "Set begin range"),
    item(CmdSetRangeEnd, "Set end range"),
    item(CmdCopyRange, "Copy data range to current"),
    separator(),
    item(CmdShiftLeft, "Char shift left"),
    item(CmdShiftRight, "Char shift right"),
    item(CmdShiftUp, "Char shift up"),
    item(CmdShiftDown, "Char shift down"),
    check(CmdDragSwap),
};

constexpr MenuEntry CharsetPopupLayout[] = {
    item(CmdSetRangeBegin, "Set begin range"),
    item(CmdSetRangeEnd, "Set end range"),
    item(CmdCopyRange, "Copy data range to current"),
};

constexpr MenuEntry MapPopupLayout[] = {
    item(CmdMapInsertChar, "Insert char"),     item(CmdMapDeleteChar, "Delete char"),
    separator(),
    item(CmdMapInsertRow, "Insert row"),       item(CmdMapDeleteRow, "Delete row"),
    separator(),
    item(CmdMapInsertColumn, "Insert column"), item(CmdMapDeleteColumn, "Delete column"),
};

template <std::size_t N> void appendEntries(Platform& p, int menu, const MenuEntry (&layout)[N]) {
    for (const MenuEntry& e : layout) {
        switch (e.kind) {
        case MenuEntry::Item: p.addMenuItem(menu, e.command, e.text); break;
        case MenuEntry::Separator: p.addMenuSeparator(menu); break;
        case MenuEntry::Title: p.addMenuTitle(menu, e.text); break;
        case MenuEntry::Submenu: p.openSubmenu(menu, e.text); break;
        case MenuEntry::EndSubmenu: p.closeSubmenu(menu); break;
        case MenuEntry::Check: p.setMenuChecked(menu, e.command, true); break;
        }
    }
}

} // namespace

void BuildMenus(App& app) {
    Platform& p = app.platform;
    if (p.createMenuBar(MenuMain, WindowMain)) {
        appendEntries(p, MenuMain, MainMenuLayout);
        app.state.dragSwap = true;
        p.addShortcut(WindowMain, 'I', CmdInvert);
        p.addShortcut(WindowMain, 'O', CmdOpen);
    } else {
        p.messageBox("tessaly", "create menu error!");
    }
    if (p.createPopupMenu(MenuCharsetPopup))
        appendEntries(p, MenuCharsetPopup, CharsetPopupLayout);
    else
        p.messageBox("tessaly", "create menu #2 error!");
    if (p.createPopupMenu(MenuMapPopup))
        appendEntries(p, MenuMapPopup, MapPopupLayout);
    else
        p.messageBox("tessaly", "create menu #3 error!");
}

} // namespace tessaly
