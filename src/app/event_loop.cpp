#include "app/event_loop.h"

#include "app/app.h"
#include "app/charset_commands.h"
#include "app/charset_file.h"
#include "app/charset_view.h"
#include "app/colour_commands.h"
#include "app/glyph_editor.h"
#include "app/ids.h"
#include "app/image_export.h"
#include "app/map_canvas.h"
#include "app/map_commands.h"
#include "app/map_file.h"
#include "app/open_command.h"
#include "app/ranges.h"
#include "app/redraw.h"
#include "app/save.h"

namespace tessaly {

namespace {

// Runs the handler of one command; false for Quit.
bool dispatchCommand(App& app, int command) {
    if (const BuiltinCharsetInfo* set = builtinCharsetNumbered(command - CmdCharsetCga)) {
        loadBuiltinCharset(app, *set);
        return true;
    }
    switch (command) {
    case CmdOpen: openCommand(app); break;
    case CmdQuit: return false;
    case CmdSaveCharset768: saveCharsetOrMap(app, SaveTarget::Glyphs96); break;
    case CmdSaveCharset1024: saveCharsetOrMap(app, SaveTarget::Glyphs128); break;
    case CmdSaveCharset2048: saveCharsetOrMap(app, SaveTarget::Glyphs256); break;
    case CmdSaveMap: saveCharsetOrMap(app, SaveTarget::Map); break;
    case CmdSaveImage: saveCharsetImage(app); break;
    case CmdInvert: applyTransform(app, GlyphTransform::Invert); break;
    case CmdMirrorLeftRight: applyTransform(app, GlyphTransform::MirrorLeftRight); break;
    case CmdMirrorUpDown: applyTransform(app, GlyphTransform::MirrorUpDown); break;
    case CmdEraseAll: eraseAll(app); break;
    case CmdClearChar: applyTransform(app, GlyphTransform::Clear); break;
    case CmdShiftLeft: applyTransform(app, GlyphTransform::ShiftLeft); break;
    case CmdShiftRight: applyTransform(app, GlyphTransform::ShiftRight); break;
    case CmdShiftUp: applyTransform(app, GlyphTransform::ShiftUp); break;
    case CmdShiftDown: applyTransform(app, GlyphTransform::ShiftDown); break;
    case CmdSetRangeBegin: setRangeBeginToCurrent(app); break;
    case CmdSetRangeEnd: setRangeEndToCurrent(app); break;
    case CmdDragSwap: setDragMode(app, true); break;
    case CmdDragCopy: setDragMode(app, false); break;
    case CmdCopyRange: copyRangeToCurrent(app); break;
    case CmdMapSize32x24: setMapSize(app, 32, 24); break;
    case CmdMapSize40x24: setMapSize(app, 40, 24); break;
    case CmdMapSize80x50: setMapSize(app, 80, 50); break;
    case CmdMapSize64x30: setMapSize(app, 64, 30); break;
    case CmdFillMap: fillMap(app); break;
    case CmdGridOnMap: toggleMapGrid(app); break;
    case CmdInkColour: chooseColourCommand(app, ColourTarget::Ink); break;
    case CmdPaperColour: chooseColourCommand(app, ColourTarget::Paper); break;
    case CmdMapInsertChar: mapCellCommand(app, MapOperation::InsertChar); break;
    case CmdMapDeleteChar: mapCellCommand(app, MapOperation::DeleteChar); break;
    case CmdMapInsertRow: mapCellCommand(app, MapOperation::InsertRow); break;
    case CmdMapDeleteRow: mapCellCommand(app, MapOperation::DeleteRow); break;
    case CmdMapInsertColumn: mapCellCommand(app, MapOperation::InsertColumn); break;
    case CmdMapDeleteColumn: mapCellCommand(app, MapOperation::DeleteColumn); break;
    default: break;
    }
    return true;
}

void dispatchControlChange(App& app, const Event& e) {
    switch (e.control) {
    case GadgetRangeEnable:
    case GadgetRangeBeginSlider:
    case GadgetRangeEndSlider: rangeControlChanged(app, e.control, e.value); break;
    case GadgetShiftLeft: applyTransform(app, GlyphTransform::ShiftLeft); break;
    case GadgetShiftRight: applyTransform(app, GlyphTransform::ShiftRight); break;
    case GadgetShiftUp: applyTransform(app, GlyphTransform::ShiftUp); break;
    case GadgetShiftDown: applyTransform(app, GlyphTransform::ShiftDown); break;
    default: break;
    }
}

void dispatchDrop(App& app, const Event& e) {
    if (e.control == GadgetCharsetView) {
        loadCharsetFile(app, e.paths);
        refresh(app);
    } else if (e.control == GadgetMapCanvas) {
        loadMapFile(app, e.paths);
    }
}

} // namespace

void dispatchCanvasEvent(App& app, int canvas, const CanvasEvent& e) {
    switch (canvas) {
    case GadgetCharsetView: handleCharsetViewEvent(app, e); break;
    case GadgetGlyphEditor: handleGlyphEditorEvent(app, e); break;
    case GadgetMapCanvas: handleMapCanvasEvent(app, e); break;
    default: break;
    }
}

namespace {

// What a raw pointer or key fact means to its canvas, handled.
void dispatchToCanvas(App& app, const Event& raw) {
    for (const CanvasEvent& derived : app.input.derive(raw)) dispatchCanvasEvent(app, raw.control, derived);
}

bool dispatchOne(App& app, const Event& e) {
    switch (e.kind) {
    case EventKind::Command: app.menuWalk.reset(); return dispatchCommand(app, e.command);
    case EventKind::MenuKey: {
        const int picked = app.menuWalk.key(app.platform, e);
        return picked < 0 || dispatchCommand(app, picked);
    }
    case EventKind::MenuClosed: app.menuWalk.reset(); return true;
    case EventKind::WindowClosed:
        if (e.window == WindowMain) return false;
        if (e.window == WindowMap) app.platform.hideWindow(WindowMap);
        return true;
    case EventKind::FilesDropped: dispatchDrop(app, e); return true;
    case EventKind::ControlChanged: dispatchControlChange(app, e); return true;
    case EventKind::Wake: writeLateTexts(app); return true;
    case EventKind::Wheel: scrollMapWithWheel(app, e); return true;
    case EventKind::FingerDown:
    case EventKind::FingerMove:
    case EventKind::FingerUp:
    case EventKind::Timer:
        for (const Event& pointer : app.fingers.pointerEvents(e, app.platform)) dispatchToCanvas(app, pointer);
        return true;
    default: dispatchToCanvas(app, e); return true;
    }
}

} // namespace

bool dispatchEvent(App& app, const Event& e) {
    app.pending.collecting = true;
    const bool goOn = dispatchOne(app, e);
    app.pending.collecting = false;
    app.lateTexts.deferring = true;
    drawPending(app);
    app.lateTexts.deferring = false;
    return goOn;
}

void runEventLoop(App& app) {
    Platform& p = app.platform;
    for (;;) {
        const std::optional<Event> event = p.waitEvent();
        if (!event) return;
        app.escape.note(*event);
        if (app.escape.look()) return;
        if (!dispatchEvent(app, *event)) return;
    }
}

} // namespace tessaly
