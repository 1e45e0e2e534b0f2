#include "app/glyph_editor.h"

#include "app/app.h"
#include "app/redraw.h"

namespace tessaly {

void handleGlyphEditorEvent(App& app, const CanvasEvent& e) {
    const bool move = e.type == CanvasInput::MouseMove;
    bool set;
    if (e.type == CanvasInput::LeftButtonDown || (move && (e.buttons & ButtonLeft)))
        set = true;
    else if (e.type == CanvasInput::RightButtonDown || (move && (e.buttons & ButtonRight)))
        set = false;
    else
        return;

    // Integer division truncates toward zero, so -15..-1 still give cell 0.
    const int column = e.mouseX / 16;
    const int row = e.mouseY / 16;
    if (column < 0 || column > 7 || row < 0 || row > 7) return;

    std::uint8_t& b = glyph(app.charset, app.state.currentChar)[row];
    if (set)
        b = static_cast<std::uint8_t>(b | pixelMask(column));
    else
        b = static_cast<std::uint8_t>(b & ~pixelMask(column));
    refresh(app);
}

} // namespace tessaly
