#include "platform/web/web_platform.h"

#include "app/ids.h"

#include <emscripten.h>

#include <array>

// Each call goes to the page's script (page.js, object `Page`). Texts cross as UTF-8
// pointers; a text coming back is left by the script in `Page.text` and copied out by
// takeText.

// clang-format off
EM_JS(int, web_open_window, (int window, int x, int y, int w, int h, const char* title,
                             int centred, int hidden),
      { return Page.openWindow(window, x, y, w, h, UTF8ToString(title), centred, hidden); });
EM_JS(int, web_window_left, (int window), { return Page.windowLeft(window); });
EM_JS(int, web_window_top, (int window), { return Page.windowTop(window); });
EM_JS(void, web_show_window, (int window), { Page.showWindow(window); });
EM_JS(void, web_hide_window, (int window), { Page.hideWindow(window); });
EM_JS(void, web_set_title, (int window, const char* title),
      { Page.setTitle(window, UTF8ToString(title)); });

EM_JS(void, web_create_control, (int window, int id, const char* kind, const char* name,
                                 int x, int y, int w, int h, int a, int b, int c, const char* text),
      { Page.createControl(window, id, UTF8ToString(kind), UTF8ToString(name), x, y, w, h,
                           a, b, c, UTF8ToString(text)); });
EM_JS(int, web_control_value, (int id), { return Page.controlValue(id); });
EM_JS(void, web_set_control_value, (int id, int value), { Page.setControlValue(id, value); });
EM_JS(void, web_set_inner_size, (int id, int w, int h), { Page.setInnerSize(id, w, h); });
EM_JS(void, web_set_text, (int id, const char* text),
      { Page.setControlText(id, UTF8ToString(text)); });
EM_JS(void, web_set_tip, (int id, const char* text), { Page.setToolTip(id, UTF8ToString(text)); });
EM_JS(void, web_set_focus, (int id), { Page.setFocus(id); });
EM_JS(void, web_accept_drops, (int id), { Page.acceptDrops(id); });
EM_JS(void, web_put_pixels, (int id, const void* pixels, int w, int h, int at),
      { Page.putPixels(id, HEAPU8.subarray(pixels, pixels + w * h * 4), w, h, at); });

EM_JS(void, web_create_menu_bar, (int menu, int window), { Page.createMenuBar(menu, window); });
EM_JS(void, web_create_popup, (int menu), { Page.createPopup(menu); });
EM_JS(void, web_menu_add, (int menu, const char* kind, int command, const char* text),
      { Page.addMenuEntry(menu, UTF8ToString(kind), command, UTF8ToString(text)); });
EM_JS(void, web_menu_check, (int menu, int command, int on), { Page.setChecked(menu, command, on); });
EM_JS(void, web_add_shortcut, (int window, int key, int command),
      { Page.addShortcut(window, String.fromCharCode(key), command); });

EM_ASYNC_JS(void, web_show_popup, (int menu, int window), { await Page.showPopup(menu, window); });
EM_ASYNC_JS(void, web_wait_event, (int* out), { await Page.nextEvent(out); });
EM_JS(int, web_escape_held, (), { return Page.escapeHeld ? 1 : 0; });

EM_ASYNC_JS(void, web_message_box, (const char* title, const char* text),
            { await Page.messageBox(UTF8ToString(title), UTF8ToString(text)); });
EM_ASYNC_JS(int, web_choose_colour, (), { return await Page.chooseColour(); });
EM_ASYNC_JS(int, web_open_dialog, (const char* title, const char* filters),
            { return await Page.openDialog(UTF8ToString(title), UTF8ToString(filters)); });
EM_ASYNC_JS(void, web_save_dialog, (const char* title, const char* filters, int index),
            { await Page.saveDialog(UTF8ToString(title), UTF8ToString(filters), index); });
EM_ASYNC_JS(void, web_arguments, (), { await Page.commandLine(); });

EM_JS(int, web_text_length, (), { return lengthBytesUTF8(Page.text); });
EM_JS(void, web_text_copy, (char* out, int size), { stringToUTF8(Page.text, out, size); });
EM_JS(void, web_show_ended, (), { Page.ended(); });
// clang-format on

