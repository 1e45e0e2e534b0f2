#include "app/menu_walk.h"

namespace tessaly {

namespace {

// The entry `by` (1 or -1) from entry `from` of `list`, round the ends, over separators;
// from -1, the first one (or the last going up).
int step(const std::vector<MenuEntry>& list, int from, int by) {
    const int n = static_cast<int>(list.size());
    int at = from < 0 && by < 0 ? n : from;
    for (int tries = 0; tries < n; ++tries) {
        at = (at + by + n) % n;
        if (list[at].kind != MenuEntry::Kind::Separator) return at;
    }
    return from;
}

} // namespace

void MenuWalk::add(const MenuSpec& menu) {
    menus_[menu.id] = {menu.window, menu.entries};
}

void MenuWalk::openPopup(int menu) {
    menu_ = menu;
    path_.clear();
}

void MenuWalk::reset() {
    menu_ = -1;
    path_.clear();
}

int MenuWalk::close(Platform& p) {
    reset();
    p.showMenuPlace(-1, {});
    return -1;
}

const std::vector<MenuEntry>& MenuWalk::listAtEnd() const {
    const std::vector<MenuEntry>* list = &menus_.at(menu_).entries;
    for (std::size_t depth = 0; depth + 1 < path_.size(); ++depth) list = &(*list)[path_[depth]].entries;
    return *list;
}

int MenuWalk::key(Platform& p, const Event& e) {
    int bar = -1;
    for (const auto& [id, menu] : menus_)
        if (menu.window >= 0 && menu.window == e.window) bar = id;
    if (e.key == Key::Menu) {
        if (menu_ >= 0 || e.value > 0) return close(p);
        if (bar < 0 || menus_[bar].entries.empty()) return -1;
        menu_ = bar;
        path_ = {0};
        p.showMenuPlace(menu_, path_);
        return -1;
    }
    const bool fromPointer = e.value > 0 && bar >= 0;
    if (fromPointer) {
        menu_ = bar;
        path_ = {e.value - 1};
    }
    if (menu_ < 0) return -1;
    const Key k = e.key;
    const int by = k == Key::Left || k == Key::Up ? -1 : 1;
    const bool upDown = k == Key::Up || k == Key::Down;
    const std::vector<MenuEntry>& list = listAtEnd();
    if (menus_[menu_].window < 0) { // a popup
        if (k == Key::Escape) return close(p);
        if (k == Key::Enter && !path_.empty()) {
            const int command = list[path_[0]].command;
            close(p);
            return command;
        }
        if (!upDown) return -1;
        path_ = {step(list, path_.empty() ? -1 : path_[0], by)};
        p.showMenuPlace(menu_, path_);
        return -1;
    }
    const std::vector<MenuEntry>& titles = menus_[menu_].entries;
    const bool horizontal = k == Key::Left || k == Key::Right;
    const bool choose = k == Key::Enter || k == Key::Space;
    auto open = [&](int title, bool last) {
        path_ = {title};
        if (!titles[title].entries.empty()) path_.push_back(step(titles[title].entries, -1, last ? -1 : 1));
    };
    // To the next title: opened unless the keys were on a closed title.
    auto sideways = [&] {
        const int next = step(titles, path_[0], by);
        if (path_.size() == 1 && !fromPointer) path_ = {next};
        else open(next, false);
    };
    if (path_.size() == 1) {
        if (horizontal) sideways();
        else if (choose || upDown) open(path_[0], k == Key::Up);
        else if (k == Key::Escape) return close(p);
        else return -1;
    } else {
        const MenuEntry& at = list[path_.back()];
        const bool submenu = at.kind == MenuEntry::Kind::Submenu;
        if (upDown) {
            path_.back() = step(list, path_.back(), by);
        } else if (submenu && (choose || k == Key::Right)) {
            if (!at.entries.empty()) path_.push_back(step(at.entries, -1, 1));
        } else if (choose) {
            const int command = at.command;
            close(p);
            return command;
        } else if (path_.size() > 2 && (k == Key::Left || k == Key::Escape)) {
            path_.pop_back();
        } else if (horizontal) {
            sideways();
        } else if (k == Key::Escape) {
            path_.resize(1);
        } else {
            return -1;
        }
    }
    p.showMenuPlace(menu_, path_);
    return -1;
}

} // namespace tessaly
