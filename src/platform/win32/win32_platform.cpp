#include "platform/win32/win32_platform.h"

#include "platform/command_line.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/utf8.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <utility>

// Windows, menus, events and drawing; the controls and the dialogs have files of their own.

namespace tessaly {

namespace {

constexpr const wchar_t* windowClass = L"TessalyWindow";
// WM_GETDPISCALEDSIZE, of Windows 10 (1703), beyond the headers' Windows 7.
constexpr UINT getDpiScaledSize = 0x02E4;

// The program's icon from its resources at the size the system uses for `width` and
// `height`; null when the program carries no icon.
HICON programIcon(HINSTANCE instance, int width, int height) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TESSALY_ICON_ID), IMAGE_ICON,
                                         GetSystemMetrics(width), GetSystemMetrics(height),
                                         LR_DEFAULTCOLOR | LR_SHARED));
}

// An ampersand marks the access key in a menu text; the program's texts mean it literally.
std::wstring menuText(const std::string& text) {
    return wideFromUtf8(text, L'&', L'&');
}

} // namespace

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    // The common dialogs run shell code that needs an apartment on this thread.
    oleReady_ = SUCCEEDED(OleInitialize(nullptr));
    // Every window of the class, main and map, shows the program's icon, or the system's
    // application icon when there is none; the small one is made from the large one if the
    // program has no small size.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProcedure;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = programIcon(instance_, SM_CXICON, SM_CYICON);
    if (wc.hIcon == nullptr)
        wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hIconSm = programIcon(instance_, SM_CXSMICON, SM_CYSMICON);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);
    CanvasWindow::registerClass(instance_);
    ScrollArea::registerClasses(instance_);
    stockFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Win32Platform::~Win32Platform() {
    controls_.clear();
    for (auto& [id, menu] : menus_)
        if (menu.popup) DestroyMenu(menu.handle);
    // A window destroys its menu bar.
    for (auto& [id, window] : windows_) {
        if (window.accelerators != nullptr) DestroyAcceleratorTable(window.accelerators);
        if (window.toolTips != nullptr) DestroyWindow(window.toolTips);
        SetWindowLongPtrW(window.hwnd, GWLP_USERDATA, 0);
        DestroyWindow(window.hwnd);
    }
    for (const auto& [dpi, font] : fonts_)
        DeleteObject(font);
    if (oleReady_) OleUninitialize();
}

// --- Windows

Win32Platform::Window* Win32Platform::window(int id) {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second;
}

HWND Win32Platform::windowHandle(int id) {
    const Window* found = window(id);
    return found == nullptr ? nullptr : found->hwnd;
}

bool Win32Platform::isProgramWindow(HWND hwnd) const {
    return hwnd != nullptr && std::any_of(windows_.begin(), windows_.end(),
                                          [hwnd](const auto& w) { return w.second.hwnd == hwnd; });
}

bool Win32Platform::openWindow(const WindowSpec& spec) {
    if (windows_.count(spec.id) != 0 || spec.clientWidth <= 0 || spec.clientHeight <= 0)
        return false;
    // Made hidden first, as its DPI, which gives its size, is known only once it exists.
    const HWND hwnd = CreateWindowExW(0, windowClass, wideFromUtf8(spec.title).c_str(), WindowStyle,
                                      spec.x, spec.y, spec.clientWidth, spec.clientHeight, nullptr,
                                      nullptr, instance_, this);
    if (hwnd == nullptr) return false;
    const int dpi = windowDpi(hwnd);
    const SIZE client{spec.clientWidth, spec.clientHeight};
    const SIZE outer = outerSize(client, dpi);
    int x = scaledLength(spec.x, dpi);
    int y = scaledLength(spec.y, dpi);
    if (spec.centred) {
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        x = (screenWidth - std::min<int>(screenWidth, outer.cx)) / 2;
        y = (screenHeight - std::min<int>(screenHeight, outer.cy)) / 2;
    }
    SetWindowPos(hwnd, nullptr, x, y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    Window& created = windows_[spec.id];
    created.hwnd = hwnd;
    created.dpi = dpi;
    created.client = client;
    created.controlParent = hwnd;
    if (!spec.hidden) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
        SetForegroundWindow(hwnd);
    }
    return true;
}

