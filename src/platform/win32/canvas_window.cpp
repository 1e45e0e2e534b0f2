#include "platform/win32/canvas_window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/dpi_scale.h"
#include "platform/win32/utf8.h"
#include "platform/win32/window_class.h"

namespace tessaly {

namespace {

constexpr const wchar_t* className = L"TessalyCanvas";
constexpr Colour white = rgb(255, 255, 255);
// Looks whether the pointer is still over the canvas. The system's own notice of a leave
// (TrackMouseEvent) is not to be trusted: Wine posts it only when its check every hover
// time (400 ms) finds the pointer gone, so that a quicker way out and back would count as
// a move, and a leave while a drag or a popup held the mouse needs a watch set again.
// A popup menu opened at the pointer covers it at once: the pointer has left the canvas
// for the menu, as other systems report too.
constexpr UINT_PTR leaveTimer = 1;
constexpr UINT leaveCheckMs = 10;

// The mouse messages a canvas reports (the middle button is none of the program's), and
// the keys it tells apart.
constexpr struct {
    UINT message;
    EventKind kind;
    Button button;
} pointerMessages[] = {
    {WM_LBUTTONDOWN, EventKind::PointerDown, Button::Left},
    {WM_RBUTTONDOWN, EventKind::PointerDown, Button::Right},
    {WM_LBUTTONUP, EventKind::PointerUp, Button::Left},
    {WM_RBUTTONUP, EventKind::PointerUp, Button::Right},
    {WM_MOUSEMOVE, EventKind::PointerMove, Button::None},
};
constexpr std::pair<WPARAM, Key> keys[] = {
    {VK_LEFT, Key::Left},     {VK_UP, Key::Up},         {VK_RIGHT, Key::Right},
    {VK_DOWN, Key::Down},     {VK_INSERT, Key::Insert}, {VK_DELETE, Key::Delete},
    {VK_ESCAPE, Key::Escape},
};

Key keyOf(WPARAM virtualKey) {
    for (const auto& [code, key] : keys)
        if (code == virtualKey) return key;
    return Key::Other;
}

// The Surface holds bytes R, G, B, 0xFF; a 32-bit DIB wants B, G, R, unused.
std::uint32_t dibPixel(std::uint32_t stored) {
    return ((stored & 0xFFu) << 16) | (stored & 0xFF00u) | ((stored >> 16) & 0xFFu);
}

} // namespace

CanvasWindow::CanvasWindow(EventQueue& events, int id, bool keyboard)
    : events_(events), id_(id), keyboard_(keyboard) {}

CanvasWindow::~CanvasWindow() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (dib_ != nullptr) DeleteObject(dib_);
}

// Without CS_DBLCLKS the second press of a double click comes as the press it is.
bool CanvasWindow::registerClass(HINSTANCE instance) {
    return registerWindowClass(instance, className, ownedWindowProcedure<CanvasWindow>);
}

bool CanvasWindow::create(HINSTANCE instance, HWND parent, int childId, int width, int height,
                          bool border) {
    const int inset = border ? 2 : 0;
    const int innerWidth = width - 2 * inset;
    const int innerHeight = height - 2 * inset;
    if (innerWidth <= 0 || innerHeight <= 0) return false;
    surface_ = Surface(innerWidth, innerHeight, white);
    hwnd_ = CreateWindowExW(border ? WS_EX_CLIENTEDGE : 0, className, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), instance, this);
    return hwnd_ != nullptr;
}

bool CanvasWindow::place(int x, int y, int scale) {
    if (scale != scale_) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = surface_.width() * scale;
        info.bmiHeader.biHeight = -surface_.height() * scale; // top row first, as in the Surface
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        const HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dib == nullptr) return false;
        if (dib_ != nullptr) DeleteObject(dib_);
        dib_ = dib;
        dibPixels_ = static_cast<std::uint32_t*>(bits);
        scale_ = scale;
        shown_ = Surface(); // the new picture takes all of it

    }
    // The edge is the system's, whatever its thickness at this DPI.
    RECT outer{};
    RECT client{};
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    const int edgeWidth = (outer.right - outer.left) - client.right;
    const int edgeHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(hwnd_, nullptr, x, y, surface_.width() * scale_ + edgeWidth,
                 surface_.height() * scale_ + edgeHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    present();
    return true;
}

// Only what changed since the last time is converted and repainted.
void CanvasWindow::present() {
    if (dibPixels_ == nullptr) return;
    GdiFlush();
    const Surface& from = surface_;
    const int scale = scale_;
    const std::size_t line = static_cast<std::size_t>(from.width()) * scale; // a screen line
    for (const Rect& r : surface_.takeChanges(shown_)) {
        for (int y = r.y; y < r.y + r.h; ++y) {
            std::uint32_t* to = dibPixels_ + y * scale * line + r.x * scale;
            for (int x = r.x; x < r.x + r.w; ++x)
                std::fill_n(to + (x - r.x) * scale, scale, dibPixel(from.row(y)[x]));
            // The row's other screen lines are copies of the first.
            for (int copy = 1; copy < scale; ++copy)
                std::copy_n(to, r.w * scale, to + copy * line);
        }
        RECT dirty{r.x * scale, r.y * scale, (r.x + r.w) * scale, (r.y + r.h) * scale};
        if (hwnd_ != nullptr) InvalidateRect(hwnd_, &dirty, FALSE);
    }
}

