#include "app/map_file.h"

#include "app/app.h"
#include "app/redraw.h"
#include "formats/raw/map_codes.h"
#include "io/file_access.h"

namespace tessaly {

void loadMapFile(App& app, const std::string& path) {
    const int width = app.state.mapWidth;
    const int height = app.state.mapHeight;
    const std::int64_t cells = static_cast<std::int64_t>(width) * height;
    if (fileSize(path) > cells) {
        app.platform.messageBox("Open File", "to big map:" + path);
        return;
    }
    std::vector<std::uint8_t> bytes;
    if (cells < 0 || !readFileStart(path, static_cast<std::size_t>(cells), bytes)) {
        app.platform.messageBox("Open File", "unable to open:" + path);
        return;
    }
    // At most `cells` bytes were read, so the codes always fit.
    formats::CodeMap codes;
    std::size_t codesRead = 0;
    std::string error;
    formats::readMapCodes(bytes, width, height, codes, codesRead, error);
    // A short file leaves the cells it does not reach as they were.
    formats::placeMapCodes(app.screenMap, codes, codesRead);
    drawMap(app);
}

} // namespace tessaly
