#pragma once

#include "platform/platform.h"
#include "platform/win32/canvas_window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/scroll_area.h"

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The platform on the Win32 API: top-level windows, common controls, a canvas window class
// over DIB sections, menus, accelerators and the common dialogs. Window procedures turn
// messages into Events and queue them; waitEvent runs the message loop until one is queued.

namespace tessaly {

class Win32Platform : public Platform {
  public:
    explicit Win32Platform(HINSTANCE instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    bool openWindow(const WindowSpec& window) override;
    int windowOuterLeft(int window) override { return outerCorner(window).x; }
    int windowOuterTop(int window) override { return outerCorner(window).y; }
    void showWindow(int window) override;
    void hideWindow(int window) override;
    void setWindowTitle(int window, const std::string& title) override;

    bool createControl(const ControlSpec& control) override;
    void setControlValue(int id, int value) override;
    void setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) override;
    void scrollBy(int id, int dx, int dy) override;
    void setControlText(int id, const std::string& text) override;
    void setToolTip(int id, const std::string& text) override;
    void setFocus(int id) override;
    void acceptFileDrops(int id) override;

    bool createMenu(const MenuSpec& menu) override;
    void setMenuChecked(int menu, int command, bool on) override;
    void showPopupMenu(int menu, int window) override;
    void addShortcut(int window, char key, int command) override;

    std::optional<Event> waitEvent() override;
    // No frame to wait for: the texts are painted with the canvases.
    void wakeAfterFrame() override { events_.push_back(Event{}); }

    Surface* beginCanvasDrawing(int canvas) override;
    void endCanvasDrawing(int canvas) override;

    void messageBox(const std::string& title, const std::string& text) override;
    std::optional<Colour> chooseColour() override;
    FileDialogResult openFileDialog(const std::string& title, const std::string& folder,
                                    const FileFilters& filters, int filterIndex) override {
        return fileDialog(false, title, folder, filters, filterIndex);
    }
    FileDialogResult saveFileDialog(const std::string& title, const std::string& folder,
                                    const FileFilters& filters, int filterIndex) override {
        return fileDialog(true, title, folder, filters, filterIndex);
    }

    std::vector<std::string> commandLineArguments() override;
    std::string currentDirectory() override;

  private:
    // Commands are offset so that no menu item carries 0, which a menu loop also uses for
    // "nothing chosen"; control ids are offset away from the commands and from the
    // system's own dialog ids.
    static constexpr int CommandItemBase = 100;
    static constexpr int ControlIdBase = 1000;
    // A top-level window: caption, system menu and minimise box, fixed size.
    static constexpr DWORD WindowStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

    struct Control {
        ControlKind kind;
        int window;
        HWND hwnd;
        std::unique_ptr<CanvasWindow> canvas;
        std::unique_ptr<ScrollArea> scroll;
        int position = 0; // a slider's last position
        Rect rect{};      // as the program placed it, unscaled
        // In a scroll area's inner window, which scales as its canvases do.
        ScrollArea* area = nullptr;
    };
    struct Window {
        HWND hwnd = nullptr;
        int dpi = BaseDpi;
        SIZE client{};                // as the program asked for it, unscaled
        HWND controlParent = nullptr; // the client area, or a scroll area's inner window
        HWND toolTips = nullptr;
        std::set<HWND> tools;
        std::vector<ACCEL> shortcuts;
        HACCEL accelerators = nullptr;
        // The child that had the focus when the window was last deactivated, given it
        // back on activation, as dialogs do.
        HWND lastFocus = nullptr;
    };
    struct Menu {
        HMENU handle = nullptr;
        bool popup = false;
        std::map<int, HMENU> items; // the (sub)menu holding each command's first item
    };
    static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT windowMessage(int id, Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    void controlNotified(HWND control, UINT message, UINT code);
    void dpiChanged(int window, int dpi, const RECT& suggested);
    bool appendEntries(HMENU menu, const std::vector<MenuEntry>& entries, Menu& made);

    // A window's outer top-left corner, unscaled as the program gave it.
    POINT outerCorner(int window);
    Window* window(int id);
    HWND windowHandle(int id);
    bool isProgramWindow(HWND hwnd) const;
    Control* control(int id, std::optional<ControlKind> kind = std::nullopt);
    // The scroll area whose inner window takes the window's new controls, if any.
    ScrollArea* scrollAreaOf(const Window& window) const;
    // Registers a control made on its window, then puts it in place for the window's DPI.
    void addControl(const ControlSpec& spec, Control control);
    // Where a control lies in pixels: scaled with the window's DPI, or in a scroll area by
    // its canvases' factor.
    RECT controlRect(const Window& window, const ScrollArea* area, Rect r) const;
    void placeControl(const Window& window, Control& control);
    // The outer size of a window with that client size at `dpi`.
    static SIZE outerSize(SIZE client, int dpi);
    // The dialog font at `dpi`.
    HFONT font(int dpi);
    void watchKeys(const MSG& message);
    bool translateShortcut(MSG& message);
    HWND dialogOwner();
    // Around a modal dialog or popup: it takes the keyboard, and the program's other windows
    // take no input.
    void beginModal(HWND owner);
    void endModal();
    FileDialogResult fileDialog(bool save, const std::string& title, const std::string& folder,
                                const FileFilters& filters, int filterIndex);

    HINSTANCE instance_;
    bool oleReady_ = false;
    bool quitting_ = false;
    bool modal_ = false;
    std::vector<HWND> disabled_; // the windows beginModal disabled
    HFONT stockFont_ = nullptr;  // made for the system's DPI
    std::map<int, HFONT> fonts_; // for other DPIs
    EventQueue events_;
    std::map<int, Menu> menus_;
    // Declared after the windows, so that the controls go first, while their parents exist.
    std::map<int, Window> windows_;
    std::map<int, Control> controls_;
};

} // namespace tessaly
