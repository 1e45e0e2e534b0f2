#pragma once

#include <windows.h>

// A top-level window of the program: caption, system menu and minimise box, fixed size.
// It turns the close box into a close request and forwards what its controls and menus
// report; it never destroys itself.

namespace tessaly {

// Receives what the program's windows report.
class WindowListener {
  public:
    virtual ~WindowListener() = default;
    virtual void commandChosen(int command) = 0;
    virtual void closeRequested(int window) = 0;
    // A child control sent WM_COMMAND (code = the notification) or, for a track bar,
    // WM_HSCROLL / WM_VSCROLL.
    virtual void controlNotified(HWND control, UINT message, UINT code) = 0;
    // The window's outer size at `dpi`, asked before a move to a screen of that scale;
    // false leaves the choice to the system.
    virtual bool sizeForDpi(int window, int dpi, SIZE& size) = 0;
    // The window moved to a screen of another scale; `suggested` is its new outer rectangle.
    virtual void dpiChanged(int window, int dpi, const RECT& suggested) = 0;
};

// Handles WM_COMMAND and the scroll notifications of child controls for any parent
// window; true when the message was one of them.
bool forwardControlMessage(WindowListener& listener, UINT message, WPARAM wParam,
                           LPARAM lParam);

class ProgramWindow {
  public:
    static constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                   WS_CLIPCHILDREN;
    static constexpr DWORD exStyle = 0;

    ProgramWindow(WindowListener& listener, int id);
    ~ProgramWindow();
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    static bool registerClass(HINSTANCE instance);
    // Outer position and size.
    bool create(HINSTANCE instance, int x, int y, int width, int height, const wchar_t* title,
                bool visible);

    HWND handle() const { return hwnd_; }
    int id() const { return id_; }

  private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    WindowListener& listener_;
    int id_;
    HWND hwnd_ = nullptr;
    // The child that had the focus when the window was last deactivated, given it back on
    // activation, as dialogs do.
    HWND lastFocus_ = nullptr;
};

} // namespace tessaly
