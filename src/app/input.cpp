#include "app/input.h"

namespace tessaly {

namespace {

int bitOf(Button button) {
    switch (button) {
    case Button::Left: return ButtonLeft;
    case Button::Right: return ButtonRight;
    case Button::Middle: return ButtonMiddle;
    case Button::None: break;
    }
    return 0;
}

// The finger's event `e` as the pointer's of that kind.
Event asPointer(EventKind kind, Event e, Button button, int buttons) {
    e.kind = kind;
    e.button = button;
    e.buttons = buttons;
    return e;
}

} // namespace

void CanvasInputs::addCanvas(int canvas, int width, int height, int border) {
    canvases_[canvas] = Canvas{width + 2 * border, height + 2 * border};
}

std::vector<CanvasEvent> CanvasInputs::derive(const Event& raw) {
    const auto found = canvases_.find(raw.control);
    if (found == canvases_.end()) return {};
    Canvas& canvas = found->second;
    const CanvasEvent at{CanvasInput::MouseMove, raw.x, raw.y, raw.buttons, raw.key};
    auto as = [&at](CanvasInput type) {
        CanvasEvent e = at;
        e.type = type;
        return e;
    };
    const bool left = raw.button == Button::Left;
    const bool right = raw.button == Button::Right;
    switch (raw.kind) {
    case EventKind::PointerDown:
        canvas.pressed |= bitOf(raw.button);
        if (left) return {as(CanvasInput::LeftButtonDown)};
        if (right) return {as(CanvasInput::RightButtonDown)};
        return {};
    case EventKind::PointerUp: {
        const bool wasPressed = (canvas.pressed & bitOf(raw.button)) != 0;
        canvas.pressed &= ~bitOf(raw.button);
        const bool over = raw.x >= 0 && raw.y >= 0 && raw.x < canvas.clickWidth &&
                          raw.y < canvas.clickHeight;
        std::vector<CanvasEvent> out;
        if (left || right) out.push_back(as(left ? CanvasInput::LeftButtonUp : CanvasInput::RightButtonUp));
        if ((left || right) && wasPressed && over)
            out.push_back(as(left ? CanvasInput::LeftClick : CanvasInput::RightClick));
        return out;
    }
    case EventKind::PointerMove: {
        const bool entering = !canvas.inside;
        canvas.inside = true;
        return {as(entering ? CanvasInput::MouseEnter : CanvasInput::MouseMove)};
    }
    case EventKind::PointerLeave: canvas.inside = false; return {as(CanvasInput::MouseLeave)};
    case EventKind::KeyDown: return {as(CanvasInput::KeyDown)};
    case EventKind::KeyUp: return {as(CanvasInput::KeyUp)};
    default: return {};
    }
}

std::vector<Event> FingerStrokes::pointerEvents(const Event& raw, Platform& platform) {
    switch (raw.kind) {
    case EventKind::FingerDown:
        waiting_ = true;
        button_ = Button::Left;
        start_ = raw;
        moves_.clear();
        platform.startTimer(++timer_, longPressMs);
        return {asPointer(EventKind::PointerMove, raw, Button::None, 0)};
    case EventKind::Timer:
        if (!waiting_ || raw.value != timer_) return {};
        waiting_ = false;
        button_ = Button::Right;
        return {asPointer(EventKind::PointerDown, start_, Button::Right, ButtonRight)};
    case EventKind::FingerMove: {
        const int dx = raw.x - start_.x;
        const int dy = raw.y - start_.y;
        const Event move = asPointer(EventKind::PointerMove, raw, Button::None, bitOf(button_));
        if (!waiting_) return {move};
        if (dx * dx + dy * dy <= stillPixels * stillPixels) {
            moves_.push_back(move);
            return {};
        }
        std::vector<Event> out = begin(start_);
        out.push_back(move);
        return out;
    }
    case EventKind::FingerUp: {
        // A finger taken away before its button was chosen pressed nothing.
        if (waiting_ && raw.value != 0) {
            waiting_ = false;
            return {};
        }
        std::vector<Event> out = waiting_ ? begin(start_) : std::vector<Event>{};
        out.push_back(asPointer(EventKind::PointerUp, raw, button_, 0));
        return out;
    }
    default: return {};
    }
}

std::vector<Event> FingerStrokes::begin(const Event& at) {
    waiting_ = false;
    button_ = Button::Left;
    std::vector<Event> out{asPointer(EventKind::PointerDown, at, Button::Left, ButtonLeft)};
    out.insert(out.end(), moves_.begin(), moves_.end());
    return out;
}

std::pair<int, int> WheelSteps::steps(const Event& raw) {
    const bool sideways = raw.value != 0 && raw.x == 0;
    return {add(restX_, sideways ? raw.y : raw.x), add(restY_, sideways ? 0 : raw.y)};
}

int WheelSteps::add(int& rest, int delta) {
    if ((delta > 0 && rest < 0) || (delta < 0 && rest > 0)) rest = 0;
    rest += delta;
    const int notches = rest / notch;
    rest -= notches * notch;
    return notches * stepsPerNotch;
}

void EscapeKey::note(const Event& raw) {
    const bool escape = raw.key == Key::Escape;
    if (raw.kind == EventKind::KeyDown && escape) down_ = tapped_ = true;
    if (raw.kind == EventKind::KeyUp && escape) down_ = false;
    if (raw.kind == EventKind::KeyboardLost) down_ = tapped_ = false;
}

bool EscapeKey::look() {
    const bool held = down_ || tapped_;
    tapped_ = false;
    return held;
}

} // namespace tessaly
