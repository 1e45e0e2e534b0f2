#include "support/fake_platform.h"

#include <algorithm>

namespace tessaly {

void FakePlatform::pushEvent(const Event& e) {
    events_.push_back(e);
}

void FakePlatform::pushCommand(int command) {
    Event e;
    e.kind = EventKind::Command;
    e.command = command;
    pushEvent(e);
}

void FakePlatform::pushPointer(int control, EventKind kind, int x, int y, Button button,
                               int buttons) {
    Event e;
    e.kind = kind;
    e.window = controls.count(control) ? controls[control].window : -1;
    e.control = control;
    e.x = x;
    e.y = y;
    e.button = button;
    e.buttons = buttons;
    pushEvent(e);
}

void FakePlatform::pushClick(int control, int x, int y, Button button) {
    const int bit = button == Button::Left ? ButtonLeft : ButtonRight;
    pushPointer(control, EventKind::PointerDown, x, y, button, bit);
    pushPointer(control, EventKind::PointerUp, x, y, button, 0);
}

void FakePlatform::pushKey(int control, EventKind kind, Key key) {
    Event e;
    e.kind = kind;
    e.control = control;
    e.key = key;
    pushEvent(e);
}

void FakePlatform::pushChange(int control, int value) {
    Event e;
    e.kind = EventKind::ControlChanged;
    e.control = control;
    e.value = value;
    pushEvent(e);
}

void FakePlatform::pushClose(int window) {
    Event e;
    e.kind = EventKind::WindowClosed;
    e.window = window;
    pushEvent(e);
}

void FakePlatform::pushDrop(int control, const std::string& paths) {
    Event e;
    e.kind = EventKind::FilesDropped;
    e.control = control;
    e.paths = paths;
    pushEvent(e);
}

std::optional<Event> FakePlatform::waitEvent() {
    if (events_.empty()) return std::nullopt;
    Event event = events_.front();
    events_.pop_front();
    return event;
}

bool FakePlatform::openWindow(const WindowSpec& spec) {
    if (failWindows.count(spec.id)) return false;
    Window w;
    static_cast<WindowSpec&>(w) = spec;
    w.visible = !spec.hidden;
    if (spec.centred) {
        const int outerWidth = spec.clientWidth + FrameLeft + FrameRight;
        const int outerHeight = spec.clientHeight + FrameTop + FrameBottom;
        w.x = (ScreenWidth - std::min(ScreenWidth, outerWidth)) / 2;
        w.y = (ScreenHeight - std::min(ScreenHeight, outerHeight)) / 2;
    }
    windows[spec.id] = w;
    return true;
}

void FakePlatform::showWindow(int window) {
    windows[window].visible = true;
    ++windows[window].showCount;
}

void FakePlatform::setWindowTitle(int window, const std::string& title) {
    windows[window].title = title;
    windows[window].titleHistory.push_back(title);
}

bool FakePlatform::createControl(const ControlSpec& spec) {
    if (!windows.count(spec.window)) return false;
    Control c;
    static_cast<ControlSpec&>(c) = spec;
    c.value = spec.min;
    auto area = scrollAreaOfWindow_.find(spec.window);
    if (area != scrollAreaOfWindow_.end()) c.parent = area->second;
    controls[spec.id] = c;
    controlOrder.push_back(spec.id);
    if (spec.kind == ControlKind::ScrollArea) scrollAreaOfWindow_[spec.window] = spec.id;
    if (spec.kind == ControlKind::Canvas) {
        const int inset = spec.border ? 2 : 0;
        canvases[spec.id] =
            Surface(spec.rect.w - 2 * inset, spec.rect.h - 2 * inset, rgb(255, 255, 255));
    }
    return true;
}

void FakePlatform::setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) {
    controls[id].innerWidth = innerWidth;
    controls[id].innerHeight = innerHeight;
}

void FakePlatform::scrollBy(int id, int dx, int dy) {
    controls[id].scrollX += dx;
    controls[id].scrollY += dy;
}

