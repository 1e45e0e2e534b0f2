#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The program's menus by id: menu bars attached to windows and popup menus, with the
// insertion point of each (its last title or the open submenu) and the check marks of its
// items by command.

namespace tessaly {

class Win32Menus {
  public:
    Win32Menus() = default;
    ~Win32Menus();
    Win32Menus(const Win32Menus&) = delete;
    Win32Menus& operator=(const Win32Menus&) = delete;

    // `bar` belongs to `window` already, which destroys it.
    bool addMenuBar(int menu, HMENU bar, HWND window);
    bool createPopup(int menu);
    bool exists(int menu) const;
    HMENU popup(int menu) const;

    void addTitle(int menu, const std::string& text);
    void openSubmenu(int menu, const std::string& text);
    void closeSubmenu(int menu);
    void addItem(int menu, int command, const std::string& text);
    void addSeparator(int menu);
    void setChecked(int menu, int command, bool on);
    bool isChecked(int menu, int command) const;

  private:
    struct Level {
        HMENU handle;
        bool submenu;
    };
    struct Item {
        HMENU holder;
        bool checked = false;
    };
    struct Menu {
        HMENU root = nullptr;
        HWND window = nullptr; // the window of a menu bar; null for a popup
        std::vector<Level> levels;
        std::map<int, Item> items;
    };

    Menu* find(int menu);
    const Menu* find(int menu) const;
    HMENU appendSubmenu(Menu& menu, const std::string& text);

    std::map<int, Menu> menus_;
};

} // namespace tessaly