// The outer size around the client size; a menu bar attached later takes its height from
// the client area, as the window keeps this size.
SIZE Win32Platform::outerSize(SIZE client, int dpi) {
    RECT outer{0, 0, scaledLength(client.cx, dpi), scaledLength(client.cy, dpi)};
    adjustRectForDpi(outer, WindowStyle, false, 0, dpi);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

POINT Win32Platform::outerCorner(int window) {
    RECT r{};
    const Window* found = this->window(window);
    if (found == nullptr || !GetWindowRect(found->hwnd, &r)) return POINT{0, 0};
    return POINT{MulDiv(r.left, BaseDpi, found->dpi), MulDiv(r.top, BaseDpi, found->dpi)};
}

void Win32Platform::showWindow(int window) {
    const HWND hwnd = windowHandle(window);
    if (hwnd == nullptr) return;
    // A minimised window comes back restored; otherwise it keeps its state.
    ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
}

void Win32Platform::hideWindow(int window) {
    if (const HWND hwnd = windowHandle(window)) ShowWindow(hwnd, SW_HIDE);
}

void Win32Platform::setWindowTitle(int window, const std::string& title) {
    if (const HWND hwnd = windowHandle(window)) SetWindowTextW(hwnd, wideFromUtf8(title).c_str());
}

LRESULT CALLBACK Win32Platform::windowProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
    }
    // Until openWindow has registered it, a window gets the system's handling.
    if (auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        for (auto& [id, window] : self->windows_)
            if (window.hwnd == hwnd)
                return self->windowMessage(id, window, message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Platform::windowMessage(int id, Window& window, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
    const HWND hwnd = window.hwnd;
    switch (message) {
    case WM_COMMAND:
        // Menu items and accelerators come without a control handle.
        if (lParam != 0) {
            controlNotified(reinterpret_cast<HWND>(lParam), message, HIWORD(wParam));
        } else if (LOWORD(wParam) >= CommandItemBase) {
            Event event = eventOf(EventKind::Command);
            event.command = LOWORD(wParam) - CommandItemBase;
            events_.push_back(event);
        }
        return 0;
    case WM_HSCROLL:
        // A window's own scroll bars come without a handle; those are not controls.
        if (lParam == 0) break;
        controlNotified(reinterpret_cast<HWND>(lParam), message, LOWORD(wParam));
        return 0;
    // The program decides: the main window ends it, the map window only hides.
    case WM_CLOSE: events_.push_back(eventOf(EventKind::WindowClosed, id)); return 0;
    case WM_ACTIVATEAPP:
        // Keys let go in another program are never seen here.
        if (wParam == FALSE) events_.push_back(keyEvent(EventKind::KeyboardLost));
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd, focus)) window.lastFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        if (window.lastFocus != nullptr && IsWindow(window.lastFocus) &&
            IsChild(hwnd, window.lastFocus)) {
            SetFocus(window.lastFocus);
            return 0;
        }
        break;
    // Asked before a move to a screen of another scale: the outer size there.
    case getDpiScaledSize:
        if (static_cast<int>(wParam) <= 0) return FALSE;
        *reinterpret_cast<SIZE*>(lParam) = outerSize(window.client, static_cast<int>(wParam));
        return TRUE;
    case WM_DPICHANGED:
        dpiChanged(id, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// --- Menus

// Appends the entries to `menu`, noting where each command's first item lies.
bool Win32Platform::appendEntries(HMENU menu, const std::vector<MenuEntry>& entries, Menu& made) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Kind::Separator:
            if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) return false;
            break;
        // The text after a tab shows as the shortcut label, right-aligned by the system.
        case MenuEntry::Kind::Item:
            if (entry.command < 0 ||
                !AppendMenuW(menu, MF_STRING | (entry.checked ? MF_CHECKED : MF_UNCHECKED),
                             static_cast<UINT_PTR>(entry.command + CommandItemBase),
                             menuText(entry.text).c_str()))
                return false;
            made.items.emplace(entry.command, menu);
            break;
        case MenuEntry::Kind::Submenu: {
            const HMENU submenu = CreatePopupMenu();
            if (submenu == nullptr) return false;
            if (!AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                             menuText(entry.text).c_str())) {
                DestroyMenu(submenu);
                return false;
            }
            if (!appendEntries(submenu, entry.entries, made)) return false;
            break;
        }
        }
    }
    return true;
}

