#include "platform/win32/dpi.h"

namespace tessaly {

namespace {

// The user32 functions of Windows 10, or null on older systems.
struct DpiFunctions {
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    UINT(WINAPI* forSystem)() = nullptr;
    int(WINAPI* metric)(int, UINT) = nullptr;
    BOOL(WINAPI* adjust)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;

    DpiFunctions() {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        if (user32 == nullptr) return;
        load(user32, "GetDpiForWindow", forWindow);
        load(user32, "GetDpiForSystem", forSystem);
        load(user32, "GetSystemMetricsForDpi", metric);
        load(user32, "AdjustWindowRectExForDpi", adjust);
    }

    template <typename Function> static void load(HMODULE module, const char* name, Function& f) {
        f = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

const DpiFunctions& functions() {
    static const DpiFunctions loaded;
    return loaded;
}

} // namespace

int systemDpi() {
    if (functions().forSystem != nullptr) return static_cast<int>(functions().forSystem());
    const HDC screen = GetDC(nullptr);
    const int dpi = screen == nullptr ? BaseDpi : GetDeviceCaps(screen, LOGPIXELSY);
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : BaseDpi;
}

int windowDpi(HWND hwnd) {
    const UINT dpi = functions().forWindow != nullptr ? functions().forWindow(hwnd) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : systemDpi();
}

int metricForDpi(int index, int dpi) {
    if (functions().metric != nullptr) return functions().metric(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

void adjustRectForDpi(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi) {
    if (functions().adjust != nullptr &&
        functions().adjust(&r, style, menu, exStyle, static_cast<UINT>(dpi)))
        return;
    AdjustWindowRectEx(&r, style, menu, exStyle);
}

RECT scaledRect(Rect r, int dpi) {
    return RECT{scaledLength(r.x, dpi), scaledLength(r.y, dpi), scaledLength(r.x + r.w, dpi),
                scaledLength(r.y + r.h, dpi)};
}

} // namespace tessaly
