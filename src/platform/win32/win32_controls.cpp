#include "platform/win32/win32_platform.h"

#include "platform/win32/utf8.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

// The controls of the program's windows.

namespace tessaly {

Win32Platform::Control* Win32Platform::control(int id, std::optional<ControlKind> kind) {
    const auto it = controls_.find(id);
    if (it == controls_.end() || (kind && it->second.kind != *kind)) return nullptr;
    return &it->second;
}

ScrollArea* Win32Platform::scrollAreaOf(const Window& window) const {
    for (const auto& [id, control] : controls_)
        if (control.scroll != nullptr && control.scroll->inner() == window.controlParent)
            return control.scroll.get();
    return nullptr;
}

void Win32Platform::addControl(const ControlSpec& spec, Control control) {
    const Window& owner = *window(spec.window);
    control.area = scrollAreaOf(owner);
    control.rect = spec.rect;
    placeControl(owner, controls_[spec.id] = std::move(control));
}

RECT Win32Platform::controlRect(const Window& window, const ScrollArea* area, Rect r) const {
    if (area == nullptr) return scaledRect(r, window.dpi);
    const int scale = area->scale();
    return RECT{r.x * scale, r.y * scale, (r.x + r.w) * scale, (r.y + r.h) * scale};
}

void Win32Platform::placeControl(const Window& window, Control& control) {
    const RECT r = controlRect(window, control.area, control.rect);
    if (control.canvas != nullptr) {
        control.canvas->place(r.left, r.top, canvasScale(window.dpi));
        return;
    }
    if (control.scroll != nullptr) {
        control.scroll->place(r, canvasScale(window.dpi), window.dpi);
        return;
    }
    SetWindowPos(control.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(window.dpi)), TRUE);
}

HFONT Win32Platform::font(int dpi) {
    const int base = systemDpi();
    if (dpi == base) return stockFont_;
    const auto found = fonts_.find(dpi);
    if (found != fonts_.end()) return found->second;
    LOGFONTW shape{};
    GetObjectW(stockFont_, sizeof shape, &shape);
    shape.lfHeight = MulDiv(shape.lfHeight, dpi, base);
    const HFONT made = CreateFontIndirectW(&shape);
    if (made == nullptr) return stockFont_;
    fonts_[dpi] = made;
    return made;
}