// The wheel is left to the default, which passes it on to the parent, so that a canvas
// inside a scroll area scrolls it.
LRESULT CanvasWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const auto& pointerMessage : pointerMessages) {
        if (pointerMessage.message != message) continue;
        pointer(pointerMessage.kind, pointerMessage.button, wParam, lParam);
        return 0;
    }
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // every pixel comes from the picture
    // While a drag begun here holds the mouse the pointer has not left the canvas yet: the
    // release settles the matter. A popup menu holding it lies over the pointer itself.
    case WM_TIMER: {
        if (wParam != leaveTimer) break;
        POINT at{};
        if (!GetCursorPos(&at)) return 0;
        if (hovering_) {
            if (GetCapture() == hwnd_ || pointerOver(at)) return 0;
            hovering_ = false;
            push(eventOf(EventKind::PointerLeave));
        }
        // Left under a popup, the pointer rests where it was last reported, and the position
        // repeated there once the popup is gone is no move; watched until the pointer is
        // elsewhere, so that coming back to that very pixel later is a move again. Where it
        // is now may lie over the canvas, its move not handled yet: that one is a move too.
        if (at.x == pointer_.x && at.y == pointer_.y) return 0;
        pointer_ = nowhere;
        KillTimer(hwnd_, leaveTimer);
        return 0;
    }
    // Auto-repeat sends further presses with bit 30 (the key was down) and no releases.
    case WM_KEYDOWN:
    case WM_KEYUP: {
        if (!keyboard_) break;
        if (message == WM_KEYDOWN && (lParam & (1L << 30)) != 0) return 0;
        push(keyEvent(message == WM_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp, keyOf(wParam)));
        return 0;
    }
    case WM_DROPFILES:
        filesDropped(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void CanvasWindow::paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    const HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ previous = SelectObject(memory, dib_);
    const RECT& r = ps.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(hwnd_, &ps);
}

// The canvas keeps the mouse while a button pressed over it is held, so moves and the
// release outside it still arrive here, with positions outside the area (negative ones
// too, hence the signed coordinates). Positions come in the client area's pixels and go
// out in the picture's.
void CanvasWindow::pointer(EventKind kind, Button button, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    POINT screen{x, y};
    ClientToScreen(hwnd_, &screen);
    const bool moved = screen.x != pointer_.x || screen.y != pointer_.y;
    pointer_ = screen;
    if (kind == EventKind::PointerMove && !moved) {
        // The system repeats the pointer's position when the mouse is let go, a popup
        // closes or the canvas scrolls under a pointer at rest; that is no move, nor the
        // pointer's return once a popup is gone from under it.
        return;
    } else if (kind == EventKind::PointerMove && !hovering_) {
        // The first move since the pointer came over the canvas: its leave is watched.
        hovering_ = true;
        SetTimer(hwnd_, leaveTimer, leaveCheckMs, nullptr);
    } else if (kind == EventKind::PointerDown) {
        if (keyboard_ && GetFocus() != hwnd_) SetFocus(hwnd_);
        SetCapture(hwnd_);
    }
    Event event = eventOf(kind);
    event.x = floorDivide(x, std::max(scale_, 1));
    event.y = floorDivide(y, std::max(scale_, 1));
    event.button = button;
    event.buttons =
        ((wParam & MK_LBUTTON) ? ButtonLeft : 0) | ((wParam & MK_RBUTTON) ? ButtonRight : 0);
    push(event);
    // Once the mouse is let go, the next look finds whether the pointer is still here.
    if (kind == EventKind::PointerUp && event.buttons == 0 && GetCapture() == hwnd_)
        ReleaseCapture();
}

bool CanvasWindow::pointerOver(POINT at) const {
    if (WindowFromPoint(at) != hwnd_) return false;
    ScreenToClient(hwnd_, &at);
    RECT client{};
    GetClientRect(hwnd_, &client);
    return PtInRect(&client, at) != FALSE;
}

void CanvasWindow::filesDropped(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    Event event = eventOf(EventKind::FilesDropped);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::vector<wchar_t> name(length + 1, L'\0');
        DragQueryFileW(drop, i, name.data(), length + 1);
        if (!event.paths.empty()) event.paths += '\n';
        event.paths += utf8FromWide(name.data());
    }
    DragFinish(drop);
    if (!event.paths.empty()) push(std::move(event));
}

void CanvasWindow::push(Event event) {
    event.control = id_;
    events_.push_back(std::move(event));
}

} // namespace tessaly
