#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <array>
#include <map>

// Each call goes to the page's script (page.js, object `Page`); a menu crosses as JSON. A
// text coming back is left by the script in `Page.text` and copied out by takeText. The
// calls that wait for the user suspend the program.

// clang-format off
EM_JS(void, web_open_window, (int id, const char* name, int x, int y, int width, int height,
                             const char* title, bool centred, bool hidden), {
    Page.openWindow({ id, name: UTF8ToString(name), x, y, width, height,
                      title: UTF8ToString(title), centred, hidden });
});
EM_JS(void, web_create_control, (int kind, int window, int id, const char* name, int x, int y,
                                 int width, int height, const char* text, int border,
                                 bool keyboard, int min, int max, bool ticks, bool centred,
                                 bool multiLine, bool rightAligned, int innerWidth,
                                 int innerHeight, int step), {
    Page.createControl({ kind, window, id, name: UTF8ToString(name), x, y, width, height,
                         text: UTF8ToString(text), border, keyboard, min, max, ticks, centred,
                         multiLine, rightAligned, innerWidth, innerHeight, step });
});
EM_ASYNC_JS(void, web_wait_event, (int* out), { await Page.nextEvent(out); });
EM_ASYNC_JS(void, web_message_box, (const char* title, const char* text),
            { await Page.messageBox(UTF8ToString(title), UTF8ToString(text)); });
EM_ASYNC_JS(int, web_choose_colour, (), { return await Page.chooseColour(); });
EM_ASYNC_JS(int, web_open_dialog, (const char* title, const char* filters, int index),
            { return await Page.openDialog(UTF8ToString(title), UTF8ToString(filters), index); });
EM_ASYNC_JS(void, web_save_dialog, (const char* title, const char* filters, int index),
            { await Page.saveDialog(UTF8ToString(title), UTF8ToString(filters), index); });
EM_ASYNC_JS(void, web_arguments, (), { await Page.commandLine(); });
EM_JS(int, web_text_length, (), { return lengthBytesUTF8(Page.text); });
EM_JS(void, web_text_copy, (char* out, int size), { stringToUTF8(Page.text, out, size); });
// clang-format on

namespace tessaly {

namespace {

constexpr int canvasBorder = 2;
// The page reports the DOM's bits of the buttons held, which are the program's.
static_assert(ButtonLeft == 1 && ButtonRight == 2 && ButtonMiddle == 4);
constexpr Colour white = rgb(255, 255, 255);
// The current directory in the page's file system, the first folder the dialogs are given.
constexpr const char* currentFolder = "/";

// "Name|pattern|Name|pattern...", as the page's dialogs take the filters.
std::string joined(const FileFilters& filters) {
    std::string text;
    for (const FileFilter& f : filters) text += (text.empty() ? "" : "|") + f.name + '|' + f.pattern;
    return text;
}

std::string takeText() {
    std::string text(static_cast<std::size_t>(web_text_length()), '\0');
    web_text_copy(text.data(), static_cast<int>(text.size()) + 1);
    return text;
}

// A menu's entries a line each, submenus' after their own: depth, kind, command, mark, text
// (menu texts hold no line breaks).
void addEntryLines(const std::vector<MenuEntry>& entries, int depth, std::string& lines) {
    for (const MenuEntry& e : entries) {
        lines += std::to_string(depth) + ' ' + std::to_string(int(e.kind)) + ' ' +
                 std::to_string(e.command) + (e.checked ? " 1 " : " 0 ") + e.text + '\n';
        addEntryLines(e.entries, depth + 1, lines);
    }
}

// The windows, controls and menus are the page's, by the ids the program gives them.
class WebPlatform final : public Platform {
  public:
    WebPlatform() { EM_ASM(Page.start()); }

    bool openWindow(const WindowSpec& w) override {
        if (w.clientWidth <= 0 || w.clientHeight <= 0) return false;
        web_open_window(w.id, w.name.c_str(), w.x, w.y, w.clientWidth, w.clientHeight,
                        w.title.c_str(), w.centred, w.hidden);
        return true;
    }
    int windowOuterLeft(int window) override {
        return EM_ASM_INT(return Page.windowLeft($0), window);
    }
    int windowOuterTop(int window) override {
        return EM_ASM_INT(return Page.windowTop($0), window);
    }
    void showWindow(int window) override { EM_ASM(Page.showWindow($0), window); }
    void hideWindow(int window) override { EM_ASM(Page.hideWindow($0), window); }
    void setWindowTitle(int window, const std::string& title) override {
        EM_ASM(Page.setTitle($0, UTF8ToString($1)), window, title.c_str());
    }

