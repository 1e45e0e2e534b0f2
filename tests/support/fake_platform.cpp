#include "support/fake_platform.h"

#include <algorithm>

namespace tessaly {

void FakePlatform::pushEvent(const Event& e, bool escapeHeldAtWake) {
    events_.emplace_back(e, escapeHeldAtWake);
}

void FakePlatform::pushCommand(int command, bool escapeHeldAtWake) {
    Event e;
    e.kind = EventKind::Command;
    e.command = command;
    pushEvent(e, escapeHeldAtWake);
}

void FakePlatform::pushControl(int control, EventType type, int x, int y, int buttons, Key key) {
    Event e = controlEvent(controls.count(control) ? controls[control].window : -1, control, type);
    e.mouseX = x;
    e.mouseY = y;
    e.buttons = buttons;
    e.key = key;
    pushEvent(e);
}

void FakePlatform::pushClose(int window) {
    Event e;
    e.kind = EventKind::CloseWindow;
    e.window = window;
    pushEvent(e);
}

void FakePlatform::pushDrop(int control, const std::string& text) {
    Event e;
    e.kind = EventKind::FilesDropped;
    e.control = control;
    e.dropText = text;
    pushEvent(e);
}

std::optional<Event> FakePlatform::waitEvent() {
    if (events_.empty()) return std::nullopt;
    auto [event, escape] = events_.front();
    events_.pop_front();
    escape_ = escape;
    return event;
}

bool FakePlatform::openWindow(int window, int x, int y, int clientWidth, int clientHeight,
                              const std::string& title, WindowStyle style) {
    if (failWindows.count(window)) return false;
    Window w;
    w.clientWidth = clientWidth;
    w.clientHeight = clientHeight;
    w.title = title;
    w.style = style;
    w.visible = !style.hidden;
    if (style.centred) {
        const int outerWidth = clientWidth + FrameLeft + FrameRight;
        const int outerHeight = clientHeight + FrameTop + FrameBottom;
        w.x = (ScreenWidth - std::min(ScreenWidth, outerWidth)) / 2;
        w.y = (ScreenHeight - std::min(ScreenHeight, outerHeight)) / 2;
    } else {
        w.x = x;
        w.y = y;
    }
    windows[window] = w;
    return true;
}

int FakePlatform::windowOuterLeft(int window) { return windows[window].x; }
int FakePlatform::windowOuterTop(int window) { return windows[window].y; }

void FakePlatform::showWindow(int window) {
    windows[window].visible = true;
    ++windows[window].showCount;
}

void FakePlatform::hideWindow(int window) { windows[window].visible = false; }

void FakePlatform::setWindowTitle(int window, const std::string& title) {
    windows[window].title = title;
    windows[window].titleHistory.push_back(title);
}

bool FakePlatform::addControl(int window, int id, Control c) {
    if (!windows.count(window)) return false;
    c.window = window;
    auto area = scrollAreaOfWindow_.find(window);
    if (area != scrollAreaOfWindow_.end()) c.parent = area->second;
    controls[id] = c;
    controlOrder.push_back(id);
    return true;
}

bool FakePlatform::createCanvas(int window, int id, Rect r, bool border, bool keyboard) {
    Control c;
    c.kind = ControlKind::Canvas;
    c.rect = r;
    c.border = border;
    c.keyboard = keyboard;
    if (!addControl(window, id, c)) return false;
    const int inset = border ? 2 : 0;
    canvases[id] = Surface(r.w - 2 * inset, r.h - 2 * inset, rgb(255, 255, 255));
    return true;
}

bool FakePlatform::createTrackBar(int window, int id, Rect r, int min, int max, bool ticks) {
    Control c;
    c.kind = ControlKind::TrackBar;
    c.rect = r;
    c.min = min;
    c.max = max;
    c.position = min;
    c.ticks = ticks;
    return addControl(window, id, c);
}

int FakePlatform::trackBarPosition(int id) { return controls[id].position; }

void FakePlatform::setTrackBarPosition(int id, int position) {
    Control& c = controls[id];
    c.position = std::clamp(position, c.min, c.max);
}

bool FakePlatform::createCheckBox(int window, int id, Rect r, const std::string& caption) {
    Control c;
    c.kind = ControlKind::CheckBox;
    c.rect = r;
    c.text = caption;
    return addControl(window, id, c);
}

bool FakePlatform::isChecked(int id) { return controls[id].checked; }

bool FakePlatform::createButton(int window, int id, Rect r, const std::string& caption) {
    Control c;
    c.kind = ControlKind::Button;
    c.rect = r;
    c.text = caption;
    return addControl(window, id, c);
}

bool FakePlatform::createLabel(int window, int id, Rect r, const std::string& text, bool centred) {
    Control c;
    c.kind = ControlKind::Label;
    c.rect = r;
    c.text = text;
    c.centred = centred;
    return addControl(window, id, c);
}

bool FakePlatform::createTextField(int window, int id, Rect r, bool multiLine, bool rightAligned) {
    Control c;
    c.kind = ControlKind::TextField;
    c.rect = r;
    c.multiLine = multiLine;
    c.rightAligned = rightAligned;
    return addControl(window, id, c);
}

bool FakePlatform::createScrollArea(int window, int id, Rect r, int innerWidth, int innerHeight,
                                    int step) {
    Control c;
    c.kind = ControlKind::ScrollArea;
    c.rect = r;
    c.innerWidth = innerWidth;
    c.innerHeight = innerHeight;
    c.step = step;
    if (!addControl(window, id, c)) return false;
    scrollAreaOfWindow_[window] = id;
    return true;
}

void FakePlatform::setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) {
    controls[id].innerWidth = innerWidth;
    controls[id].innerHeight = innerHeight;
}

