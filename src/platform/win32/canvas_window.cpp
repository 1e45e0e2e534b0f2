#include "platform/win32/canvas_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/dpi_scale.h"
#include "platform/win32/utf8.h"

namespace tessaly {

namespace {

constexpr const wchar_t* className = L"TessalyCanvas";
constexpr Colour white = rgb(255, 255, 255);
// Looks whether the pointer is still over the canvas, for systems that notice a leave
// late: Wine posts WM_MOUSELEAVE only when its check every hover time (400 ms) finds the
// pointer gone, so a quicker way out and back would count as a move.
constexpr UINT_PTR leaveTimer = 1;
constexpr UINT leaveCheckMs = 10;

int buttonBits(WPARAM wParam) {
    int bits = 0;
    if (wParam & MK_LBUTTON) bits |= ButtonLeft;
    if (wParam & MK_RBUTTON) bits |= ButtonRight;
    if (wParam & MK_MBUTTON) bits |= ButtonMiddle;
    return bits;
}

// The button of a press or release event, as a bit of CanvasWindow::pressed_.
int pressedBit(EventType type) {
    switch (type) {
    case EventType::LeftButtonDown:
    case EventType::LeftButtonUp:
        return ButtonLeft;
    case EventType::RightButtonDown:
    case EventType::RightButtonUp:
        return ButtonRight;
    default:
        return ButtonMiddle;
    }
}

int heldButtons() {
    int bits = 0;
    if (GetKeyState(VK_LBUTTON) < 0) bits |= ButtonLeft;
    if (GetKeyState(VK_RBUTTON) < 0) bits |= ButtonRight;
    if (GetKeyState(VK_MBUTTON) < 0) bits |= ButtonMiddle;
    return bits;
}

Key keyOf(WPARAM virtualKey) {
    switch (virtualKey) {
    case VK_LEFT:
        return Key::Left;
    case VK_UP:
        return Key::Up;
    case VK_RIGHT:
        return Key::Right;
    case VK_DOWN:
        return Key::Down;
    case VK_INSERT:
        return Key::Insert;
    case VK_DELETE:
        return Key::Delete;
    case VK_ESCAPE:
        return Key::Escape;
    default:
        return Key::Other;
    }
}

// The Surface holds bytes R, G, B, 0xFF; a 32-bit DIB wants B, G, R, unused.
std::uint32_t dibPixel(std::uint32_t stored) {
    return ((stored & 0xFFu) << 16) | (stored & 0xFF00u) | ((stored >> 16) & 0xFFu);
}

} // namespace

CanvasWindow::CanvasWindow(std::deque<Event>& events, int window, int id, bool keyboard)
    : events_(events), window_(window), id_(id), keyboard_(keyboard) {}

CanvasWindow::~CanvasWindow() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (dib_ != nullptr) DeleteObject(dib_);
}

bool CanvasWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Double clicks are reported, as the second press of one arrives only as such.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

bool CanvasWindow::create(HINSTANCE instance, HWND parent, int childId, int width, int height,
                          bool border) {
    border_ = border;
    const int inset = border ? 2 : 0;
    const int innerWidth = width - 2 * inset;
    const int innerHeight = height - 2 * inset;
    if (innerWidth <= 0 || innerHeight <= 0) return false;
    surface_ = Surface(innerWidth, innerHeight, white);
    hwnd_ = CreateWindowExW(border ? WS_EX_CLIENTEDGE : 0, className, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), instance,
                            this);
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

