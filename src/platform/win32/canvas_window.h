#pragma once

#include "platform/event.h"
#include "platform/surface.h"

#include <windows.h>

#include <shellapi.h>

// A drawing canvas: a child window showing its Surface through a DIB section, and turning
// mouse, key and drop messages into raw events. On a scaled screen the picture is
// magnified by a whole factor, each of its pixels a square of screen pixels, and the
// events carry positions in the picture's own pixels.

namespace tessaly {

class CanvasWindow {
  public:
    CanvasWindow(EventQueue& events, int id, bool keyboard);
    ~CanvasWindow();
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    static bool registerClass(HINSTANCE instance);
    // A border is the 2-pixel sunken client edge; the drawing area is what lies inside it.
    // `width` and `height` are the control's size unmagnified.
    bool create(HINSTANCE instance, HWND parent, int childId, int width, int height, bool border);
    // Puts the canvas's top-left corner at (x, y) of its parent, its picture magnified
    // `scale` times: as large as the picture then is, plus the system's edge. On failure
    // it stays as it was.
    bool place(int x, int y, int scale);

    HWND handle() const { return hwnd_; }
    Surface& surface() { return surface_; }
    // Copies what changed of the surface to the screen picture and has it repainted.
    void present();
    // Its window's (ownedWindowProcedure).
    void attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void paint();
    void pointer(EventKind kind, Button button, WPARAM wParam, LPARAM lParam);
    void filesDropped(HDROP drop);
    // Whether the screen point `at` lies over the drawing area, no other window above it.
    bool pointerOver(POINT at) const;
    void push(Event event);

    EventQueue& events_;
    int id_;
    bool keyboard_;
    HWND hwnd_ = nullptr;
    Surface surface_;
    Surface shown_; // the surface as the screen picture last took it
    int scale_ = 0;
    HBITMAP dib_ = nullptr;
    std::uint32_t* dibPixels_ = nullptr;
    // The pointer is over the canvas and its leaving is being watched.
    bool hovering_ = false;
    // Where on the screen the pointer was at the last pointer event reported; nowhere once
    // it has been seen elsewhere after it left.
    static constexpr POINT nowhere{-32768, -32768};
    POINT pointer_ = nowhere;
};

} // namespace tessaly
