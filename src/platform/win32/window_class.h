#pragma once

#include <windows.h>

// The window classes of the program's own child windows. Each such window belongs to an
// object, given as CreateWindowExW's last argument: the object learns its window first
// (attach) and then handles every message of it (handle).

namespace tessaly {

// A class with the arrow cursor; without a background brush the window paints every pixel.
inline bool registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                HBRUSH background = nullptr) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

template <typename Owner>
LRESULT CALLBACK ownedWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->attach(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (owner == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return owner->handle(message, wParam, lParam);
}

} // namespace tessaly
