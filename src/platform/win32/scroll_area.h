#pragma once

#include "platform/event.h"

#include <windows.h>

// A scrolled view: a child window with a sunken edge and both scroll bars (shown when
// needed) over an inner window, which it moves by the scroll position. What controls placed
// in the inner window report goes on to the top-level window, as if they were its own. The
// wheel, which child windows pass on to their parent, is reported for the program to
// scroll it. The inner window holds canvases: its size and the steps are magnified by the
// canvases' whole factor.

namespace tessaly {

class ScrollArea {
  public:
    ScrollArea(EventQueue& events, int id) : events_(events), id_(id) {}
    ~ScrollArea();
    ScrollArea(const ScrollArea&) = delete;
    ScrollArea& operator=(const ScrollArea&) = delete;

    static bool registerClasses(HINSTANCE instance);
    // The area's rectangle is in pixels, the inner size and the step unmagnified.
    bool create(HINSTANCE instance, HWND parent, int childId, RECT area, int innerWidth,
                int innerHeight, int step, int scale, int dpi);

    HWND handle() const { return hwnd_; }
    HWND inner() const { return inner_; }
    int scale() const { return scale_; }
    void setInnerSize(int width, int height);
    // By unmagnified pixels, right and down.
    void scrollBy(int dx, int dy);
    // Moves the area to `area` (in pixels) for a window now at `dpi`.
    void place(RECT area, int scale, int dpi);
    // Its window's (ownedWindowProcedure).
    void attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK innerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void updateScrollBars();
    void scroll(int bar, int request);
    void wheel(int x, int y, bool shift);
    void scrollTo(int bar, int position);
    void moveInner();

    EventQueue& events_;
    int id_;
    HWND hwnd_ = nullptr;
    HWND inner_ = nullptr;
    int scale_ = 1;
    int dpi_ = 96;
    int innerWidth_ = 0; // in pixels
    int innerHeight_ = 0;
    int step_ = 1; // unmagnified
    int x_ = 0;    // scroll position
    int y_ = 0;
};

} // namespace tessaly
