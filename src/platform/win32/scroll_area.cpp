#include "platform/win32/scroll_area.h"

#include "platform/win32/dpi.h"
#include "platform/win32/window_class.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr const wchar_t* areaClass = L"TessalyScrollArea";
constexpr const wchar_t* innerClass = L"TessalyScrollInner";

void setBar(HWND hwnd, int bar, int content, int page, int position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(content - 1, 0);
    info.nPage = static_cast<UINT>(std::max(page, 0));
    info.nPos = position;
    SetScrollInfo(hwnd, bar, &info, TRUE);
}

} // namespace

ScrollArea::~ScrollArea() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool ScrollArea::registerClasses(HINSTANCE instance) {
    const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return registerWindowClass(instance, areaClass, ownedWindowProcedure<ScrollArea>, face) &&
           registerWindowClass(instance, innerClass, innerProcedure, face);
}

bool ScrollArea::create(HINSTANCE instance, HWND parent, int childId, RECT area, int innerWidth,
                        int innerHeight, int step, int scale, int dpi) {
    step_ = std::max(step, 1);
    scale_ = scale;
    dpi_ = dpi;
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, areaClass, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL,
                            area.left, area.top, area.right - area.left, area.bottom - area.top,
                            parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), instance,
                            this);
    if (hwnd_ == nullptr) return false;
    inner_ = CreateWindowExW(0, innerClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0,
                             0, hwnd_, nullptr, instance, nullptr);
    if (inner_ == nullptr) return false;
    setInnerSize(innerWidth, innerHeight);
    return true;
}

void ScrollArea::setInnerSize(int width, int height) {
    innerWidth_ = std::max(width, 0) * scale_;
    innerHeight_ = std::max(height, 0) * scale_;
    SetWindowPos(inner_, nullptr, 0, 0, innerWidth_, innerHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    updateScrollBars();
}

void ScrollArea::place(RECT area, int scale, int dpi) {
    // The same part of the content stays at the top-left corner.
    x_ = x_ / scale_ * scale;
    y_ = y_ / scale_ * scale;
    innerWidth_ = innerWidth_ / scale_ * scale;
    innerHeight_ = innerHeight_ / scale_ * scale;
    scale_ = scale;
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(inner_, nullptr, 0, 0, innerWidth_, innerHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    updateScrollBars();
}

// Which bars are needed depends on the room the other one leaves.
void ScrollArea::updateScrollBars() {
    RECT window{};
    GetWindowRect(hwnd_, &window);
    RECT frame{0, 0, 0, 0};
    adjustRectForDpi(frame, WS_CHILD, false, WS_EX_CLIENTEDGE, dpi_);
    const int fullWidth = (window.right - window.left) - (frame.right - frame.left);
    const int fullHeight = (window.bottom - window.top) - (frame.bottom - frame.top);
    int width = fullWidth;
    int height = fullHeight;
    bool horizontal = false;
    bool vertical = false;
    for (int pass = 0; pass < 2; ++pass) {
        horizontal = innerWidth_ > width;
        vertical = innerHeight_ > height;
        width = fullWidth - (vertical ? metricForDpi(SM_CXVSCROLL, dpi_) : 0);
        height = fullHeight - (horizontal ? metricForDpi(SM_CYHSCROLL, dpi_) : 0);
    }
    x_ = std::clamp(x_, 0, std::max(innerWidth_ - width, 0));
    y_ = std::clamp(y_, 0, std::max(innerHeight_ - height, 0));
    // A page as large as the content hides the bar.
    setBar(hwnd_, SB_HORZ, innerWidth_, horizontal ? width : innerWidth_ + 1, x_);
    setBar(hwnd_, SB_VERT, innerHeight_, vertical ? height : innerHeight_ + 1, y_);
    moveInner();
}

void ScrollArea::scroll(int bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, bar, &info);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP:
        position -= step_ * scale_;
        break;
    case SB_LINEDOWN:
        position += step_ * scale_;
        break;
    case SB_PAGEUP:
        position -= static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        position += static_cast<int>(info.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        return;
    }
    scrollTo(bar, position);
}

void ScrollArea::scrollBy(int dx, int dy) {
    scrollTo(SB_HORZ, x_ + dx * scale_);
    scrollTo(SB_VERT, y_ + dy * scale_);
}

void ScrollArea::wheel(int x, int y, bool shift) {
    Event event = eventOf(EventKind::Wheel, -1, id_);
    event.x = x;
    event.y = y;
    event.value = shift ? 1 : 0;
    events_.push_back(event);
}

// The system keeps the position within the bar's range and returns where it put it.
void ScrollArea::scrollTo(int bar, int position) {
    SCROLLINFO update{};
    update.cbSize = sizeof update;
    update.fMask = SIF_POS;
    update.nPos = position;
    (bar == SB_HORZ ? x_ : y_) = SetScrollInfo(hwnd_, bar, &update, TRUE);
    moveInner();
}

void ScrollArea::moveInner() {
    SetWindowPos(inner_, nullptr, -x_, -y_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ScrollArea::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL:
        if (lParam != 0) break;
        scroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        if (lParam != 0) break;
        scroll(SB_VERT, LOWORD(wParam));
        return 0;
    // The wheel turned forward (positive) is a turn up; tilted right (positive), right.
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        const bool shift = (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0;
        if (message == WM_MOUSEWHEEL) wheel(0, -delta, shift);
        else wheel(delta, 0, shift);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// The inner window only passes on what its controls report.
LRESULT CALLBACK ScrollArea::innerProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_COMMAND || (message == WM_HSCROLL && lParam != 0))
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace tessaly