bool Win32Platform::createMenu(const MenuSpec& spec) {
    const HWND owner = spec.window < 0 ? nullptr : windowHandle(spec.window);
    if (menus_.count(spec.id) != 0 || (spec.window >= 0 && (owner == nullptr || GetMenu(owner))))
        return false;
    Menu made;
    made.popup = owner == nullptr;
    made.handle = made.popup ? CreatePopupMenu() : CreateMenu();
    if (made.handle == nullptr) return false;
    if (!appendEntries(made.handle, spec.entries, made) ||
        (owner != nullptr && !SetMenu(owner, made.handle))) {
        DestroyMenu(made.handle);
        return false;
    }
    menus_.emplace(spec.id, std::move(made));
    return true;
}

void Win32Platform::setMenuChecked(int menu, int command, bool on) {
    const auto found = menus_.find(menu);
    if (found == menus_.end()) return;
    const auto item = found->second.items.find(command);
    if (item == found->second.items.end()) return;
    CheckMenuItem(item->second, static_cast<UINT>(command + CommandItemBase),
                  MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Platform::showPopupMenu(int menu, int window) {
    const auto found = menus_.find(menu);
    const HWND owner = windowHandle(window);
    if (found == menus_.end() || !found->second.popup || owner == nullptr) return;
    // Without the owner in front the menu would not close on a click elsewhere.
    SetForegroundWindow(owner);
    POINT at{};
    GetCursorPos(&at);
    beginModal(owner);
    // A pick is posted to the owner as WM_COMMAND and becomes a command event there.
    TrackPopupMenu(found->second.handle, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                   at.x - 1, at.y - 1, 0, owner, nullptr);
    endModal();
    PostMessageW(owner, WM_NULL, 0, 0);
}

void Win32Platform::addShortcut(int window, char key, int command) {
    Window* found = this->window(window);
    if (found == nullptr || command < 0) return;
    ACCEL accel{};
    accel.fVirt = FVIRTKEY | FCONTROL;
    accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(key)));
    accel.cmd = static_cast<WORD>(command + CommandItemBase);
    found->shortcuts.push_back(accel);
    if (found->accelerators != nullptr) DestroyAcceleratorTable(found->accelerators);
    found->accelerators =
        CreateAcceleratorTableW(found->shortcuts.data(), static_cast<int>(found->shortcuts.size()));
}

// --- Events

// A window's shortcuts act on the messages of that window and its controls only, so they
// are dead while another window, a dialog or a popup has the keyboard.
bool Win32Platform::translateShortcut(MSG& message) {
    if (message.hwnd == nullptr) return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (const auto& [id, window] : windows_) {
        if (window.hwnd == root)
            return window.accelerators != nullptr &&
                   TranslateAcceleratorW(root, window.accelerators, &message) != 0;
    }
    return false;
}

// Escape going down or up in one of the program's own windows. One that closes a dialog or
// a popup menu goes through that one's own loop and is never seen here, and so are the
// auto-repeated presses that follow it.
void Win32Platform::watchKeys(const MSG& message) {
    if (message.wParam != VK_ESCAPE || modal_ || !isProgramWindow(GetAncestor(message.hwnd, GA_ROOT)))
        return;
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    const bool repeated = (message.lParam & (1L << 30)) != 0;
    if ((down && !repeated) || up)
        events_.push_back(keyEvent(down ? EventKind::KeyDown : EventKind::KeyUp, Key::Escape));
}

std::optional<Event> Win32Platform::waitEvent() {
    while (events_.empty()) {
        if (quitting_) return std::nullopt;
        MSG message;
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quitting_ = true;
            return std::nullopt;
        }
        watchKeys(message);
        if (translateShortcut(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Event event = std::move(events_.front());
    events_.pop_front();
    return event;
}

// --- Drawing

Surface* Win32Platform::beginCanvasDrawing(int canvas) {
    Control* found = control(canvas, ControlKind::Canvas);
    return found == nullptr ? nullptr : &found->canvas->surface();
}

void Win32Platform::endCanvasDrawing(int canvas) {
    if (Control* found = control(canvas, ControlKind::Canvas)) found->canvas->present();
}

// --- Process

std::vector<std::string> Win32Platform::commandLineArguments() {
    return argumentsOfCommandLine(utf8FromWide(GetCommandLineW()));
}

std::string Win32Platform::currentDirectory() {
    std::error_code failed;
    return utf8FromWide(std::filesystem::current_path(failed).wstring());
}

} // namespace tessaly
