#pragma once

#include "platform/platform.h"
#include "platform/win32/canvas_window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/program_window.h"
#include "platform/win32/scroll_area.h"
#include "platform/win32/win32_menus.h"

#include <windows.h>

#include <deque>
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

class Win32Platform : public Platform, private WindowListener {
  public:
    explicit Win32Platform(HINSTANCE instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

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

  private:
    enum class ControlKind { Canvas, TrackBar, CheckBox, Button, Label, TextField, ScrollArea };
    struct Control {
        ControlKind kind;
        int window;
        HWND hwnd;
        std::unique_ptr<CanvasWindow> canvas;
        std::unique_ptr<ScrollArea> scroll;
        int position = 0; // a track bar's last reported position
        Rect rect{};      // as the program placed it, unscaled
        // In a scroll area's inner window, which scales as its canvases do.
        ScrollArea* area = nullptr;
    };
    struct Window {
        std::unique_ptr<ProgramWindow> frame;
        int dpi = BaseDpi;
        SIZE client{}; // as the program asked for it, unscaled
        HWND controlParent = nullptr; // the client area, or a scroll area's inner window
        HWND toolTips = nullptr;
        std::set<HWND> tools;
        std::vector<ACCEL> shortcuts;
        HACCEL accelerators = nullptr;
    };
    // Marks a modal dialog or popup as open: Escape does not count meanwhile, and the
    // program's other windows take no input.
    class ModalScope {
      public:
        ModalScope(Win32Platform& platform, HWND owner);
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

      private:
        Win32Platform& platform_;
        std::vector<HWND> disabled_;
    };

    // WindowListener
    void commandChosen(int command) override;
    void closeRequested(int window) override;
    void controlNotified(HWND control, UINT message, UINT code) override;
    bool sizeForDpi(int window, int dpi, SIZE& size) override;
    void dpiChanged(int window, int dpi, const RECT& suggested) override;

    Window* window(int id);
    HWND windowHandle(int id);
    bool isProgramWindow(HWND hwnd) const;
    Control* control(int id);
    Control* control(int id, ControlKind kind);
    // The parent of a new control of `window`, or null when it cannot be made.
    HWND controlParent(int window, int id);
    HWND createChild(int window, int id, const wchar_t* className, DWORD style, DWORD exStyle,
                     Rect r, const std::string& text);
    // The scroll area whose inner window takes the window's new controls, if any.
    ScrollArea* scrollAreaOf(const Window& window) const;
    // Registers a control made on its window, then puts it in place for the window's DPI.
    void addControl(int id, Control control, Rect r);
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
    FileDialogResult fileDialog(bool save, const std::string& title, const std::string& folder,
                                const std::string& filters, int filterIndex);

    HINSTANCE instance_;
    bool oleReady_ = false;
    bool quitting_ = false;
    bool escapeDown_ = false;
    int modalDepth_ = 0;
    bool settingText_ = false;
    HFONT stockFont_ = nullptr;  // made for the system's DPI
    std::map<int, HFONT> fonts_; // for other DPIs
    std::deque<Event> events_;
    Win32Menus menus_;
    // Declared after the windows, so that the controls go first, while their parents exist.
    std::map<int, Window> windows_;
    std::map<int, Control> controls_;
};

} // namespace tessaly
