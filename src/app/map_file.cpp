#include "app/map_file.h"

#include "app/app.h"
#include "io/file_access.h"
#include "app/redraw.h"

namespace tessaly {

void LoadMapFile(App& app, const std::string& path) {
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
    std::size_t next = 0;
    for (int y = 0; y < height && next < bytes.size(); ++y)
        for (int x = 0; x < width && next < bytes.size(); ++x) app.screenMap.at(x, y) = bytes[next++];
    DrawMap(app);
}

} // namespace tessaly
