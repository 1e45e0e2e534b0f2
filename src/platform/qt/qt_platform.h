#pragma once

#include "platform/platform.h"
#include "platform/qt/escape_tracker.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/qt_menus.h"
#include "platform/qt/quit_watcher.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QWidget;

// The platform on Qt Widgets: real windows, controls, menus, dialogs and drops. Its widgets
// translate Qt's events into the program's Events and queue them; waitEvent runs Qt's
// event processing until one is queued. A QApplication must exist before it is made and
// outlive it.

namespace tessaly {

class CanvasWidget;
class LateText;
class ProgramWindow;

class QtPlatform : public Platform {
  public:
    // `arguments` without the program's own path.
    QtPlatform(std::vector<std::string> arguments, std::string currentDirectory);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

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
    bool escapeHeld() override;

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

    std::vector<std::string> commandLineArguments() override;
    std::string currentDirectory() override;

    // For tests and diagnostics.
    // Processes the pending Qt events without waiting and takes the next queued event.
    std::optional<Event> pollEvent();
    // The top-level widget of a window; null when there is none.
    QWidget* windowWidget(int window) const;
    // The widget of a control; for a canvas the drawing area, whose coordinates the canvas
    // events carry. Null when there is none.
    QWidget* controlWidget(int id) const;
    // The Qt menu of a popup menu, or null.
    QMenu* popupMenu(int menu) const;

  private:
    enum class ControlKind { Canvas, TrackBar, CheckBox, Button, Label, TextField, ScrollArea };
    struct Control {
        ControlKind kind;
        int window;
        QWidget* widget;                // the whole control as placed in its window
        CanvasWidget* canvas = nullptr; // a canvas's drawing area
        QWidget* inner = nullptr;       // a scroll area's inner area
        LateText* lateText = nullptr;   // sets a multi-line field's text
    };

    ProgramWindow* window(int id) const;
    const Control* control(int id) const;
    const Control* control(int id, ControlKind kind) const;
    // The widget a new control of `window` goes into, or null when it cannot be made.
    QWidget* controlParent(int window, int id) const;
    void addControl(int id, ControlKind kind, int window, QWidget* widget, Rect r);
    QWidget* dialogOwner() const;
    static void takeDeferredDeletes();

    std::vector<std::string> arguments_;
    std::string currentDirectory_;
    // Declared before the owners of widgets, so that it outlives every widget that may
    // still queue an event while being destroyed.
    EventQueue queue_;
    EscapeTracker escape_;
    QuitWatcher quit_;
    QtMenus menus_;
    std::map<int, std::unique_ptr<ProgramWindow>> windows_;
    std::map<int, Control> controls_;
};

} // namespace tessaly