void FakePlatform::setControlText(int id, const std::string& text) {
    controls[id].text = text;
    controls[id].textHistory.push_back(text);
}

namespace {

void collectChecks(const std::vector<MenuEntry>& entries, std::map<int, bool>& checks) {
    for (const MenuEntry& e : entries) {
        if (e.kind == MenuEntry::Kind::Item) checks.emplace(e.command, e.checked);
        collectChecks(e.entries, checks);
    }
}

} // namespace

bool FakePlatform::createMenu(const MenuSpec& spec) {
    if (failMenus.count(spec.id)) return false;
    Menu& m = menus[spec.id];
    m.window = spec.window;
    m.entries = spec.entries;
    collectChecks(m.entries, m.checks);
    return true;
}

void FakePlatform::setMenuChecked(int menu, int command, bool on) {
    auto m = menus.find(menu);
    if (m == menus.end()) return;
    auto c = m->second.checks.find(command);
    if (c != m->second.checks.end()) c->second = on;
}

bool FakePlatform::isMenuChecked(int menu, int command) const {
    auto m = menus.find(menu);
    if (m == menus.end()) return false;
    auto c = m->second.checks.find(command);
    return c != m->second.checks.end() && c->second;
}

void FakePlatform::showPopupMenu(int menu, int window) {
    popupsShown.emplace_back(menu, window);
    if (popupAnswers.empty()) return;
    const int pick = popupAnswers.front();
    popupAnswers.pop_front();
    if (pick < 0) return;
    Event e;
    e.kind = EventKind::Command;
    e.command = pick;
    events_.push_front(e);
}

void FakePlatform::addShortcut(int window, char key, int command) {
    shortcuts.push_back({window, key, command});
}

Surface* FakePlatform::beginCanvasDrawing(int canvas) {
    if (failCanvasDrawing.count(canvas)) return nullptr;
    auto it = canvases.find(canvas);
    return it == canvases.end() ? nullptr : &it->second;
}


void FakePlatform::messageBox(const std::string& title, const std::string& text) {
    messages.push_back({title, text});
}

std::optional<Colour> FakePlatform::chooseColour() {
    dialogs.push_back({"colour", "", "", "", 0});
    if (colourAnswers.empty()) return std::nullopt;
    const std::optional<Colour> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

namespace {

std::string joined(const FileFilters& filters) {
    std::string text;
    for (const FileFilter& f : filters) text += (text.empty() ? "" : "|") + f.name + '|' + f.pattern;
    return text;
}

} // namespace

FileDialogResult FakePlatform::openFileDialog(const std::string& title, const std::string& folder,
                                              const FileFilters& filters, int filterIndex) {
    dialogs.push_back({"open", title, folder, joined(filters), filterIndex});
    if (fileAnswers.empty()) return {};
    FileDialogResult answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

FileDialogResult FakePlatform::saveFileDialog(const std::string& title, const std::string& folder,
                                              const FileFilters& filters, int filterIndex) {
    dialogs.push_back({"save", title, folder, joined(filters), filterIndex});
    if (fileAnswers.empty()) return {};
    FileDialogResult answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

namespace {

void collectLines(const std::vector<MenuEntry>& entries, int depth, std::vector<std::string>& out) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (const MenuEntry& e : entries) {
        switch (e.kind) {
        case MenuEntry::Kind::Item:
            out.push_back(indent + e.text + " [" + std::to_string(e.command) + "]");
            break;
        case MenuEntry::Kind::Separator: out.push_back(indent + "---"); break;
        case MenuEntry::Kind::Submenu:
            out.push_back(indent + e.text);
            collectLines(e.entries, depth + 1, out);
            break;
        }
    }
}

} // namespace

std::vector<std::string> FakePlatform::menuLines(int menu) const {
    std::vector<std::string> out;
    auto m = menus.find(menu);
    if (m != menus.end()) collectLines(m->second.entries, 0, out);
    return out;
}

} // namespace tessaly
