#pragma once

#include "platform/platform.h"

#include <deque>
#include <map>
#include <memory>
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

    struct Window {
        int x = 0, y = 0; // outer position
        int clientWidth = 0, clientHeight = 0;
        std::string title;
        WindowStyle style;
        bool visible = false;
        int showCount = 0;
        std::vector<std::string> titleHistory;
    };

    enum class ControlKind { Canvas, TrackBar, CheckBox, Button, Label, TextField, ScrollArea };
    struct Control {
        ControlKind kind{};
        int window = -1;
        int parent = -1; // the scroll area holding it, or -1
        Rect rect;
        std::string text;
        std::string toolTip;
        bool border = false, keyboard = false, ticks = false;
        bool centred = false, multiLine = false, rightAligned = false;
        int min = 0, max = 0, position = 0;
        bool checked = false;
        int innerWidth = 0, innerHeight = 0, step = 0;
        bool acceptsDrops = false;
        std::vector<std::string> textHistory;
    };

    struct MenuNode {
        enum Kind { Root, Title, Submenu, Item, Separator } kind = Root;
        std::string text;
        int command = -1;
        std::vector<std::unique_ptr<MenuNode>> children;
    };
    struct Menu {
        bool bar = false;
        int window = -1;
        MenuNode root;
        std::vector<MenuNode*> path; // insertion point
        std::map<int, bool> checks;
    };

    struct DialogRequest {
        std::string kind; // "open", "save", "colour"
        std::string title, folder, filters;
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

    // Script.
    void pushEvent(const Event& e, bool escapeHeldAtWake = false);
    void pushCommand(int command, bool escapeHeldAtWake = false);
    void pushControl(int control, EventType type, int x = 0, int y = 0, int buttons = 0,
                     Key key = Key::None);
    void pushClose(int window);
    void pushDrop(int control, const std::string& text);
    std::deque<FileDialogResult> fileAnswers;
    std::deque<std::optional<Colour>> colourAnswers;
    std::deque<int> popupAnswers; // command picked from the next popup, -1 to dismiss
    std::set<int> failWindows, failMenus, failCanvasDrawing, failImageDrawing;
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
    std::map<int, Surface> canvases;
    std::map<int, int> canvasDrawCount; // completed drawings per canvas
    int focus = -1;
    int eventsLeft() const { return static_cast<int>(events_.size()); }

    // The menu as indented lines: "File", "  Open...\tCtrl+O [0]", "  ---", ...
    std::vector<std::string> menuLines(int menu) const;

    // Platform.
    bool openWindow(int window, int x, int y, int clientWidth, int clientHeight,
                    const std::string& title, WindowStyle style) override;
    int windowOuterLeft(int window) override;
    int windowOuterTop(int window) override;
    void showWindow(int window) override;
    void hideWindow(int window) override;
    void setWindowTitle(int window, const std::string& title) override;
    bool createCanvas(int window, int id, Rect r, bool border, bool keyboard) override;
    bool createTrackBar(int window, int id, Rect r, int min, int max, bool ticks) override;
    int trackBarPosition(int id) override;
    void setTrackBarPosition(int id, int position) override;
    bool createCheckBox(int window, int id, Rect r, const std::string& caption) override;
    bool isChecked(int id) override;
    bool createButton(int window, int id, Rect r, const std::string& caption) override;
    bool createLabel(int window, int id, Rect r, const std::string& text, bool centred) override;
    bool createTextField(int window, int id, Rect r, bool multiLine, bool rightAligned) override;
    bool createScrollArea(int window, int id, Rect r, int innerWidth, int innerHeight,
                          int step) override;
    void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) override;
    void setControlText(int id, const std::string& text) override;
    void setToolTip(int id, const std::string& text) override;
    void setFocus(int id) override;
    void acceptFileDrops(int id) override;
    bool createMenuBar(int menu, int window) override;
    bool createPopupMenu(int menu) override;
    bool menuExists(int menu) override;
    void addMenuTitle(int menu, const std::string& text) override;
    void openSubmenu(int menu, const std::string& text) override;
    void closeSubmenu(int menu) override;
    void addMenuItem(int menu, int command, const std::string& text) override;
    void addMenuSeparator(int menu) override;
    void setMenuChecked(int menu, int command, bool on) override;
    bool isMenuChecked(int menu, int command) override;
    void showPopupMenu(int menu, int window) override;
    void addShortcut(int window, char key, int command) override;
    std::optional<Event> waitEvent() override;
    bool escapeHeld() override { return escape_; }
    Surface* beginCanvasDrawing(int canvas) override;
    void endCanvasDrawing(int canvas) override;
    bool beginImageDrawing(int image) override;
    void endImageDrawing(int image) override;
    void messageBox(const std::string& title, const std::string& text) override;
    std::optional<Colour> chooseColour() override;
    FileDialogResult openFileDialog(const std::string& title, const std::string& folder,
                                    const std::string& filters, int filterIndex) override;
    FileDialogResult saveFileDialog(const std::string& title, const std::string& folder,
                                    const std::string& filters, int filterIndex) override;
    std::vector<std::string> commandLineArguments() override { return arguments; }
    std::string currentDirectory() override { return workingDirectory; }

  private:
    bool addControl(int window, int id, Control c);
    void append(int menu, std::unique_ptr<MenuNode> node, bool enter);
    std::deque<std::pair<Event, bool>> events_;
    std::map<int, int> scrollAreaOfWindow_;
    bool escape_ = false;
};

} // namespace tessaly
