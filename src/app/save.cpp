#include "app/save.h"

#include "app/app.h"
#include "formats/raw/glyph_run.h"
#include "formats/raw/map_codes.h"
#include "io/file_access.h"
#include "io/paths.h"

namespace tessaly {

namespace {

std::vector<std::uint8_t> mapBytes(const App& app) {
    return formats::writeMapCodes(
        formats::codeMapOf(app.screenMap, app.state.mapWidth, app.state.mapHeight));
}

} // namespace

void saveCharsetOrMap(App& app, SaveTarget target) {
    Platform& p = app.platform;
    const bool map = target == SaveTarget::Map;
    const int byteCount = static_cast<int>(target);
    const FileFilter filter = map ? FileFilter{"Character map (*.map)", "*.map"}
                                  : FileFilter{"Font (*.fnt)", "*.fnt"};
    const std::string extension = map ? ".map" : ".fnt";
    const int offset = app.state.currentChar * GlyphBytes;
    if (!map && offset + byteCount > CharsetBytes) {
        p.messageBox("Save File", "out of size");
        return;
    }
    const FileDialogResult chosen =
        p.saveFileDialog("Please choose file to save", app.state.lastPath, {filter}, 0);
    if (chosen.path.empty()) return;
    app.state.lastPath = directoryPart(chosen.path);
    const std::string path = withExtension(chosen.path, extension);

    std::vector<std::uint8_t> bytes;
    if (map)
        bytes = mapBytes(app);
    else
        bytes = formats::glyphRows(app.charset, app.state.currentChar, byteCount / GlyphBytes);
    if (!replaceFile(path, bytes)) p.messageBox("Save file", "File Error:" + path);
}

} // namespace tessaly