void CanvasWindow::present() {
    if (dibPixels_ == nullptr) return;
    GdiFlush();
    const std::uint32_t* from = surface_.data();
    const auto width = static_cast<std::size_t>(surface_.width());
    const auto scale = static_cast<std::size_t>(scale_);
    const std::size_t row = width * scale;
    std::uint32_t* to = dibPixels_;
    for (int y = 0; y < surface_.height(); ++y, from += width) {
        if (scale == 1) {
            for (std::size_t x = 0; x < width; ++x) to[x] = dibPixel(from[x]);
        } else {
            for (std::size_t x = 0; x < width; ++x)
                std::fill_n(to + x * scale, scale, dibPixel(from[x]));
        }
        // The row's other screen lines are copies of the first.
        for (std::size_t copy = 1; copy < scale; ++copy)
            std::copy_n(to, row, to + copy * row);
        to += row * scale;
    }
    if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT CALLBACK CanvasWindow::procedure(HWND hwnd, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<CanvasWindow*>(created->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CanvasWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CanvasWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // every pixel comes from the picture
    case WM_LBUTTONDOWN:
        buttonDown(EventType::LeftButtonDown, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        buttonDown(EventType::RightButtonDown, wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        buttonDown(EventType::MiddleButtonDown, wParam, lParam);
        return 0;
    // The second press of a double click comes only as this message: report it as the
    // press it is, then as the double click.
    case WM_LBUTTONDBLCLK:
        buttonDown(EventType::LeftButtonDown, wParam, lParam);
        push(EventType::LeftDoubleClick, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
             buttonBits(wParam));
        return 0;
    case WM_RBUTTONDBLCLK:
        buttonDown(EventType::RightButtonDown, wParam, lParam);
        push(EventType::RightDoubleClick, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
             buttonBits(wParam));
        return 0;
    case WM_LBUTTONUP:
        buttonUp(EventType::LeftButtonUp, EventType::LeftClick, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        buttonUp(EventType::RightButtonUp, EventType::RightClick, wParam, lParam);
        return 0;
    case WM_MBUTTONUP:
        buttonUp(EventType::MiddleButtonUp, EventType::None, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(wParam, lParam);
        return 0;
    case WM_MOUSELEAVE:
        mouseLeave();
        return 0;
    // While any window holds the mouse (a drag, a popup menu) its release settles the hover.
    case WM_TIMER:
        if (wParam != leaveTimer) break;
        if (GetCapture() == nullptr && !pointerOverArea()) mouseLeave();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_) captureEnded();
        return 0;
    // Reported, then passed on to the parent as any child window does, so that a canvas
    // inside a scroll area scrolls it.
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd_, &at);
        push(EventType::Wheel, at.x, at.y, buttonBits(GET_KEYSTATE_WPARAM(wParam)));
        break;
    }
    case WM_KEYDOWN:
        if (!keyboard_) break;
        lastKey_ = keyOf(wParam);
        pushAtCursor(EventType::KeyDown, lastKey_);
        return 0;
    case WM_CHAR:
        if (!keyboard_) break;
        pushAtCursor(EventType::Character, lastKey_);
        return 0;
    case WM_KEYUP:
        // Auto-repeat sends only presses here, so every release is a real one.
        if (!keyboard_) break;
        pushAtCursor(EventType::KeyUp, keyOf(wParam));
        return 0;
    case WM_SETFOCUS:
        pushAtCursor(EventType::FocusGained);
        return 0;
    case WM_KILLFOCUS:
        pushAtCursor(EventType::FocusLost);
        return 0;
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
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top,
           SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(hwnd_, &ps);
}

// The canvas keeps the mouse while a button pressed over it is held, so moves and the
// release outside it still arrive here, with positions outside the area (negative ones
// too, hence the signed coordinates).
void CanvasWindow::buttonDown(EventType type, WPARAM wParam, LPARAM lParam) {
    if (keyboard_ && GetFocus() != hwnd_) SetFocus(hwnd_);
    SetCapture(hwnd_);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    pointerMoved(x, y);
    pressed_ |= pressedBit(type);
    push(type, x, y, buttonBits(wParam));
}

void CanvasWindow::buttonUp(EventType type, EventType click, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const int buttons = buttonBits(wParam);
    pointerMoved(x, y);
    push(type, x, y, buttons);
    // A click needs the press on this canvas and the release back over it.
    const int bit = pressedBit(type);
    const POINT at = picturePoint(x, y);
    if (click != EventType::None && (pressed_ & bit) != 0 && clickable(at.x, at.y))
        push(click, x, y, buttons);
    pressed_ &= ~bit;
    // Letting go of the mouse settles whether the pointer is still here (captureEnded).
    if (buttons == 0 && GetCapture() == hwnd_) ReleaseCapture();
}

void CanvasWindow::mouseMove(WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const bool moved = pointerMoved(x, y);
    EventType type = EventType::MouseMove;
    if (!hovering_) {
        // The first move after the pointer came over the canvas.
        hovering_ = true;
        trackLeave();
        type = EventType::MouseEnter;
    } else if (!moved) {
        // The system repeats the pointer's position when the mouse is let go, a popup
        // closes or the canvas scrolls under a pointer at rest; that is no move.
        return;
    }
    push(type, x, y, buttonBits(wParam));
}

void CanvasWindow::mouseLeave() {
    // While the mouse is held the canvas still owns it; the release settles the matter.
    if (GetCapture() == hwnd_) return;
    if (!hovering_) return;
    left();
}

void CanvasWindow::left() {
    hovering_ = false;
    KillTimer(hwnd_, leaveTimer);
    pushAtCursor(EventType::MouseLeave);
}

// The mouse was let go or taken away (by a popup or a dialog). A leave seen while it was
// held was ignored, and the system may have dropped the watch meanwhile: report the leave
// now, or watch for the next one.
void CanvasWindow::captureEnded() {
    pressed_ = 0;
    settleHover();
}

void CanvasWindow::settleHover() {
    if (!hovering_) return;
    if (pointerOverArea()) {
        trackLeave();
    } else {
        left();
    }
}

bool CanvasWindow::pointerOverArea() const {
    POINT at{};
    GetCursorPos(&at);
    if (WindowFromPoint(at) != hwnd_) return false;
    ScreenToClient(hwnd_, &at);
    RECT client{};
    GetClientRect(hwnd_, &client);
    return PtInRect(&client, at) != FALSE;
}

void CanvasWindow::trackLeave() {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = hwnd_;
    TrackMouseEvent(&track);
    SetTimer(hwnd_, leaveTimer, leaveCheckMs, nullptr);
}

void CanvasWindow::filesDropped(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::string paths;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::vector<wchar_t> name(length + 1, L'\0');
        DragQueryFileW(drop, i, name.data(), length + 1);
        if (!paths.empty()) paths += '\n';
        paths += utf8FromWide(name.data());
    }
    DragFinish(drop);
    if (paths.empty()) return;
    Event event;
    event.kind = EventKind::FilesDropped;
    event.window = window_;
    event.control = id_;
    event.dropText = std::move(paths);
    events_.push_back(std::move(event));
}

// A release counts as a click over the drawing area and, on a bordered canvas, within the
// control's full size measured in picture pixels from the drawing area's corner: the right
// and bottom border count (up to 259 of a 256-pixel area), the left and top border do not.
bool CanvasWindow::clickable(int x, int y) const {
    const int extra = border_ ? 4 : 0;
    return x >= 0 && y >= 0 && x < surface_.width() + extra && y < surface_.height() + extra;
}

bool CanvasWindow::pointerMoved(int x, int y) {
    POINT at{x, y};
    ClientToScreen(hwnd_, &at);
    const bool moved = at.x != pointer_.x || at.y != pointer_.y;
    pointer_ = at;
    return moved;
}

POINT CanvasWindow::picturePoint(int x, int y) const {
    const int scale = std::max(scale_, 1);
    return POINT{floorDivide(x, scale), floorDivide(y, scale)};
}

// Positions come in the client area's pixels and go out in the picture's.
void CanvasWindow::push(EventType type, int x, int y, int buttons, Key key) {
    Event event = controlEvent(window_, id_, type);
    const POINT at = picturePoint(x, y);
    event.mouseX = at.x;
    event.mouseY = at.y;
    event.buttons = buttons;
    event.key = key;
    events_.push_back(std::move(event));
}

// Events without a pointer position of their own carry where the pointer is now.
void CanvasWindow::pushAtCursor(EventType type, Key key) {
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(hwnd_, &at);
    push(type, at.x, at.y, heldButtons(), key);
}

} // namespace tessaly