void FakePlatform::setControlText(int id, const std::string& text) {
    controls[id].text = text;
    controls[id].textHistory.push_back(text);
}

void FakePlatform::setToolTip(int id, const std::string& text) { controls[id].toolTip = text; }
void FakePlatform::setFocus(int id) { focus = id; }
void FakePlatform::acceptFileDrops(int id) { controls[id].acceptsDrops = true; }

bool FakePlatform::createMenuBar(int menu, int window) {
    if (failMenus.count(menu)) return false;
    Menu& m = menus[menu];
    m.bar = true;
    m.window = window;
    m.path = {&m.root};
    return true;
}

bool FakePlatform::createPopupMenu(int menu) {
    if (failMenus.count(menu)) return false;
    Menu& m = menus[menu];
    m.path = {&m.root};
    return true;
}

bool FakePlatform::menuExists(int menu) { return menus.count(menu) > 0; }

void FakePlatform::append(int menu, std::unique_ptr<MenuNode> node, bool enter) {
    Menu& m = menus.at(menu);
    MenuNode* raw = node.get();
    m.path.back()->children.push_back(std::move(node));
    if (enter) m.path.push_back(raw);
}

void FakePlatform::addMenuTitle(int menu, const std::string& text) {
    Menu& m = menus.at(menu);
    m.path = {&m.root};
    auto node = std::make_unique<MenuNode>();
    node->kind = MenuNode::Title;
    node->text = text;
    append(menu, std::move(node), true);
}

void FakePlatform::openSubmenu(int menu, const std::string& text) {
    auto node = std::make_unique<MenuNode>();
    node->kind = MenuNode::Submenu;
    node->text = text;
    append(menu, std::move(node), true);
}

void FakePlatform::closeSubmenu(int menu) {
    Menu& m = menus.at(menu);
    if (m.path.size() > 1 && m.path.back()->kind == MenuNode::Submenu) m.path.pop_back();
}

void FakePlatform::addMenuItem(int menu, int command, const std::string& text) {
    auto node = std::make_unique<MenuNode>();
    node->kind = MenuNode::Item;
    node->text = text;
    node->command = command;
    append(menu, std::move(node), false);
}

void FakePlatform::addMenuSeparator(int menu) {
    auto node = std::make_unique<MenuNode>();
    node->kind = MenuNode::Separator;
    append(menu, std::move(node), false);
}

void FakePlatform::setMenuChecked(int menu, int command, bool on) {
    if (menus.count(menu)) menus[menu].checks[command] = on;
}

bool FakePlatform::isMenuChecked(int menu, int command) {
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
    events_.emplace_front(e, false);
}

void FakePlatform::addShortcut(int window, char key, int command) {
    shortcuts.push_back({window, key, command});
}

Surface* FakePlatform::beginCanvasDrawing(int canvas) {
    if (failCanvasDrawing.count(canvas)) return nullptr;
    auto it = canvases.find(canvas);
    return it == canvases.end() ? nullptr : &it->second;
}

void FakePlatform::endCanvasDrawing(int canvas) { ++canvasDrawCount[canvas]; }

bool FakePlatform::beginImageDrawing(int image) { return !failImageDrawing.count(image); }
void FakePlatform::endImageDrawing(int) {}

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

FileDialogResult FakePlatform::openFileDialog(const std::string& title, const std::string& folder,
                                              const std::string& filters, int filterIndex) {
    dialogs.push_back({"open", title, folder, filters, filterIndex});
    if (fileAnswers.empty()) return {};
    FileDialogResult answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

FileDialogResult FakePlatform::saveFileDialog(const std::string& title, const std::string& folder,
                                              const std::string& filters, int filterIndex) {
    dialogs.push_back({"save", title, folder, filters, filterIndex});
    if (fileAnswers.empty()) return {};
    FileDialogResult answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

namespace {

void collectLines(const FakePlatform::MenuNode& node, int depth, std::vector<std::string>& out) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (const auto& child : node.children) {
        switch (child->kind) {
        case FakePlatform::MenuNode::Item:
            out.push_back(indent + child->text + " [" + std::to_string(child->command) + "]");
            break;
        case FakePlatform::MenuNode::Separator: out.push_back(indent + "---"); break;
        default:
            out.push_back(indent + child->text);
            collectLines(*child, depth + 1, out);
            break;
        }
    }
}

} // namespace

std::vector<std::string> FakePlatform::menuLines(int menu) const {
    std::vector<std::string> out;
    auto m = menus.find(menu);
    if (m != menus.end()) collectLines(m->second.root, 0, out);
    return out;
}

} // namespace tessaly
