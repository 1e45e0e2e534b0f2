#include "app/event_loop.h"

#include "app/app.h"
#include "charset/charset_view.h"
#include "charset/glyph_editor.h"
#include "charset/builtin_charsets.h"
#include "charset/ranges.h"
#include "charset/transforms.h"
#include "io/charset_file.h"
#include "io/image_export.h"
#include "io/map_file.h"
#include "io/open_command.h"
#include "io/save.h"
#include "map/map_canvas.h"
#include "map/map_commands.h"
#include "platform/ids.h"
#include "render/colour_commands.h"
#include "render/redraw.h"

namespace tessaly {

namespace {

// Runs the handler of one command; false for Quit.
bool dispatchCommand(App& app, int command) {
    switch (command) {
    case CmdOpen: openCommand(app); break;
    case CmdQuit: return false;
    case CmdSaveCharset768: SaveCharsetOrMap(app, 768); break;
    case CmdSaveCharset1024: SaveCharsetOrMap(app, 1024); break;
    case CmdSaveCharset2048: SaveCharsetOrMap(app, 2048); break;
    case CmdSaveMap: SaveCharsetOrMap(app, -1); break;
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
    case CmdMapSize32x24: SetMapSize(app, 32, 24); break;
    case CmdMapSize40x24: SetMapSize(app, 40, 24); break;
    case CmdMapSize80x50: SetMapSize(app, 80, 50); break;
    case CmdMapSize64x30: SetMapSize(app, 64, 30); break;
    case CmdFillMap: FillMap(app); break;
    case CmdGridOnMap: ToggleMapGrid(app); break;
    case CmdCharsetCga: loadBuiltinCharset(app, BuiltinCharset::Cga); break;
    case CmdCharsetC64: loadBuiltinCharset(app, BuiltinCharset::C64Caps); break;
    case CmdCharsetAtari: loadBuiltinCharset(app, BuiltinCharset::Atari); break;
    case CmdCharsetPc866: loadBuiltinCharset(app, BuiltinCharset::Pc866); break;
    case CmdCharsetZxSpectrum: loadBuiltinCharset(app, BuiltinCharset::ZxSpectrum); break;
    case CmdCharsetZx80: loadBuiltinCharset(app, BuiltinCharset::Zx80); break;
    case CmdCharsetMicrosha: loadBuiltinCharset(app, BuiltinCharset::Microsha); break;
    case CmdCharsetJupiterAce: loadBuiltinCharset(app, BuiltinCharset::JupiterAce); break;
    case CmdCharsetHex: loadBuiltinCharset(app, BuiltinCharset::Hex); break;
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

void dispatchControl(App& app, const Event& e) {
    switch (e.control) {
    case GadgetCharsetView: handleCharsetViewEvent(app, e); break;
    case GadgetGlyphEditor: handleGlyphEditorEvent(app, e); break;
    case GadgetMapCanvas: handleMapCanvasEvent(app, e); break;
    case GadgetRangeBeginSlider:
    case GadgetRangeEndSlider: updateRangeLabels(app); break;
    case GadgetShiftLeft: applyTransform(app, GlyphTransform::ShiftLeft); break;
    case GadgetShiftRight: applyTransform(app, GlyphTransform::ShiftRight); break;
    case GadgetShiftUp: applyTransform(app, GlyphTransform::ShiftUp); break;
    case GadgetShiftDown: applyTransform(app, GlyphTransform::ShiftDown); break;
    default: break; // the check box, the data field and the scroll area need no handler
    }
}

void dispatchDrop(App& app, const Event& e) {
    if (e.control == GadgetCharsetView) {
        LoadCharsetFile(app, e.dropText);
        refresh(app);
    } else if (e.control == GadgetMapCanvas) {
        LoadMapFile(app, e.dropText);
        DrawMap(app);
    }
}

} // namespace

bool dispatchEvent(App& app, const Event& e) {
    switch (e.kind) {
    case EventKind::FilesDropped: dispatchDrop(app, e); return true;
    case EventKind::Command: return dispatchCommand(app, e.command);
    case EventKind::CloseWindow:
        if (e.window == WindowMain) return false;
        if (e.window == WindowMap) app.platform.hideWindow(WindowMap);
        return true;
    case EventKind::Control: dispatchControl(app, e); return true;
    case EventKind::Other: return true;
    }
    return true;
}

void runEventLoop(App& app) {
    Platform& p = app.platform;
    for (;;) {
        const std::optional<Event> event = p.waitEvent();
        if (!event) return;
        if (p.escapeHeld()) return;
        if (!dispatchEvent(app, *event)) return;
    }
}

} // namespace tessaly
