#include "platform/win32/win32_menus.h"

#include "platform/win32/utf8.h"
#include "platform/win32/win32_ids.h"

namespace tessaly {

namespace {

// An ampersand marks the access key in a menu text; the program's texts mean it literally.
std::wstring menuText(const std::string& text) {
    std::wstring result;
    for (const wchar_t c : wideFromUtf8(text)) {
        if (c == L'&') result += L'&';
        result += c;
    }
    return result;
}

} // namespace

Win32Menus::~Win32Menus() {
    for (auto& [id, menu] : menus_) {
        if (menu.window == nullptr) DestroyMenu(menu.root);
    }
}

Win32Menus::Menu* Win32Menus::find(int menu) {
    const auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : &it->second;
}

const Win32Menus::Menu* Win32Menus::find(int menu) const {
    const auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : &it->second;
}

bool Win32Menus::addMenuBar(int menu, HMENU bar, HWND window) {
    if (bar == nullptr || exists(menu)) return false;
    Menu& created = menus_[menu];
    created.root = bar;
    created.window = window;
    created.levels.push_back({bar, false});
    return true;
}

bool Win32Menus::createPopup(int menu) {
    if (exists(menu)) return false;
    const HMENU handle = CreatePopupMenu();
    if (handle == nullptr) return false;
    Menu& created = menus_[menu];
    created.root = handle;
    created.levels.push_back({handle, false});
    return true;
}

bool Win32Menus::exists(int menu) const {
    return find(menu) != nullptr;
}

HMENU Win32Menus::popup(int menu) const {
    const Menu* found = find(menu);
    return found == nullptr || found->window != nullptr ? nullptr : found->root;
}

HMENU Win32Menus::appendSubmenu(Menu& menu, const std::string& text) {
    const HMENU created = CreatePopupMenu();
    if (created == nullptr) return nullptr;
    AppendMenuW(menu.levels.back().handle, MF_POPUP | MF_STRING,
                reinterpret_cast<UINT_PTR>(created), menuText(text).c_str());
    if (menu.window != nullptr) DrawMenuBar(menu.window);
    return created;
}

void Win32Menus::addTitle(int menu, const std::string& text) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    found->levels.resize(1);
    if (const HMENU title = appendSubmenu(*found, text)) found->levels.push_back({title, false});
}

void Win32Menus::openSubmenu(int menu, const std::string& text) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    if (const HMENU sub = appendSubmenu(*found, text)) found->levels.push_back({sub, true});
}

void Win32Menus::closeSubmenu(int menu) {
    Menu* found = find(menu);
    if (found == nullptr || !found->levels.back().submenu) return;
    found->levels.pop_back();
}

void Win32Menus::addItem(int menu, int command, const std::string& text) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    const HMENU holder = found->levels.back().handle;
    // The text after a tab shows as the shortcut label, right-aligned by the system.
    AppendMenuW(holder, MF_STRING, static_cast<UINT_PTR>(command + CommandItemBase),
                menuText(text).c_str());
    if (found->window != nullptr && found->levels.size() == 1) DrawMenuBar(found->window);
    // A repeated command id keeps the check mark on its first item.
    found->items.emplace(command, Item{holder});
}

void Win32Menus::addSeparator(int menu) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    AppendMenuW(found->levels.back().handle, MF_SEPARATOR, 0, nullptr);
}

void Win32Menus::setChecked(int menu, int command, bool on) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    const auto it = found->items.find(command);
    if (it == found->items.end()) return;
    it->second.checked = on;
    CheckMenuItem(it->second.holder, static_cast<UINT>(command + CommandItemBase),
                  MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

bool Win32Menus::isChecked(int menu, int command) const {
    const Menu* found = find(menu);
    if (found == nullptr) return false;
    const auto it = found->items.find(command);
    return it != found->items.end() && it->second.checked;
}

} // namespace tessaly
