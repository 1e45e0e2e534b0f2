#pragma once

#include "platform/qt/event_queue.h"

#include <QPointer>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The program's menus by number: menu bars and popup menus, built item by item at an
// insertion point (the last title, or the open submenu). Each item raises a command event
// with its id when chosen. Check marks change only when the program sets them, never by
// themselves when an item is chosen.

namespace tessaly {

class QtMenus {
  public:
    explicit QtMenus(EventQueue& queue);
    ~QtMenus();
    QtMenus(const QtMenus&) = delete;
    QtMenus& operator=(const QtMenus&) = delete;

    // Registers a menu bar that its window already shows.
    bool addMenuBar(int menu, QMenuBar* bar);
    bool createPopup(int menu);
    bool exists(int menu) const { return menus_.count(menu) != 0; }

    void addTitle(int menu, const QString& text);
    void openSubmenu(int menu, const QString& text);
    void closeSubmenu(int menu);
    void addItem(int menu, int command, const QString& text);
    void addSeparator(int menu);
    void setChecked(int menu, int command, bool on);
    bool isChecked(int menu, int command) const;

    // Null for a number that is no popup menu.
    QMenu* popup(int menu) const;
    QMenuBar* menuBar(int menu) const;

  private:
    struct Level {
        QWidget* widget;
        bool submenu; // opened by openSubmenu, so closed by closeSubmenu
    };
    struct Item {
        QAction* action;
        bool checked = false;
    };
    struct Menu {
        QPointer<QMenuBar> bar;
        std::unique_ptr<QMenu> popup;
        std::vector<Level> levels; // the bar or popup first, then titles and submenus
        std::map<int, Item> items;
    };

    Menu* find(int menu);
    const Menu* find(int menu) const;
    QMenu* addMenuAt(Menu& menu, const QString& text);

    EventQueue& queue_;
    std::map<int, Menu> menus_;
};

} // namespace tessaly
