#include "platform/win32/win32_platform.h"

#include "platform/win32/utf8.h"
#include "platform/win32/win32_ids.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

// The controls of the program's windows.

namespace tessaly {

namespace {

// A multi-line edit control breaks lines only at CR LF.
std::wstring editText(const std::string& text) {
    std::wstring result;
    for (const wchar_t c : wideFromUtf8(text)) {
        if (c == L'\n') result += L'\r';
        result += c;
    }
    return result;
}

} // namespace

Win32Platform::Control* Win32Platform::control(int id) {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

Win32Platform::Control* Win32Platform::control(int id, ControlKind kind) {
    Control* found = control(id);
    return found != nullptr && found->kind == kind ? found : nullptr;
}

HWND Win32Platform::controlParent(int window, int id) {
    const Window* found = this->window(window);
    if (found == nullptr || controls_.count(id) != 0) return nullptr;
    return found->controlParent;
}

HWND Win32Platform::createChild(int window, int id, const wchar_t* className, DWORD style,
                                DWORD exStyle, Rect r, const std::string& text) {
    const HWND parent = controlParent(window, id);
    if (parent == nullptr) return nullptr;
    const Window& owner = *this->window(window);
    const RECT at = controlRect(owner, scrollAreaOf(owner), r);
    return CreateWindowExW(exStyle, className, wideFromUtf8(text).c_str(),
                           WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.right - at.left,
                           at.bottom - at.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id + ControlIdBase)),
                           instance_, nullptr);
}

ScrollArea* Win32Platform::scrollAreaOf(const Window& window) const {
    for (const auto& [id, control] : controls_)
        if (control.scroll != nullptr && control.scroll->inner() == window.controlParent)
            return control.scroll.get();
    return nullptr;
}

