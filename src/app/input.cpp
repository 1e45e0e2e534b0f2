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
