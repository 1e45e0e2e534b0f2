#pragma once

#include "platform/event.h"
#include "platform/surface.h"

#include <windows.h>

#include <shellapi.h>

#include <deque>

// A drawing canvas: a child window showing its Surface through a DIB section, and turning
// mouse, key, focus and drop messages into the program's canvas events.

namespace tessaly {

class CanvasWindow {
  public:
    CanvasWindow(std::deque<Event>& events, int window, int id, bool keyboard);
    ~CanvasWindow();
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    static bool registerClass(HINSTANCE instance);
    // A border is the 2-pixel sunken client edge; the drawing area is what lies inside it.
    bool create(HINSTANCE instance, HWND parent, int childId, int x, int y, int width,
                int height, bool border);

    HWND handle() const { return hwnd_; }
    Surface& surface() { return surface_; }
    // Copies the surface to the screen picture and has it repainted.
    void present();

  private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void buttonDown(EventType type, WPARAM wParam, LPARAM lParam);
    void buttonUp(EventType type, EventType click, WPARAM wParam, LPARAM lParam);
    void mouseMove(WPARAM wParam, LPARAM lParam);
    void mouseLeave();
    void filesDropped(HDROP drop);
    void trackLeave();
    bool inside(int x, int y) const;
    void push(EventType type, int x, int y, int buttons, Key key = Key::None);
    void pushAtCursor(EventType type, Key key = Key::None);

    std::deque<Event>& events_;
    int window_;
    int id_;
    bool keyboard_;
    HWND hwnd_ = nullptr;
    Surface surface_;
    HBITMAP dib_ = nullptr;
    std::uint32_t* dibPixels_ = nullptr;
    // The pointer is over the canvas and its leaving is being watched.
    bool hovering_ = false;
    Key lastKey_ = Key::None;
};

} // namespace tessaly