    bool createControl(const ControlSpec& c) override {
        const bool canvas = c.kind == ControlKind::Canvas;
        const int border = canvas && c.border ? canvasBorder : 0;
        if (canvas && (c.rect.w <= 2 * border || c.rect.h <= 2 * border)) return false;
        web_create_control(int(c.kind), c.window, c.id, c.name.c_str(), c.rect.x, c.rect.y,
                           c.rect.w, c.rect.h, c.text.c_str(), border, c.keyboard, c.min, c.max,
                           c.ticks, c.centred, c.multiLine, c.rightAligned, c.innerWidth,
                           c.innerHeight, c.step);
        if (canvas) {
            canvases_[c.id] = {Surface(c.rect.w - 2 * border, c.rect.h - 2 * border, white),
                               border};
            endCanvasDrawing(c.id);
        }
        return true;
    }
    void setControlValue(int id, int value) override {
        EM_ASM(Page.setControlValue($0, $1), id, value);
    }
    void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) override {
        EM_ASM(Page.setInnerSize($0, $1, $2), id, innerWidth, innerHeight);
    }
    void scrollBy(int id, int dx, int dy) override {
        EM_ASM(Page.scrollBy($0, $1, $2), id, dx, dy);
    }
    void setControlText(int id, const std::string& text) override {
        EM_ASM(Page.setControlText($0, UTF8ToString($1)), id, text.c_str());
    }
    void setToolTip(int id, const std::string& text) override {
        EM_ASM(Page.setToolTip($0, UTF8ToString($1)), id, text.c_str());
    }
    void setFocus(int id) override { EM_ASM(Page.setFocus($0), id); }
    void acceptFileDrops(int id) override { EM_ASM(Page.acceptDrops($0), id); }

    bool createMenu(const MenuSpec& menu) override {
        std::string lines;
        addEntryLines(menu.entries, 0, lines);
        EM_ASM(Page.createMenu($0, $1, UTF8ToString($2)), menu.id, menu.window, lines.c_str());
        return true;
    }
    void setMenuChecked(int menu, int command, bool on) override {
        EM_ASM(Page.setMenuChecked($0, $1, $2), menu, command, on);
    }
    void showPopupMenu(int menu, int window) override {
        EM_ASM(Page.showPopup($0, $1), menu, window);
    }
    void showMenuPlace(int menu, const std::vector<int>& path) override {
        std::string list;
        for (const int index : path) list += (list.empty() ? "" : ",") + std::to_string(index);
        EM_ASM(Page.showMenuPlace($0, JSON.parse(UTF8ToString($1))), menu, ('[' + list + ']').c_str());
    }
    void addShortcut(int window, char key, int command) override {
        EM_ASM(Page.addShortcut($0, String.fromCharCode($1), $2), window,
               static_cast<unsigned char>(key), command);
    }

    std::optional<Event> waitEvent() override {
        // kind, window, control, command, x, y, button, buttons, key, value
        std::array<int, 10> f{};
        web_wait_event(f.data());
        Event event{.kind = EventKind(f[0]),
                    .window = f[1],
                    .control = f[2],
                    .command = f[3],
                    .x = f[4],
                    .y = f[5],
                    .button = Button(f[6]),
                    .buttons = f[7],
                    .key = Key(f[8]),
                    .value = f[9]};
        if (event.kind == EventKind::FilesDropped) event.paths = takeText();
        return event;
    }
    void wakeAfterFrame() override {
        EM_ASM(Page.wakeAfterFrame());
    }
    void startTimer(int number, int milliseconds) override {
        EM_ASM(Page.startTimer($0, $1), number, milliseconds);
    }

    Surface* beginCanvasDrawing(int canvas) override {
        const auto found = canvases_.find(canvas);
        return found == canvases_.end() ? nullptr : &found->second.surface;
    }
    void endCanvasDrawing(int canvas) override {
        const auto found = canvases_.find(canvas);
        if (found == canvases_.end()) return;
        const Surface& surface = found->second.surface;
        // The stored pixels are R, G, B, 0xFF bytes: the canvas's own RGBA layout.
        EM_ASM(Page.putPixels($0, HEAPU8.subarray($1, $1 + $2 * $3 * 4), $2, $3, $4), canvas,
               surface.data(), surface.width(), surface.height(), found->second.border);
    }

    void messageBox(const std::string& title, const std::string& text) override {
        web_message_box(title.c_str(), text.c_str());
    }
    std::optional<Colour> chooseColour() override {
        const int chosen = web_choose_colour();
        if (chosen < 0) return std::nullopt;
        return static_cast<Colour>(chosen);
    }
    FileDialogResult openFileDialog(const std::string& title, const std::string&,
                                    const FileFilters& filters, int filterIndex) override {
        const int chosen = web_open_dialog(title.c_str(), joined(filters).c_str(), filterIndex);
        return {takeText(), chosen};
    }
    FileDialogResult saveFileDialog(const std::string& title, const std::string&,
                                    const FileFilters& filters, int filterIndex) override {
        web_save_dialog(title.c_str(), joined(filters).c_str(), filterIndex);
        return {takeText(), filterIndex};
    }

    // The page's ?file=URL is the one argument: fetched into the in-memory file system when
    // the page is served over http, else left for the loader to report as missing.
    std::vector<std::string> commandLineArguments() override {
        web_arguments();
        std::string path = takeText();
        if (path.empty()) return {};
        return {path};
    }
    std::string currentDirectory() override { return currentFolder; }

  private:
    struct Canvas {
        Surface surface;
        int border = 0;
    };
    std::map<int, Canvas> canvases_;
};

} // namespace

std::unique_ptr<Platform> makeWebPlatform() {
    return std::make_unique<WebPlatform>();
}

void showEnded() {
    EM_ASM(Page.ended());
}

} // namespace tessaly