namespace tessaly {

namespace {

constexpr int canvasBorder = 2;
constexpr Colour white = rgb(255, 255, 255);

std::string takeText() {
    std::string text(static_cast<std::size_t>(web_text_length()), '\0');
    web_text_copy(text.data(), static_cast<int>(text.size()) + 1);
    return text;
}

// The names by which the page and its tests find the controls, by id.
constexpr std::array<const char*, 14> controlNames = {
    "overview",        "glyph-editor", "map",         "data-field",
    "range-enable",    "range-begin",  "range-end",   "range-begin-label",
    "range-end-label", "shift-left",   "shift-right", "shift-up",
    "shift-down",      "map-scroll"};
static_assert(GadgetCharsetView == 0 && GadgetGlyphEditor == 1 && GadgetMapCanvas == 2 &&
              GadgetDataField == 3 && GadgetRangeEnable == 4 && GadgetRangeBeginSlider == 5 &&
              GadgetRangeEndSlider == 6 && GadgetRangeBeginLabel == 7 && GadgetRangeEndLabel == 8 &&
              GadgetShiftLeft == 9 && GadgetShiftRight == 10 && GadgetShiftUp == 11 &&
              GadgetShiftDown == 12 && GadgetMapScrollArea == 13);

const char* controlName(int id) {
    return id >= 0 && id < static_cast<int>(controlNames.size()) ? controlNames[id] : "";
}

// The current directory in the page's file system, the first folder the dialogs are given.
constexpr const char* currentFolder = "/";

} // namespace

WebPlatform::WebPlatform() = default;

// --- Windows

bool WebPlatform::hasWindow(int window) const {
    return windows_.count(window) != 0;
}

bool WebPlatform::openWindow(int window, int x, int y, int clientWidth, int clientHeight,
                             const std::string& title, WindowStyle style) {
    if (hasWindow(window) || clientWidth <= 0 || clientHeight <= 0) return false;
    if (!web_open_window(window, x, y, clientWidth, clientHeight, title.c_str(), style.centred,
                         style.hidden))
        return false;
    windows_.emplace(window, true);
    return true;
}

int WebPlatform::windowOuterLeft(int window) {
    return hasWindow(window) ? web_window_left(window) : 0;
}

int WebPlatform::windowOuterTop(int window) {
    return hasWindow(window) ? web_window_top(window) : 0;
}

void WebPlatform::showWindow(int window) {
    if (hasWindow(window)) web_show_window(window);
}

void WebPlatform::hideWindow(int window) {
    if (hasWindow(window)) web_hide_window(window);
}

void WebPlatform::setWindowTitle(int window, const std::string& title) {
    if (hasWindow(window)) web_set_title(window, title.c_str());
}

// --- Controls

bool WebPlatform::addControl(int window, int id, ControlKind kind) {
    if (!hasWindow(window) || controls_.count(id) != 0) return false;
    controls_.emplace(id, kind);
    return true;
}

bool WebPlatform::isKind(int id, ControlKind kind) const {
    const auto it = controls_.find(id);
    return it != controls_.end() && it->second == kind;
}

bool WebPlatform::createCanvas(int window, int id, Rect r, bool border, bool keyboard) {
    const int inset = border ? canvasBorder : 0;
    if (r.w <= 2 * inset || r.h <= 2 * inset || !addControl(window, id, ControlKind::Canvas))
        return false;
    Canvas& canvas = canvases_[id];
    canvas.surface = Surface(r.w - 2 * inset, r.h - 2 * inset, white);
    canvas.border = inset;
    web_create_control(window, id, "canvas", controlName(id), r.x, r.y, r.w, r.h, inset, keyboard,
                       0, "");
    endCanvasDrawing(id);
    return true;
}

bool WebPlatform::createTrackBar(int window, int id, Rect r, int min, int max, bool ticks) {
    if (!addControl(window, id, ControlKind::TrackBar)) return false;
    web_create_control(window, id, "trackbar", controlName(id), r.x, r.y, r.w, r.h, min, max, ticks,
                       "");
    return true;
}

int WebPlatform::trackBarPosition(int id) {
    return isKind(id, ControlKind::TrackBar) ? web_control_value(id) : 0;
}

void WebPlatform::setTrackBarPosition(int id, int position) {
    if (isKind(id, ControlKind::TrackBar)) web_set_control_value(id, position);
}

bool WebPlatform::createCheckBox(int window, int id, Rect r, const std::string& caption) {
    if (!addControl(window, id, ControlKind::CheckBox)) return false;
    web_create_control(window, id, "checkbox", controlName(id), r.x, r.y, r.w, r.h, 0, 0, 0,
                       caption.c_str());
    return true;
}

bool WebPlatform::isChecked(int id) {
    return isKind(id, ControlKind::CheckBox) && web_control_value(id) != 0;
}

bool WebPlatform::createButton(int window, int id, Rect r, const std::string& caption) {
    if (!addControl(window, id, ControlKind::Button)) return false;
    web_create_control(window, id, "button", controlName(id), r.x, r.y, r.w, r.h, 0, 0, 0,
                       caption.c_str());
    return true;
}

bool WebPlatform::createLabel(int window, int id, Rect r, const std::string& text, bool centred) {
    if (!addControl(window, id, ControlKind::Label)) return false;
    web_create_control(window, id, "label", controlName(id), r.x, r.y, r.w, r.h, centred, 0, 0,
                       text.c_str());
    return true;
}

bool WebPlatform::createTextField(int window, int id, Rect r, bool multiLine, bool rightAligned) {
    if (!addControl(window, id, ControlKind::TextField)) return false;
    web_create_control(window, id, "text", controlName(id), r.x, r.y, r.w, r.h, multiLine,
                       rightAligned, 0, "");
    return true;
}

bool WebPlatform::createScrollArea(int window, int id, Rect r, int innerWidth, int innerHeight,
                                   int step) {
    if (!addControl(window, id, ControlKind::ScrollArea)) return false;
    web_create_control(window, id, "scroll", controlName(id), r.x, r.y, r.w, r.h, innerWidth,
                       innerHeight, step, "");
    return true;
}

void WebPlatform::setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) {
    if (isKind(id, ControlKind::ScrollArea)) web_set_inner_size(id, innerWidth, innerHeight);
}

