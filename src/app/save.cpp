#include "app/save.h"

#include "app/app.h"
#include "io/file_access.h"
#include "io/paths.h"

namespace tessaly {

namespace {

std::vector<std::uint8_t> mapBytes(const App& app) {
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < app.state.mapHeight; ++y)
        for (int x = 0; x < app.state.mapWidth; ++x)
            bytes.push_back(static_cast<std::uint8_t>(app.screenMap.at(x, y) & 0xFF));
    return bytes;
}

} // namespace

void SaveCharsetOrMap(App& app, SaveTarget target) {
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
        bytes.assign(app.charset.bytes.begin() + offset,
                     app.charset.bytes.begin() + offset + byteCount);
    if (!replaceFile(path, bytes)) p.messageBox("Save file", "File Error:" + path);
}

} // namespace tessaly
