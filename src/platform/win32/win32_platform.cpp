#include "platform/win32/win32_platform.h"

#include "app/ids.h"
#include "platform/win32/process_arguments.h"
#include "platform/win32/utf8.h"
#include "platform/win32/win32_ids.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cctype>
#include <utility>

// Windows, menus, events and drawing; the controls and the dialogs have files of their own.

namespace tessaly {

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    // The common dialogs run shell code that needs an apartment on this thread.
    oleReady_ = SUCCEEDED(OleInitialize(nullptr));
    ProgramWindow::registerClass(instance_);
    CanvasWindow::registerClass(instance_);
    ScrollArea::registerClasses(instance_);
    stockFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Win32Platform::~Win32Platform() {
    controls_.clear();
    for (auto& [id, window] : windows_) {
        if (window.accelerators != nullptr) DestroyAcceleratorTable(window.accelerators);
        if (window.toolTips != nullptr) DestroyWindow(window.toolTips);
    }
    windows_.clear();
    for (const auto& [dpi, font] : fonts_) DeleteObject(font);
    if (oleReady_) OleUninitialize();
}

// --- Windows

Win32Platform::Window* Win32Platform::window(int id) {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second;
}

HWND Win32Platform::windowHandle(int id) {
    const Window* found = window(id);
    return found == nullptr ? nullptr : found->frame->handle();
}

bool Win32Platform::isProgramWindow(HWND hwnd) const {
    if (hwnd == nullptr) return false;
    return std::any_of(windows_.begin(), windows_.end(),
                       [hwnd](const auto& entry) { return entry.second.frame->handle() == hwnd; });
}

bool Win32Platform::openWindow(int window, int x, int y, int clientWidth, int clientHeight,
                               const std::string& title, WindowStyle style) {
    if (windows_.count(window) != 0 || clientWidth <= 0 || clientHeight <= 0) return false;
    // Made hidden first, as its DPI, which gives its size, is known only once it exists.
    auto frame = std::make_unique<ProgramWindow>(static_cast<WindowListener&>(*this), window);
    if (!frame->create(instance_, x, y, clientWidth, clientHeight, wideFromUtf8(title).c_str(),
                       false))
        return false;
    const HWND hwnd = frame->handle();
    const int dpi = windowDpi(hwnd);
    const SIZE client{clientWidth, clientHeight};
    const SIZE outer = outerSize(client, dpi);
    const int width = outer.cx;
    const int height = outer.cy;
    x = scaledLength(x, dpi);
    y = scaledLength(y, dpi);
    if (style.centred) {
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        x = (screenWidth - std::min(screenWidth, width)) / 2;
        y = (screenHeight - std::min(screenHeight, height)) / 2;
    }
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Window& created = windows_[window];
    created.frame = std::move(frame);
    created.dpi = dpi;
    created.client = client;
    created.controlParent = hwnd;
    if (!style.hidden) {
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
    adjustRectForDpi(outer, ProgramWindow::style, false, ProgramWindow::exStyle, dpi);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

// Positions go back to the program unscaled, as it gave them.
int Win32Platform::windowOuterLeft(int window) {
    RECT r{};
    const Window* found = this->window(window);
    if (found == nullptr || !GetWindowRect(found->frame->handle(), &r)) return 0;
    return MulDiv(r.left, BaseDpi, found->dpi);
}

int Win32Platform::windowOuterTop(int window) {
    RECT r{};
    const Window* found = this->window(window);
    if (found == nullptr || !GetWindowRect(found->frame->handle(), &r)) return 0;
    return MulDiv(r.top, BaseDpi, found->dpi);
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

// --- Menus

bool Win32Platform::createMenuBar(int menu, int window) {
    const HWND hwnd = windowHandle(window);
    if (hwnd == nullptr || GetMenu(hwnd) != nullptr || menus_.exists(menu)) return false;
    const HMENU bar = CreateMenu();
    if (bar == nullptr) return false;
    if (!SetMenu(hwnd, bar)) {
        DestroyMenu(bar);
        return false;
    }
    return menus_.addMenuBar(menu, bar, hwnd);
}

bool Win32Platform::createPopupMenu(int menu) {
    return menus_.createPopup(menu);
}

bool Win32Platform::menuExists(int menu) {
    return menus_.exists(menu);
}

void Win32Platform::addMenuTitle(int menu, const std::string& text) {
    menus_.addTitle(menu, text);
}

void Win32Platform::openSubmenu(int menu, const std::string& text) {
    menus_.openSubmenu(menu, text);
}

void Win32Platform::closeSubmenu(int menu) {
    menus_.closeSubmenu(menu);
}

void Win32Platform::addMenuItem(int menu, int command, const std::string& text) {
    menus_.addItem(menu, command, text);
}

void Win32Platform::addMenuSeparator(int menu) {
    menus_.addSeparator(menu);
}

void Win32Platform::setMenuChecked(int menu, int command, bool on) {
    menus_.setChecked(menu, command, on);
}

bool Win32Platform::isMenuChecked(int menu, int command) {
    return menus_.isChecked(menu, command);
}

void Win32Platform::showPopupMenu(int menu, int window) {
    const HMENU popup = menus_.popup(menu);
    const HWND owner = windowHandle(window);
    if (popup == nullptr || owner == nullptr) return;
    // Without the owner in front the menu would not close on a click elsewhere.
    SetForegroundWindow(owner);
    POINT at{};
    GetCursorPos(&at);
    {
        const ModalScope modal(*this, owner);
        // A pick is posted to the owner as WM_COMMAND and becomes a command event there.
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x - 1,
                       at.y - 1, 0, owner, nullptr);
    }
    PostMessageW(owner, WM_NULL, 0, 0);
}

void Win32Platform::addShortcut(int window, char key, int command) {
    Window* found = this->window(window);
    if (found == nullptr) return;
    ACCEL accel{};
    accel.fVirt = FVIRTKEY | FCONTROL;
    accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(key)));
    accel.cmd = static_cast<WORD>(command + CommandItemBase);
    found->shortcuts.push_back(accel);
    if (found->accelerators != nullptr) DestroyAcceleratorTable(found->accelerators);
    found->accelerators = CreateAcceleratorTableW(found->shortcuts.data(),
                                                  static_cast<int>(found->shortcuts.size()));
}

// --- Events

void Win32Platform::commandChosen(int command) {
    if (command < 0 || command >= CommandCount) return;
    Event event;
    event.kind = EventKind::Command;
    event.command = command;
    events_.push_back(event);
}

void Win32Platform::closeRequested(int window) {
    Event event;
    event.kind = EventKind::CloseWindow;
    event.window = window;
    events_.push_back(event);
}

// A window's shortcuts act on the messages of that window and its controls only, so they
// are dead while another window, a dialog or a popup has the keyboard.
bool Win32Platform::translateShortcut(MSG& message) {
    if (message.hwnd == nullptr) return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (const auto& [id, window] : windows_) {
        if (window.frame->handle() != root) continue;
        return window.accelerators != nullptr &&
               TranslateAcceleratorW(root, window.accelerators, &message) != 0;
    }
    return false;
}

// Only an Escape pressed in one of the program's own windows counts; one that closes a
// dialog or a popup menu goes through that one's own loop and is never seen here.
void Win32Platform::watchKeys(const MSG& message) {
    if (message.wParam != VK_ESCAPE) return;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const bool repeated = (message.lParam & (1L << 30)) != 0;
        if (repeated || escapeDown_ || modalDepth_ > 0) return;
        if (message.hwnd == nullptr || !isProgramWindow(GetAncestor(message.hwnd, GA_ROOT)))
            return;
        escapeDown_ = true;
        // Wake the program's wait, which then finds the key held.
        events_.push_back(Event{});
        return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        escapeDown_ = false;
        return;
    default:
        return;
    }
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

bool Win32Platform::escapeHeld() {
    if (!escapeDown_) return false;
    // The release may have gone to another program or to a dialog.
    if ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0) {
        escapeDown_ = false;
        return false;
    }
    return modalDepth_ == 0 && isProgramWindow(GetForegroundWindow());
}

// --- Drawing

Surface* Win32Platform::beginCanvasDrawing(int canvas) {
    Control* found = control(canvas, ControlKind::Canvas);
    return found == nullptr ? nullptr : &found->canvas->surface();
}

void Win32Platform::endCanvasDrawing(int canvas) {
    if (Control* found = control(canvas, ControlKind::Canvas)) found->canvas->present();
}

// Images are Surfaces the program owns; there is nothing to prepare or release.
bool Win32Platform::beginImageDrawing(int) {
    return true;
}

void Win32Platform::endImageDrawing(int) {}

// --- Process

std::vector<std::string> Win32Platform::commandLineArguments() {
    return argumentsOfCommandLine(utf8FromWide(GetCommandLineW()));
}

std::string Win32Platform::currentDirectory() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return {};
    std::wstring folder(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, folder.data());
    folder.resize(written);
    return utf8FromWide(folder);
}

} // namespace tessaly