void WebPlatform::setControlText(int id, const std::string& text) {
    if (controls_.count(id) != 0) web_set_text(id, text.c_str());
}

void WebPlatform::setToolTip(int id, const std::string& text) {
    if (controls_.count(id) != 0) web_set_tip(id, text.c_str());
}

void WebPlatform::setFocus(int id) {
    if (controls_.count(id) != 0) web_set_focus(id);
}

void WebPlatform::acceptFileDrops(int id) {
    if (controls_.count(id) != 0) web_accept_drops(id);
}

// --- Menus

bool WebPlatform::createMenuBar(int menu, int window) {
    if (!hasWindow(window) || menus_.count(menu) != 0 || !menuBarWindows_.insert(window).second)
        return false;
    menus_[menu];
    web_create_menu_bar(menu, window);
    return true;
}

bool WebPlatform::createPopupMenu(int menu) {
    if (menus_.count(menu) != 0) return false;
    menus_[menu];
    web_create_popup(menu);
    return true;
}

bool WebPlatform::menuExists(int menu) {
    return menus_.count(menu) != 0;
}

void WebPlatform::addMenuTitle(int menu, const std::string& text) {
    if (menuExists(menu)) web_menu_add(menu, "title", -1, text.c_str());
}

void WebPlatform::openSubmenu(int menu, const std::string& text) {
    if (menuExists(menu)) web_menu_add(menu, "submenu", -1, text.c_str());
}

void WebPlatform::closeSubmenu(int menu) {
    if (menuExists(menu)) web_menu_add(menu, "end", -1, "");
}

void WebPlatform::addMenuItem(int menu, int command, const std::string& text) {
    if (!menuExists(menu)) return;
    menus_[menu].emplace(command, false);
    web_menu_add(menu, "item", command, text.c_str());
}

