#pragma once

#include "platform/platform.h"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A Platform for tests: records what the program asks of it, answers dialogs from a
// script, replays a scripted event queue, and can be told to fail a window, a menu or a
// begin-drawing.

namespace tessaly {

class FakePlatform : public Platform {
  public:
    // The fake screen: windows get this frame around their client area.
    static constexpr int ScreenWidth = 1280;
    static constexpr int ScreenHeight = 1024;
    static constexpr int FrameLeft = 4;
    static constexpr int FrameTop = 24;
    static constexpr int FrameRight = 4;
    static constexpr int FrameBottom = 4;

    struct Window : WindowSpec {
        bool visible = false;
        int showCount = 0;
        std::vector<std::string> titleHistory;
    };

    struct Control : ControlSpec {
        int parent = -1; // the scroll area holding it, or -1
        std::string toolTip;
        int value = 0; // a slider's position, the check box's state
        int scrollX = 0; // a scroll area's position, as far as the program scrolled it
        int scrollY = 0;
        bool acceptsDrops = false;
        std::vector<std::string> textHistory;
    };

    struct Menu {
        int window = -1;
        std::vector<MenuEntry> entries;
        std::map<int, bool> checks; // the first item of each command
    };

    struct DialogRequest {
        std::string kind; // "open", "save", "colour"
        std::string title, folder;
        std::string filters; // "Name|pattern|Name|pattern..."
        int filterIndex = 0;
    };
    struct Message {
        std::string title, text;
        bool operator==(const Message&) const = default;
    };
    struct Shortcut {
        int window;
        char key;
        int command;
    };

    // Script: raw events as a platform reports them.
    void pushEvent(const Event& e);
    void pushCommand(int command);
    void pushPointer(int control, EventKind kind, int x, int y, Button button = Button::None,
                     int buttons = 0);
    // A press and a release of `button` at (x, y), without moving.
    void pushClick(int control, int x, int y, Button button = Button::Left);
    void pushKey(int control, EventKind kind, Key key);
    void pushChange(int control, int value);
    void pushClose(int window);
    void pushDrop(int control, const std::string& paths);
    std::deque<FileDialogResult> fileAnswers;
    std::deque<std::optional<Colour>> colourAnswers;
    std::deque<int> popupAnswers; // command picked from the next popup, -1 to dismiss
    std::set<int> failWindows, failMenus, failCanvasDrawing;
    std::vector<std::string> arguments;
    std::string workingDirectory = "/home/user/fonts";

    // Records.
    std::map<int, Window> windows;
    std::map<int, Control> controls;
    std::vector<int> controlOrder;
    std::map<int, Menu> menus;
    std::vector<Shortcut> shortcuts;
    std::vector<Message> messages;
    std::vector<DialogRequest> dialogs;
    std::vector<std::pair<int, int>> popupsShown; // menu, window
    std::pair<int, std::vector<int>> menuPlace{-1, {}}; // the last shown
    std::vector<std::pair<int, int>> timers; // started: number, milliseconds
    std::map<int, Surface> canvases;
    int focus = -1;
    int eventsLeft() const { return static_cast<int>(events_.size()); }

    // The menu as indented lines: "File", "  Open...\tCtrl+O [0]", "  ---", ...
    std::vector<std::string> menuLines(int menu) const;
    bool isMenuChecked(int menu, int command) const;

    // Platform.
    bool openWindow(const WindowSpec& window) override;
    int windowOuterLeft(int window) override { return windows[window].x; }
    int windowOuterTop(int window) override { return windows[window].y; }
    void showWindow(int window) override;
    void hideWindow(int window) override { windows[window].visible = false; }
    void setWindowTitle(int window, const std::string& title) override;
    bool createControl(const ControlSpec& control) override;
    void setControlValue(int id, int value) override { controls[id].value = value; }
    void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) override;
    void scrollBy(int id, int dx, int dy) override;
    void setControlText(int id, const std::string& text) override;
    void setToolTip(int id, const std::string& text) override { controls[id].toolTip = text; }
    void setFocus(int id) override { focus = id; }
    void acceptFileDrops(int id) override { controls[id].acceptsDrops = true; }
    bool createMenu(const MenuSpec& menu) override;
    void setMenuChecked(int menu, int command, bool on) override;
    void showPopupMenu(int menu, int window) override;
    void showMenuPlace(int menu, const std::vector<int>& path) override { menuPlace = {menu, path}; }
    void addShortcut(int window, char key, int command) override;
    std::optional<Event> waitEvent() override;
    // The frame comes before the next input.
    void wakeAfterFrame() override { events_.push_front(Event{}); }
    void startTimer(int number, int milliseconds) override { timers.push_back({number, milliseconds}); }
    Surface* beginCanvasDrawing(int canvas) override;
    void endCanvasDrawing(int) override {}
    void messageBox(const std::string& title, const std::string& text) override;
    std::optional<Colour> chooseColour() override;
    FileDialogResult openFileDialog(const std::string& title, const std::string& folder,
                                    const FileFilters& filters, int filterIndex) override;
    FileDialogResult saveFileDialog(const std::string& title, const std::string& folder,
                                    const FileFilters& filters, int filterIndex) override;
    std::vector<std::string> commandLineArguments() override { return arguments; }
    std::string currentDirectory() override { return workingDirectory; }

  private:
    std::deque<Event> events_;
    std::map<int, int> scrollAreaOfWindow_;
};

} // namespace tessaly
