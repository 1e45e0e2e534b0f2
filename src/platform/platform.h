#pragma once

#include "platform/event.h"
#include "platform/surface.h"

#include <optional>
#include <string>
#include <vector>

// The windowing, drawing and dialog services the program needs, addressed by the
// program's own integer ids (platform/ids.h). Texts are UTF-8. Implementations:
// QtPlatform (the editor) and FakePlatform (tests).

namespace tessaly {

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// Every window has a caption, a system menu (close box) and a minimise box; none can
// be maximised or resized.
struct WindowStyle {
    bool centred = false; // place it centred on the screen, ignoring x and y
    bool hidden = false;  // create it without showing it
};

struct FileDialogResult {
    std::string path; // empty when cancelled
    int filterIndex = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // Windows. Sizes are client sizes, positions outer (frame) positions on the screen.
    virtual bool openWindow(int window, int x, int y, int clientWidth, int clientHeight,
                            const std::string& title, WindowStyle style) = 0;
    virtual int windowOuterLeft(int window) = 0;
    virtual int windowOuterTop(int window) = 0;
    // Shows the window, brought back from the task bar if it was minimised, and makes it
    // the active one.
    virtual void showWindow(int window) = 0;
    // Hides the window; it keeps its controls and their content.
    virtual void hideWindow(int window) = 0;
    virtual void setWindowTitle(int window, const std::string& title) = 0;

    // Controls, placed in the client area of `window`. Once a window has a scroll area,
    // the controls created on it afterwards go into the scroll area's inner area.
    // A canvas with a border has a 2-pixel sunken frame, so its drawing area is smaller
    // by 2 pixels on each side; a canvas with keyboard takes the focus when clicked and
    // reports key events. A new canvas is white.
    virtual bool createCanvas(int window, int id, Rect r, bool border, bool keyboard) = 0;
    virtual bool createTrackBar(int window, int id, Rect r, int min, int max, bool ticks) = 0;
    virtual int trackBarPosition(int id) = 0;
    virtual void setTrackBarPosition(int id, int position) = 0;
    virtual bool createCheckBox(int window, int id, Rect r, const std::string& caption) = 0;
    virtual bool isChecked(int id) = 0;
    virtual bool createButton(int window, int id, Rect r, const std::string& caption) = 0;
    virtual bool createLabel(int window, int id, Rect r, const std::string& text,
                             bool centred) = 0;
    virtual bool createTextField(int window, int id, Rect r, bool multiLine,
                                 bool rightAligned) = 0;
    virtual bool createScrollArea(int window, int id, Rect r, int innerWidth, int innerHeight,
                                  int step) = 0;
    virtual void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) = 0;
    virtual void setControlText(int id, const std::string& text) = 0;
    virtual void setToolTip(int id, const std::string& text) = 0;
    virtual void setFocus(int id) = 0;
    // Lets the control receive files dropped from the desktop (copy action).
    virtual void acceptFileDrops(int id) = 0;

    // Menus. Items are appended to the menu's current insertion point: its last title,
    // or the open submenu. Check marks are addressed by command id.
    virtual bool createMenuBar(int menu, int window) = 0;
    virtual bool createPopupMenu(int menu) = 0;
    virtual bool menuExists(int menu) = 0;
    virtual void addMenuTitle(int menu, const std::string& text) = 0;
    virtual void openSubmenu(int menu, const std::string& text) = 0;
    virtual void closeSubmenu(int menu) = 0;
    // A tab in the text separates the item text from its shortcut label.
    virtual void addMenuItem(int menu, int command, const std::string& text) = 0;
    virtual void addMenuSeparator(int menu) = 0;
    virtual void setMenuChecked(int menu, int command, bool on) = 0;
    virtual bool isMenuChecked(int menu, int command) = 0;
    // Brings `window` to the front and shows the popup one pixel left of and above the
    // pointer; returns when it closes. A pick arrives later as a command event.
    virtual void showPopupMenu(int menu, int window) = 0;
    // Ctrl + key (an upper-case letter) on `window` raises the command while that window
    // is the active one.
    virtual void addShortcut(int window, char key, int command) = 0;

    // Events. waitEvent blocks until the next event; it gives nothing once the platform
    // itself is shutting down, which ends the program like a close of the main window.
    virtual std::optional<Event> waitEvent() = 0;
    // The live state of the Escape key, counting only a press made while one of the
    // program's own windows (not a dialog or popup) was the active window.
    virtual bool escapeHeld() = 0;

    // Drawing. A canvas keeps its picture and shows it when drawing ends and on every
    // repaint. Begin reports failure with nullptr / false.
    virtual Surface* beginCanvasDrawing(int canvas) = 0;
    virtual void endCanvasDrawing(int canvas) = 0;
    virtual bool beginImageDrawing(int image) = 0;
    virtual void endImageDrawing(int image) = 0;

    // Dialogs, all modal.
    virtual void messageBox(const std::string& title, const std::string& text) = 0;
    // Opens at black; nothing when cancelled.
    virtual std::optional<Colour> chooseColour() = 0;
    // `filters` is "Name|pattern|Name|pattern..."; the result holds the index of the
    // filter selected when the user confirmed.
    virtual FileDialogResult openFileDialog(const std::string& title, const std::string& folder,
                                            const std::string& filters, int filterIndex) = 0;
    virtual FileDialogResult saveFileDialog(const std::string& title, const std::string& folder,
                                            const std::string& filters, int filterIndex) = 0;

    // Process.
    virtual std::vector<std::string> commandLineArguments() = 0;
    virtual std::string currentDirectory() = 0;
};

} // namespace tessaly