void WebPlatform::addMenuSeparator(int menu) {
    if (menuExists(menu)) web_menu_add(menu, "separator", -1, "");
}

void WebPlatform::setMenuChecked(int menu, int command, bool on) {
    const auto found = menus_.find(menu);
    if (found == menus_.end()) return;
    const auto item = found->second.find(command);
    if (item == found->second.end()) return;
    item->second = on;
    web_menu_check(menu, command, on);
}

bool WebPlatform::isMenuChecked(int menu, int command) {
    const auto found = menus_.find(menu);
    if (found == menus_.end()) return false;
    const auto item = found->second.find(command);
    return item != found->second.end() && item->second;
}

void WebPlatform::showPopupMenu(int menu, int window) {
    if (menuExists(menu)) web_show_popup(menu, window);
}

void WebPlatform::addShortcut(int window, char key, int command) {
    if (hasWindow(window)) web_add_shortcut(window, static_cast<unsigned char>(key), command);
}

// --- Events

std::optional<Event> WebPlatform::waitEvent() {
    // kind, window, control, type, command, x, y, buttons, key
    std::array<int, 9> fields{};
    web_wait_event(fields.data());
    Event event;
    event.kind = static_cast<EventKind>(fields[0]);
    event.window = fields[1];
    event.control = fields[2];
    event.type = static_cast<EventType>(fields[3]);
    event.command = fields[4];
    event.mouseX = fields[5];
    event.mouseY = fields[6];
    event.buttons = fields[7];
    event.key = static_cast<Key>(fields[8]);
    if (event.kind == EventKind::FilesDropped) event.dropText = takeText();
    return event;
}

bool WebPlatform::escapeHeld() {
    return web_escape_held() != 0;
}

// --- Drawing

Surface* WebPlatform::beginCanvasDrawing(int canvas) {
    const auto found = canvases_.find(canvas);
    return found == canvases_.end() ? nullptr : &found->second.surface;
}

void WebPlatform::endCanvasDrawing(int canvas) {
    const auto found = canvases_.find(canvas);
    if (found == canvases_.end()) return;
    const Surface& surface = found->second.surface;
    // The stored pixels are R, G, B, 0xFF bytes: the canvas's own RGBA layout.
    web_put_pixels(canvas, surface.data(), surface.width(), surface.height(), found->second.border);
}

// Images are Surfaces the program owns; there is nothing to prepare or release.
bool WebPlatform::beginImageDrawing(int) {
    return true;
}

void WebPlatform::endImageDrawing(int) {}

// --- Dialogs

void WebPlatform::messageBox(const std::string& title, const std::string& text) {
    web_message_box(title.c_str(), text.c_str());
}

std::optional<Colour> WebPlatform::chooseColour() {
    const int chosen = web_choose_colour();
    if (chosen < 0) return std::nullopt;
    return static_cast<Colour>(chosen);
}

// The page tells no filter: the chosen file's name decides (a .map is the second filter,
// the map), as the program's filters are "sets, then maps".
FileDialogResult WebPlatform::openFileDialog(const std::string& title, const std::string&,
                                             const std::string& filters, int) {
    FileDialogResult result;
    result.filterIndex = web_open_dialog(title.c_str(), filters.c_str());
    result.path = takeText();
    if (result.path.empty()) result.filterIndex = 0;
    return result;
}

FileDialogResult WebPlatform::saveFileDialog(const std::string& title, const std::string&,
                                             const std::string& filters, int filterIndex) {
    FileDialogResult result;
    web_save_dialog(title.c_str(), filters.c_str(), filterIndex);
    result.path = takeText();
    result.filterIndex = filterIndex;
    return result;
}

// --- Process

// The page's ?file=URL is the one argument: fetched into the in-memory file system when the
// page is served over http, else left for the loader to report as missing.
std::vector<std::string> WebPlatform::commandLineArguments() {
    web_arguments();
    std::string path = takeText();
    if (path.empty()) return {};
    return {path};
}

std::string WebPlatform::currentDirectory() {
    return currentFolder;
}

void WebPlatform::showEnded() {
    web_show_ended();
}

} // namespace tessaly
