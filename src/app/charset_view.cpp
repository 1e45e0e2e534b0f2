#include "app/charset_view.h"

#include "app/app.h"
#include "app/ids.h"
#include "app/menus.h"
#include "app/redraw.h"
#include "charset/codepage.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {

namespace {

void selectByPosition(App& app, int mouseX, int mouseY) {
    app.state.cursorColumn = mouseX / 16;
    app.state.cursorRow = mouseY / 16;
    moveCursor(app, 0, 0);
}

// A press while a drag is still open means its release was lost (a popup or dialog took
// the mouse): the new press starts a new drag, so the stale one never drops.
void startDrag(App& app, int mouseX, int mouseY) {
    EditorState& s = app.state;
    const int column = mouseX / 16;
    const int row = mouseY / 16;
    if (column < 0 || column > 15 || row < 0 || row > 15) return; // presses lie inside
    s.dragging = true;
    s.dragSource = row * 16 + column;
}

void drop(App& app, int mouseX, int mouseY) {
    EditorState& s = app.state;
    s.dragging = false;
    const int column = mouseX / 16;
    const int row = mouseY / 16;
    if (row * 16 + column == s.dragSource) return;
    const bool swap = s.dragSwap;
    if (column < 0 || column > 15 || row < 0 || row > 15) return;
    Glyph source = glyph(app.charset, s.dragSource);
    Glyph target = glyph(app.charset, row * 16 + column);
    for (int k = 0; k < GlyphBytes; ++k) {
        const std::uint8_t a = source[k];
        const std::uint8_t b = target[k];
        target[k] = a;
        if (swap) source[k] = b;
    }
    refresh(app);
}

void moveOrEditWithKey(App& app, Key key) {
    switch (key) {
    case Key::Up: moveCursor(app, 0, -1); break;
    case Key::Down: moveCursor(app, 0, 1); break;
    case Key::Left: moveCursor(app, -1, 0); break;
    case Key::Right: moveCursor(app, 1, 0); break;
    case Key::Insert: insertGlyph(app); break;
    case Key::Delete: deleteGlyph(app); break;
    default: break;
    }
}

} // namespace

std::string charsetTitle(const std::string& base, std::uint8_t code) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", code);
    std::string title = base;
    title += ' ';
    title += std::to_string(code);
    title += "($";
    title += hex;
    title += ')';
    if (code >= 32) {
        title += '\'';
        title += windows1252ToUtf8(code);
        title += '\'';
    }
    return title;
}

void moveCursor(App& app, int dx, int dy) {
    EditorState& s = app.state;
    s.cursorColumn = (s.cursorColumn + dx) & 15;
    s.cursorRow = (s.cursorRow + dy) & 15;
    s.currentChar = static_cast<std::uint8_t>(s.cursorRow * 16 + s.cursorColumn);
    drawCharsetView(app);
    drawGlyphEditorAndMap(app);
    app.platform.setWindowTitle(WindowMain, charsetTitle(s.titleBase, s.currentChar));
}

void insertGlyph(App& app) {
    auto& bytes = app.charset.bytes;
    const int start = app.state.currentChar * GlyphBytes;
    // Glyphs current..254 move one code up; the old glyph 255 falls off the end.
    std::copy_backward(bytes.begin() + start, bytes.end() - GlyphBytes, bytes.end());
    std::fill_n(bytes.begin() + start, GlyphBytes, 0);
    refresh(app);
}

void deleteGlyph(App& app) {
    auto& bytes = app.charset.bytes;
    const int start = app.state.currentChar * GlyphBytes;
    std::copy(bytes.begin() + start + GlyphBytes, bytes.end(), bytes.begin() + start);
    std::fill_n(bytes.end() - GlyphBytes, GlyphBytes, 0);
    refresh(app);
}

void handleCharsetViewEvent(App& app, const CanvasEvent& e) {
    if (e.type == CanvasInput::RightClick) {
        selectByPosition(app, e.mouseX, e.mouseY);
        if (app.menus.count(MenuCharsetPopup)) {
            drawPending(app);
            showPopupMenu(app, MenuCharsetPopup, WindowMain);
        }
    }
    if (e.type == CanvasInput::KeyUp) moveOrEditWithKey(app, e.key);
    // A move without the left button while a drag is open means its release went to a
    // popup or dialog: the drag ends there, without a drop, and the plain hover is drawn.
    if (e.type == CanvasInput::MouseMove && app.state.dragging && !(e.buttons & ButtonLeft))
        app.state.dragging = false;
    if (e.type == CanvasInput::MouseMove) drawCharsetHover(app, e.mouseX, e.mouseY);
    else if (e.type == CanvasInput::LeftClick) selectByPosition(app, e.mouseX, e.mouseY);
    else if (e.type == CanvasInput::LeftButtonDown) startDrag(app, e.mouseX, e.mouseY);
    else if (e.type == CanvasInput::LeftButtonUp && app.state.dragging) drop(app, e.mouseX, e.mouseY);
}

void setDragMode(App& app, bool swap) {
    app.platform.setMenuChecked(MenuMain, CmdDragSwap, swap);
    app.platform.setMenuChecked(MenuMain, CmdDragCopy, !swap);
    app.state.dragSwap = swap;
}

} // namespace tessaly
