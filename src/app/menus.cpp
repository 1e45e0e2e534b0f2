#include "app/menus.h"

#include "app/app.h"
#include "app/ids.h"
#include "charset/builtin_charsets.h"

namespace tessaly {

namespace {

// One line of a menu's layout: an item, a separator, a title (which ends the previous
// one), the start of a submenu, its end, or the built-in sets' items.
struct Line {
    enum Kind { Item, Separator, Title, Submenu, EndSubmenu, BuiltinSets } kind;
    int command = -1;
    const char* text = "";
};

constexpr Line item(int command, const char* text) { return {Line::Item, command, text}; }
constexpr Line separator() { return {Line::Separator}; }
constexpr Line title(const char* text) { return {Line::Title, -1, text}; }
constexpr Line submenu(const char* text) { return {Line::Submenu, -1, text}; }
constexpr Line endSubmenu() { return {Line::EndSubmenu}; }
constexpr Line builtinSets() { return {Line::BuiltinSets}; }

constexpr Line MainMenuLayout[] = {
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
    submenu("Charset"),
    builtinSets(),
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
};

constexpr Line CharsetPopupLayout[] = {
    item(CmdSetRangeBegin, "Set begin range"),
    item(CmdSetRangeEnd, "Set end range"),
    item(CmdCopyRange, "Copy data range to current"),
};

constexpr Line MapPopupLayout[] = {
    item(CmdMapInsertChar, "Insert char"),     item(CmdMapDeleteChar, "Delete char"),
    separator(),
    item(CmdMapInsertRow, "Insert row"),       item(CmdMapDeleteRow, "Delete row"),
    separator(),
    item(CmdMapInsertColumn, "Insert column"), item(CmdMapDeleteColumn, "Delete column"),
};

MenuEntry entry(MenuEntry::Kind kind, std::string text = {}, int command = -1) {
    MenuEntry e;
    e.kind = kind;
    e.text = std::move(text);
    e.command = command;
    return e;
}

// The menu's entries from its layout: titles and submenus hold what follows them, up to
// the next title or the submenu's end. Marks come from the editor state.
template <std::size_t N>
std::vector<MenuEntry> entriesOf(const EditorState& state, const Line (&layout)[N]) {
    std::vector<MenuEntry> top;
    std::vector<std::vector<MenuEntry>*> open{&top};
    auto add = [&open](MenuEntry entry) {
        open.back()->push_back(std::move(entry));
        return &open.back()->back().entries;
    };
    for (const Line& line : layout) {
        switch (line.kind) {
        case Line::Item: {
            MenuEntry item = entry(MenuEntry::Kind::Item, line.text, line.command);
            item.checked = (line.command == CmdGridOnMap && state.mapGrid) ||
                            (line.command == CmdDragSwap && state.dragSwap) ||
                            (line.command == CmdDragCopy && !state.dragSwap);
            add(std::move(item));
            break;
        }
        case Line::Separator: add(entry(MenuEntry::Kind::Separator)); break;
        case Line::Title:
            open.resize(1);
            open.push_back(add(entry(MenuEntry::Kind::Submenu, line.text)));
            break;
        case Line::Submenu: open.push_back(add(entry(MenuEntry::Kind::Submenu, line.text))); break;
        case Line::EndSubmenu: open.pop_back(); break;
        case Line::BuiltinSets:
            for (const BuiltinCharsetInfo& set : builtinCharsets()) {
                if (set.groupStart) add(entry(MenuEntry::Kind::Separator));
                add(entry(MenuEntry::Kind::Item, std::string(set.menuText),
                          CmdCharsetCga + set.number));
            }
            break;
        }
    }
    return top;
}

template <std::size_t N>
void createMenu(App& app, int menu, int window, const Line (&layout)[N], const char* failure) {
    const MenuSpec spec{menu, window, entriesOf(app.state, layout)};
    if (app.platform.createMenu(spec)) {
        app.menus.insert(menu);
        app.menuWalk.add(spec);
    } else {
        app.platform.messageBox("tessaly", failure);
    }
}

} // namespace

void buildMenus(App& app) {
    Platform& p = app.platform;
    // Drags swap from the start, as the menu's mark shows; without the menu they copy.
    app.state.dragSwap = true;
    createMenu(app, MenuMain, WindowMain, MainMenuLayout, "create menu error!");
    if (app.menus.count(MenuMain)) {
        p.addShortcut(WindowMain, 'I', CmdInvert);
        p.addShortcut(WindowMain, 'O', CmdOpen);
    } else {
        app.state.dragSwap = false;
    }
    createMenu(app, MenuCharsetPopup, -1, CharsetPopupLayout, "create menu #2 error!");
    createMenu(app, MenuMapPopup, -1, MapPopupLayout, "create menu #3 error!");
}

void showPopupMenu(App& app, int menu, int window) {
    app.menuWalk.openPopup(menu);
    app.platform.showPopupMenu(menu, window);
}

} // namespace tessaly
