#pragma once

#include "platform/platform.h"

#include <map>
#include <vector>

// The menus walked from the keyboard, on a platform that reports the menus' keys (MenuKey)
// and shows the place it is told (the page); the desktop's menus walk themselves.
// - Menu (F10, Alt alone) enters the active window's menu bar at its first title, or leaves
//   the menus;
// - on a title, Left and Right go to the next title, Down, Enter or Space open it at its
//   first entry, Up at its last; Escape leaves;
// - in a menu, Up and Down go round its entries over the separators; Right, Enter or Space
//   open a submenu; Enter or Space pick an item; Left and Escape go back out of a submenu;
//   from the top menu Left and Right open the next title, Escape goes back to its title;
// - in a popup, Up and Down go round, Enter picks, Escape closes.
// The arrows and Escape go on from a title the pointer opened.

namespace tessaly {

class MenuWalk {
  public:
    void add(const MenuSpec& menu);
    // A popup shown: it has the keys, nothing marked yet.
    void openPopup(int menu);
    // The menus closed by the platform, or a command picked there.
    void reset();
    // Moves on the key and shows where; gives the command picked, or -1.
    int key(Platform& p, const Event& e);

  private:
    struct Menu {
        int window = -1;
        std::vector<MenuEntry> entries;
    };
    int close(Platform& p);
    // The list holding the last entry of the path.
    const std::vector<MenuEntry>& listAtEnd() const;

    std::map<int, Menu> menus_;
    int menu_ = -1; // the menu with the keys, or -1
    std::vector<int> path_;
};

} // namespace tessaly