void Win32Platform::dpiChanged(int window, int dpi, const RECT& suggested) {
    Window* found = this->window(window);
    if (found == nullptr || dpi <= 0) return;
    found->dpi = dpi;
    SetWindowPos(found->hwnd, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Scroll areas first: the canvases inside them take their factor.
    for (auto& [id, control] : controls_)
        if (control.window == window && control.scroll != nullptr) placeControl(*found, control);
    for (auto& [id, control] : controls_)
        if (control.window == window && control.scroll == nullptr) placeControl(*found, control);
}

// Canvases and scroll areas are windows of our own; the rest are the system's controls.
bool Win32Platform::createControl(const ControlSpec& spec) {
    Window* owner = window(spec.window);
    if (owner == nullptr || controls_.count(spec.id) != 0) return false;
    const RECT at = controlRect(*owner, scrollAreaOf(*owner), spec.rect);
    const int childId = spec.id + ControlIdBase;
    Control made{spec.kind, spec.window, nullptr, nullptr, nullptr, spec.min};
    const wchar_t* className = L"BUTTON";
    DWORD style = WS_TABSTOP;
    DWORD exStyle = 0;
    switch (spec.kind) {
    case ControlKind::Canvas:
        made.canvas = std::make_unique<CanvasWindow>(events_, spec.id, spec.keyboard);
        if (!made.canvas->create(instance_, owner->controlParent, childId, spec.rect.w,
                                 spec.rect.h, spec.border) ||
            !made.canvas->place(at.left, at.top, canvasScale(owner->dpi)))
            return false;
        made.hwnd = made.canvas->handle();
        break;
    case ControlKind::ScrollArea:
        made.scroll = std::make_unique<ScrollArea>(events_, spec.id);
        if (!made.scroll->create(instance_, owner->controlParent, childId, at, spec.innerWidth,
                                 spec.innerHeight, spec.step, canvasScale(owner->dpi),
                                 owner->dpi))
            return false;
        made.hwnd = made.scroll->handle();
        break;
    case ControlKind::Slider:
        className = TRACKBAR_CLASSW;
        style |= TBS_HORZ | (spec.ticks ? TBS_AUTOTICKS | TBS_BOTTOM : TBS_NOTICKS);
        break;
    case ControlKind::CheckBox:
        style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::Button:
        style |= BS_PUSHBUTTON;
        break;
    // SS_NOPREFIX: an ampersand in the text is shown, not taken as an access key.
    case ControlKind::Label:
        className = L"STATIC";
        style = (spec.centred ? SS_CENTER : SS_LEFT) | SS_CENTERIMAGE | SS_NOPREFIX;
        break;
    case ControlKind::TextField:
        className = L"EDIT";
        style |= spec.rightAligned ? ES_RIGHT : ES_LEFT;
        style |= spec.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    if (made.hwnd == nullptr) {
        made.hwnd = CreateWindowExW(exStyle, className, wideFromUtf8(spec.text).c_str(),
                                    WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                    at.right - at.left, at.bottom - at.top, owner->controlParent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                                    instance_, nullptr);
        if (made.hwnd == nullptr) return false;
    }
    if (spec.kind == ControlKind::Slider) {
        SendMessageW(made.hwnd, TBM_SETRANGEMIN, FALSE, spec.min);
        SendMessageW(made.hwnd, TBM_SETRANGEMAX, FALSE, spec.max);
        SendMessageW(made.hwnd, TBM_SETPAGESIZE, 0, spec.step);
        if (spec.ticks) SendMessageW(made.hwnd, TBM_SETTICFREQ, spec.step, 0);
        SendMessageW(made.hwnd, TBM_SETPOS, TRUE, spec.min);
    }
    const HWND inner = made.scroll != nullptr ? made.scroll->inner() : nullptr;
    addControl(spec, std::move(made));
    if (inner != nullptr) owner->controlParent = inner;
    return true;
}

void Win32Platform::setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) {
    if (Control* found = control(id, ControlKind::ScrollArea))
        found->scroll->setInnerSize(innerWidth, innerHeight);
}

void Win32Platform::scrollBy(int id, int dx, int dy) {
    if (Control* found = control(id, ControlKind::ScrollArea)) found->scroll->scrollBy(dx, dy);
}

// Setting a slider or the box sends no notification, so the program's own change is no
// event.
void Win32Platform::setControlValue(int id, int value) {
    if (Control* found = control(id, ControlKind::Slider)) {
        SendMessageW(found->hwnd, TBM_SETPOS, TRUE, value);
        found->position = static_cast<int>(SendMessageW(found->hwnd, TBM_GETPOS, 0, 0));
    } else if (Control* box = control(id, ControlKind::CheckBox)) {
        SendMessageW(box->hwnd, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Win32Platform::setControlText(int id, const std::string& text) {
    const Control* found = control(id);
    if (found != nullptr && found->canvas == nullptr && found->scroll == nullptr &&
        found->kind != ControlKind::Slider)
        SetWindowTextW(found->hwnd, wideFromUtf8(text, L'\n', L'\r').c_str());
}

void Win32Platform::setToolTip(int id, const std::string& text) {
    const Control* found = control(id);
    Window* owner = found == nullptr ? nullptr : window(found->window);
    if (owner == nullptr) return;
    if (owner->toolTips == nullptr) {
        owner->toolTips =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner->hwnd, nullptr, instance_, nullptr);
        if (owner->toolTips == nullptr) return;
    }
    std::wstring wide = wideFromUtf8(text);
    TTTOOLINFOW tool{};
    // The size the common controls accept with and without a version 6 manifest.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    // The tool is the control's window, watched by subclassing, so no relaying is needed.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(found->hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(found->hwnd);
    tool.lpszText = wide.data();
    const bool known = owner->tools.count(found->hwnd) != 0;
    SendMessageW(owner->toolTips, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
    owner->tools.insert(found->hwnd);
}

void Win32Platform::setFocus(int id) {
    if (const Control* found = control(id)) SetFocus(found->hwnd);
}

// Only canvases turn a drop into an event; other controls ignore one.
void Win32Platform::acceptFileDrops(int id) {
    if (const Control* found = control(id)) DragAcceptFiles(found->hwnd, TRUE);
}

// Only the user's changes come here: a click on a button or the box, a slider moved.
void Win32Platform::controlNotified(HWND hwnd, UINT message, UINT code) {
    const int id = GetDlgCtrlID(hwnd) - ControlIdBase;
    Control* found = control(id);
    if (found == nullptr || found->hwnd != hwnd) return;
    Event event = eventOf(EventKind::ControlChanged, -1, id);
    if (message == WM_COMMAND && code == BN_CLICKED && found->kind == ControlKind::Button) {
        events_.push_back(event);
    } else if (message == WM_COMMAND && code == BN_CLICKED &&
               found->kind == ControlKind::CheckBox) {
        event.value = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        events_.push_back(event);
    } else if (message == WM_HSCROLL && found->kind == ControlKind::Slider) {
        // A drag sends several notifications per step; a move is a change of position.
        event.value = static_cast<int>(SendMessageW(hwnd, TBM_GETPOS, 0, 0));
        if (event.value == found->position) return;
        found->position = event.value;
        events_.push_back(event);
    }
}

} // namespace tessaly
