#include "platform/win32/program_window.h"

#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_ids.h"

namespace tessaly {

namespace {

constexpr const wchar_t* className = L"TessalyWindow";
// WM_GETDPISCALEDSIZE, of Windows 10 (1703), beyond the headers' Windows 7.
constexpr UINT getDpiScaledSize = 0x02E4;

// The program's icon from its resources at the size the system uses for `width` and
// `height`; null when the program carries no icon.
HICON programIcon(HINSTANCE instance, int width, int height) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TESSALY_ICON_ID), IMAGE_ICON,
                                         GetSystemMetrics(width), GetSystemMetrics(height),
                                         LR_DEFAULTCOLOR | LR_SHARED));
}

} // namespace

bool forwardControlMessage(WindowListener& listener, UINT message, WPARAM wParam,
                           LPARAM lParam) {
    const auto control = reinterpret_cast<HWND>(lParam);
    switch (message) {
    case WM_COMMAND:
        // Menu items and accelerators come without a control handle.
        if (control == nullptr) {
            listener.commandChosen(static_cast<int>(LOWORD(wParam)) - CommandItemBase);
        } else {
            listener.controlNotified(control, message, HIWORD(wParam));
        }
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // A window's own scroll bars come without a handle; those are not controls.
        if (control == nullptr) return false;
        listener.controlNotified(control, message, LOWORD(wParam));
        return true;
    default:
        return false;
    }
}

ProgramWindow::ProgramWindow(WindowListener& listener, int id) : listener_(listener), id_(id) {}

ProgramWindow::~ProgramWindow() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool ProgramWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // Every window of the class, main and map, shows the program's icon, or the system's
    // application icon when there is none; the small one is made from the large one if the
    // program has no small size.
    wc.hIcon = programIcon(instance, SM_CXICON, SM_CYICON);
    if (wc.hIcon == nullptr)
        wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hIconSm = programIcon(instance, SM_CXSMICON, SM_CYSMICON);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

bool ProgramWindow::create(HINSTANCE instance, int x, int y, int width, int height,
                           const wchar_t* title, bool visible) {
    hwnd_ = CreateWindowExW(exStyle, className, title, style | (visible ? WS_VISIBLE : 0), x, y,
                            width, height, nullptr, nullptr, instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK ProgramWindow::procedure(HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<ProgramWindow*>(created->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ProgramWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT ProgramWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (forwardControlMessage(listener_, message, wParam, lParam)) return 0;
    switch (message) {
    case WM_CLOSE:
        // The program decides: the main window ends it, the map window only hides.
        listener_.closeRequested(id_);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
        }
        break;
    case getDpiScaledSize:
        return listener_.sizeForDpi(id_, static_cast<int>(wParam),
                                    *reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED:
        listener_.dpiChanged(id_, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETFOCUS:
        if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace tessaly