void Win32Platform::addControl(int id, Control control, Rect r) {
    const Window& owner = *window(control.window);
    control.area = scrollAreaOf(owner);
    control.rect = r;
    placeControl(owner, controls_[id] = std::move(control));
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

bool Win32Platform::sizeForDpi(int window, int dpi, SIZE& size) {
    const Window* found = this->window(window);
    if (found == nullptr || dpi <= 0) return false;
    size = outerSize(found->client, dpi);
    return true;
}

void Win32Platform::dpiChanged(int window, int dpi, const RECT& suggested) {
    Window* found = this->window(window);
    if (found == nullptr || dpi <= 0) return;
    found->dpi = dpi;
    SetWindowPos(found->frame->handle(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Scroll areas first: the canvases inside them take their factor.
    for (auto& [id, control] : controls_)
        if (control.window == window && control.scroll != nullptr) placeControl(*found, control);
    for (auto& [id, control] : controls_)
        if (control.window == window && control.scroll == nullptr) placeControl(*found, control);
}

bool Win32Platform::createCanvas(int window, int id, Rect r, bool border, bool keyboard) {
    const HWND parent = controlParent(window, id);
    if (parent == nullptr) return false;
    auto canvas = std::make_unique<CanvasWindow>(events_, window, id, keyboard);
    const Window& owner = *this->window(window);
    const RECT at = controlRect(owner, scrollAreaOf(owner), r);
    if (!canvas->create(instance_, parent, id + ControlIdBase, r.w, r.h, border) ||
        !canvas->place(at.left, at.top, canvasScale(owner.dpi)))
        return false;
    const HWND hwnd = canvas->handle();
    Control made{ControlKind::Canvas, window, hwnd, std::move(canvas), nullptr};
    addControl(id, std::move(made), r);
    return true;
}

bool Win32Platform::createTrackBar(int window, int id, Rect r, int min, int max, bool ticks) {
    const DWORD style = TBS_HORZ | WS_TABSTOP | (ticks ? TBS_AUTOTICKS | TBS_BOTTOM : TBS_NOTICKS);
    const HWND hwnd = createChild(window, id, TRACKBAR_CLASSW, style, 0, r, "");
    if (hwnd == nullptr) return false;
    const int tick = std::max(1, (max - min) / 16);
    SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(hwnd, TBM_SETRANGEMAX, FALSE, max);
    SendMessageW(hwnd, TBM_SETPAGESIZE, 0, tick);
    if (ticks) SendMessageW(hwnd, TBM_SETTICFREQ, tick, 0);
    SendMessageW(hwnd, TBM_SETPOS, TRUE, min);
    addControl(id, Control{ControlKind::TrackBar, window, hwnd, nullptr, nullptr, min}, r);
    return true;
}

int Win32Platform::trackBarPosition(int id) {
    const Control* found = control(id, ControlKind::TrackBar);
    return found == nullptr ? 0 : static_cast<int>(SendMessageW(found->hwnd, TBM_GETPOS, 0, 0));
}

void Win32Platform::setTrackBarPosition(int id, int position) {
    Control* found = control(id, ControlKind::TrackBar);
    if (found == nullptr) return;
    SendMessageW(found->hwnd, TBM_SETPOS, TRUE, position);
    // Only the user's moves are events; the program knows about its own.
    found->position = static_cast<int>(SendMessageW(found->hwnd, TBM_GETPOS, 0, 0));
}

bool Win32Platform::createCheckBox(int window, int id, Rect r, const std::string& caption) {
    const HWND hwnd = createChild(window, id, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, r,
                                  caption);
    if (hwnd == nullptr) return false;
    addControl(id, Control{ControlKind::CheckBox, window, hwnd, nullptr, nullptr}, r);
    return true;
}

bool Win32Platform::isChecked(int id) {
    const Control* found = control(id, ControlKind::CheckBox);
    return found != nullptr && SendMessageW(found->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Win32Platform::createButton(int window, int id, Rect r, const std::string& caption) {
    const HWND hwnd = createChild(window, id, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, r,
                                  caption);
    if (hwnd == nullptr) return false;
    addControl(id, Control{ControlKind::Button, window, hwnd, nullptr, nullptr}, r);
    return true;
}

bool Win32Platform::createLabel(int window, int id, Rect r, const std::string& text,
                                bool centred) {
    // SS_NOPREFIX: an ampersand in the text is shown, not taken as an access key.
    const DWORD style = (centred ? SS_CENTER : SS_LEFT) | SS_CENTERIMAGE | SS_NOPREFIX;
    const HWND hwnd = createChild(window, id, L"STATIC", style, 0, r, text);
    if (hwnd == nullptr) return false;
    addControl(id, Control{ControlKind::Label, window, hwnd, nullptr, nullptr}, r);
    return true;
}

bool Win32Platform::createTextField(int window, int id, Rect r, bool multiLine,
                                    bool rightAligned) {
    DWORD style = WS_TABSTOP | (rightAligned ? ES_RIGHT : ES_LEFT);
    style |= multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
    const HWND hwnd = createChild(window, id, L"EDIT", style, WS_EX_CLIENTEDGE, r, "");
    if (hwnd == nullptr) return false;
    addControl(id, Control{ControlKind::TextField, window, hwnd, nullptr, nullptr}, r);
    return true;
}

bool Win32Platform::createScrollArea(int window, int id, Rect r, int innerWidth, int innerHeight,
                                     int step) {
    const HWND parent = controlParent(window, id);
    if (parent == nullptr) return false;
    Window& owner = *this->window(window);
    auto area = std::make_unique<ScrollArea>(static_cast<WindowListener&>(*this));
    if (!area->create(instance_, parent, id + ControlIdBase, scaledRect(r, owner.dpi), innerWidth,
                      innerHeight, step, canvasScale(owner.dpi), owner.dpi))
        return false;
    const HWND hwnd = area->handle();
    const HWND inner = area->inner();
    addControl(id, Control{ControlKind::ScrollArea, window, hwnd, nullptr, std::move(area)}, r);
    owner.controlParent = inner;
    return true;
}

void Win32Platform::setScrollAreaInnerSize(int id, int innerWidth, int innerHeight) {
    if (Control* found = control(id, ControlKind::ScrollArea))
        found->scroll->setInnerSize(innerWidth, innerHeight);
}

void Win32Platform::setControlText(int id, const std::string& text) {
    const Control* found = control(id);
    if (found == nullptr || found->kind == ControlKind::Canvas ||
        found->kind == ControlKind::ScrollArea || found->kind == ControlKind::TrackBar)
        return;
    // Only the user's edits are events.
    settingText_ = true;
    SetWindowTextW(found->hwnd, editText(text).c_str());
    settingText_ = false;
}

void Win32Platform::setToolTip(int id, const std::string& text) {
    const Control* found = control(id);
    Window* owner = found == nullptr ? nullptr : window(found->window);
    if (owner == nullptr) return;
    if (owner->toolTips == nullptr) {
        owner->toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                          owner->frame->handle(), nullptr, instance_, nullptr);
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

void Win32Platform::controlNotified(HWND hwnd, UINT message, UINT code) {
    const int id = GetDlgCtrlID(hwnd) - ControlIdBase;
    Control* found = control(id);
    if (found == nullptr || found->hwnd != hwnd) return;
    switch (found->kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
        if (message == WM_COMMAND && code == BN_CLICKED)
            events_.push_back(controlEvent(found->window, id, EventType::Changed));
        break;
    case ControlKind::TextField:
        if (message == WM_COMMAND && code == EN_CHANGE && !settingText_)
            events_.push_back(controlEvent(found->window, id, EventType::Changed));
        break;
    case ControlKind::TrackBar: {
        // A drag sends several notifications per step; a move is a change of position.
        if (message == WM_COMMAND) break;
        const int position = static_cast<int>(SendMessageW(hwnd, TBM_GETPOS, 0, 0));
        if (position == found->position) break;
        found->position = position;
        events_.push_back(controlEvent(found->window, id, EventType::Changed));
        break;
    }
    default:
        break;
    }
}

} // namespace tessaly
