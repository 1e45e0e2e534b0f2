#pragma once

#include "platform/event.h"
#include "platform/surface.h"

#include <optional>
#include <string>
#include <vector>

// What the program needs of a windowing system: it reports raw input as Events and shows
// what it is told, addressing windows, controls, menus and commands by the integer ids the
// program gives. It knows none of the program's own names or rules. Texts are UTF-8.
// Implementations: QtPlatform, Win32Platform, WebPlatform, and FakePlatform for tests.

namespace tessaly {

// A top-level window: caption, system menu (close box) and minimise box; it can be neither
// maximised nor resized. The size is the client size, the position the outer (frame)
// position on the screen.
struct WindowSpec {
    int id = -1;
    std::string name; // a stable name by which tests and the page's markup find it
    int x = 0;
    int y = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    std::string title;
    bool centred = false; // placed centred on the screen, ignoring x and y
    bool hidden = false;  // created without being shown
};

enum class ControlKind { Canvas, Slider, CheckBox, Button, Label, TextField, ScrollArea };

// A control in the client area of `window`. Once a window has a scroll area, the controls
// created on it afterwards go into the scroll area's inner area.
struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    int window = -1;
    int id = -1;
    std::string name; // a stable name by which tests and the page's markup find it
    Rect rect;
    std::string text; // a check box's or button's caption, a label's text, a canvas's name
                      // for screen readers
    // Canvas: a border is a 2-pixel sunken frame, so the drawing area is smaller by 2
    // pixels on each side; with the keyboard it takes the focus when clicked and reports
    // keys. A new canvas is white.
    bool border = false;
    bool keyboard = false;
    int min = 0; // slider
    int max = 0;
    bool ticks = false;
    bool centred = false;      // label
    bool multiLine = false;    // text field
    bool rightAligned = false; // text field
    int innerWidth = 0;        // scroll area: the inner area and the step of its arrows
    int innerHeight = 0;
    int step = 0;              // also a slider's page and the space between its ticks
};

// One entry of a menu: an item (a tab in its text separates the shortcut label), a
// separator, or a submenu with its own entries. A menu bar's entries are its titles.
struct MenuEntry {
    enum class Kind { Item, Separator, Submenu } kind = Kind::Item;
    std::string text;
    int command = -1;
    bool checked = false;
    std::vector<MenuEntry> entries;
};

// A menu bar of `window`, or a popup menu when `window` is -1. Picking an item reports a
// Command event; a check mark changes only when the program sets it.
struct MenuSpec {
    int id = -1;
    int window = -1;
    std::vector<MenuEntry> entries;
};

// A file dialog's filter: the name it shows ("Font (*.fnt)") and the pattern of the files
// it lists ("*.fnt").
struct FileFilter {
    std::string name;
    std::string pattern;
};
using FileFilters = std::vector<FileFilter>;

struct FileDialogResult {
    std::string path; // empty when cancelled
    int filterIndex = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // Windows. A shown window becomes the active one; a minimised one comes back restored.
    // A hidden window keeps its controls and their content.
    virtual bool openWindow(const WindowSpec& window) = 0;
    virtual int windowOuterLeft(int window) = 0;
    virtual int windowOuterTop(int window) = 0;
    virtual void showWindow(int window) = 0;
    virtual void hideWindow(int window) = 0;
    virtual void setWindowTitle(int window, const std::string& title) = 0;

    // Controls.
    virtual bool createControl(const ControlSpec& control) = 0;
    // A slider's position, or a check box's state (0 or 1).
    virtual void setControlValue(int id, int value) = 0;
    virtual void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) = 0;
    // Scrolls a scroll area by that many pixels of its inner area, right and down, as far as
    // it goes.
    virtual void scrollBy(int id, int dx, int dy) = 0;
    virtual void setControlText(int id, const std::string& text) = 0;
    virtual void setToolTip(int id, const std::string& text) = 0;
    virtual void setFocus(int id) = 0;
    // Lets the control receive files dropped from the desktop (copy action).
    virtual void acceptFileDrops(int id) = 0;

    // Menus, each handed over whole.
    virtual bool createMenu(const MenuSpec& menu) = 0;
    virtual void setMenuChecked(int menu, int command, bool on) = 0;
    // Brings `window` to the front and shows the popup one pixel left of and above the
    // pointer; returns when it closes (at once where the program walks the menus, which
    // then tell their end). A pick arrives later as a Command event.
    virtual void showPopupMenu(int menu, int window) = 0;
    // Where the keys are in the menus, on a platform that reports its menus' keys as MenuKey
    // events for the program to walk; the desktop's menus walk themselves and ignore it.
    // `path` indexes entries (separators counted) from the top, a menu bar's title first:
    // the last one has the keys, those before it are open. An open popup may have an empty
    // path; menu -1 closes the menus and the keys go back where they were.
    virtual void showMenuPlace(int /*menu*/, const std::vector<int>& /*path*/) {}
    // Ctrl + key (an upper-case letter) raises the command while `window` is active.
    virtual void addShortcut(int window, char key, int command) = 0;

    // Events. waitEvent blocks until the next event; it gives nothing once the platform
    // itself is shutting down, which ends the program like a close of the main window.
    virtual std::optional<Event> waitEvent() = 0;
    // Queues a Wake once what was shown so far has reached the screen.
    virtual void wakeAfterFrame() = 0;
    // Queues a Timer event with `number` once `milliseconds` have passed; asked only by a
    // platform that reports fingers, for the program to time a long press.
    virtual void startTimer(int /*number*/, int /*milliseconds*/) {}

    // Drawing. A canvas keeps its picture and shows it when drawing ends and on every
    // repaint. Begin reports failure with nullptr.
    virtual Surface* beginCanvasDrawing(int canvas) = 0;
    virtual void endCanvasDrawing(int canvas) = 0;

    // Dialogs, all modal.
    virtual void messageBox(const std::string& title, const std::string& text) = 0;
    // Opens at black; nothing when cancelled.
    virtual std::optional<Colour> chooseColour() = 0;
    // They open in `folder` with the filter at `filterIndex` selected; the result holds
    // the index of the filter selected when the user confirmed.
    virtual FileDialogResult openFileDialog(const std::string& title, const std::string& folder,
                                            const FileFilters& filters, int filterIndex) = 0;
    virtual FileDialogResult saveFileDialog(const std::string& title, const std::string& folder,
                                            const FileFilters& filters, int filterIndex) = 0;

    // Process.
    virtual std::vector<std::string> commandLineArguments() = 0;
    virtual std::string currentDirectory() = 0;
};

} // namespace tessaly
