#pragma once

#include "platform/platform.h"
#include "platform/qt/application_filter.h"
#include "platform/event.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

// The platform on Qt Widgets: real windows, controls, menus, dialogs and drops. Its widgets
// translate Qt's events into raw Events and queue them; waitEvent runs Qt's event
// processing until one is queued. Windows and controls take the names the program gives
// them as their object names (a canvas's drawing area, whose coordinates its events carry,
// takes the canvas's name). A QApplication must exist before it is made and outlive it.

namespace tessaly {

class CanvasWidget;
class ProgramWindow;

class QtPlatform : public Platform {
  public:
    // `arguments` without the program's own path.
    QtPlatform(std::vector<std::string> arguments, std::string currentDirectory);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    bool openWindow(const WindowSpec& spec) override;
    int windowOuterLeft(int window) override;
    int windowOuterTop(int window) override;
    void showWindow(int window) override;
    void hideWindow(int window) override;
    void setWindowTitle(int window, const std::string& title) override;

    bool createControl(const ControlSpec& spec) override;
    void setControlValue(int id, int value) override;
    void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) override;
    void scrollBy(int id, int dx, int dy) override;
    void setControlText(int id, const std::string& text) override;
    void setToolTip(int id, const std::string& text) override;
    void setFocus(int id) override;
    void acceptFileDrops(int id) override;

    bool createMenu(const MenuSpec& spec) override;
    void setMenuChecked(int menu, int command, bool on) override;
    void showPopupMenu(int menu, int window) override;
    void addShortcut(int window, char key, int command) override;

    std::optional<Event> waitEvent() override;
    void wakeAfterFrame() override { filter_.wakeAfterFrame(); }

    Surface* beginCanvasDrawing(int canvas) override;
    void endCanvasDrawing(int canvas) override;

    void messageBox(const std::string& title, const std::string& text) override;
    std::optional<Colour> chooseColour() override;
    FileDialogResult openFileDialog(const std::string& title, const std::string& folder,
                                    const FileFilters& filters, int filterIndex) override;
    FileDialogResult saveFileDialog(const std::string& title, const std::string& folder,
                                    const FileFilters& filters, int filterIndex) override;

    std::vector<std::string> commandLineArguments() override { return arguments_; }
    std::string currentDirectory() override { return currentDirectory_; }

    // For tests: processes the pending Qt events without waiting and takes the next
    // queued event.
    std::optional<Event> pollEvent();

  private:
    struct Control {
        QWidget* widget = nullptr;      // the whole control as placed in its window
        CanvasWidget* canvas = nullptr; // a canvas's drawing area
    };
    struct Menu {
        std::unique_ptr<QMenu> popup;  // none for a menu bar, which its window owns
        std::map<int, QAction*> items; // the first item of each command
    };

    ProgramWindow* window(int id) const;
    const Control* control(int id) const;
    QWidget* newControl(const ControlSpec& spec, QWidget* parent, Control& made);
    void addEntries(QWidget* parent, const std::vector<MenuEntry>& entries, Menu& menu);
    void push(Event event) { queue_.push_back(std::move(event)); }
    void pushCommand(int command);
    void processQtEvents(bool wait);
    std::optional<Event> take();
    QWidget* dialogOwner() const;

    std::vector<std::string> arguments_;
    std::string currentDirectory_;
    // Declared before the owners of widgets, so that it outlives every widget that may
    // still queue an event while being destroyed.
    EventQueue queue_;
    ApplicationFilter filter_;
    std::map<int, std::unique_ptr<ProgramWindow>> windows_;
    std::map<int, Control> controls_;
    std::map<int, Menu> menus_;
};

} // namespace tessaly
