#include "platform/qt/qt_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tessaly {

QtMenus::QtMenus(EventQueue& queue) : queue_(queue) {}

QtMenus::~QtMenus() = default;

QtMenus::Menu* QtMenus::find(int menu) {
    const auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : &it->second;
}

const QtMenus::Menu* QtMenus::find(int menu) const {
    const auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : &it->second;
}

bool QtMenus::addMenuBar(int menu, QMenuBar* bar) {
    if (bar == nullptr || exists(menu)) return false;
    Menu& created = menus_[menu];
    created.bar = bar;
    created.levels.push_back({bar, false});
    return true;
}

bool QtMenus::createPopup(int menu) {
    if (exists(menu)) return false;
    Menu& created = menus_[menu];
    created.popup = std::make_unique<QMenu>();
    created.levels.push_back({created.popup.get(), false});
    return true;
}

QMenu* QtMenus::popup(int menu) const {
    const Menu* found = find(menu);
    return found == nullptr ? nullptr : found->popup.get();
}

QMenuBar* QtMenus::menuBar(int menu) const {
    const Menu* found = find(menu);
    return found == nullptr ? nullptr : found->bar.data();
}

QMenu* QtMenus::addMenuAt(Menu& menu, const QString& text) {
    QWidget* parent = menu.levels.back().widget;
    auto* created = new QMenu(text, parent);
    parent->addAction(created->menuAction());
    return created;
}

void QtMenus::addTitle(int menu, const QString& text) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    found->levels.resize(1);
    found->levels.push_back({addMenuAt(*found, text), false});
}

void QtMenus::openSubmenu(int menu, const QString& text) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    found->levels.push_back({addMenuAt(*found, text), true});
}

void QtMenus::closeSubmenu(int menu) {
    Menu* found = find(menu);
    if (found == nullptr || !found->levels.back().submenu) return;
    found->levels.pop_back();
}

void QtMenus::addItem(int menu, int command, const QString& text) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    QWidget* parent = found->levels.back().widget;
    // The text after a tab shows as the shortcut label; the binding itself is a shortcut
    // registered separately, so the action gets none.
    auto* action = new QAction(text, parent);
    parent->addAction(action);
    // A repeated command id keeps the check mark on its first item.
    found->items.emplace(command, Item{action});
    const Menu* owner = found;
    QObject::connect(action, &QAction::triggered, action, [this, owner, command, action] {
        // Qt flips a checkable action when it is chosen; the program sets marks itself.
        if (action->isCheckable()) action->setChecked(owner->items.at(command).checked);
        Event event;
        event.kind = EventKind::Command;
        event.command = command;
        queue_.push(event);
    });
}

void QtMenus::addSeparator(int menu) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    QWidget* parent = found->levels.back().widget;
    auto* separator = new QAction(parent);
    separator->setSeparator(true);
    parent->addAction(separator);
}

void QtMenus::setChecked(int menu, int command, bool on) {
    Menu* found = find(menu);
    if (found == nullptr) return;
    const auto it = found->items.find(command);
    if (it == found->items.end()) return;
    it->second.checked = on;
    it->second.action->setCheckable(true);
    it->second.action->setChecked(on);
}

bool QtMenus::isChecked(int menu, int command) const {
    const Menu* found = find(menu);
    if (found == nullptr) return false;
    const auto it = found->items.find(command);
    return it != found->items.end() && it->second.checked;
}

} // namespace tessaly
