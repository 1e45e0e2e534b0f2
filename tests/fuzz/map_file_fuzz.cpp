// A map file at every map size: the cells of the map proper fill in row order, every
// cell stays 0..255, and nothing outside the map proper changes.

#include "fuzz_support.h"

#include "app/map_commands.h"
#include "app/map_file.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const int sizes[4][2] = {{32, 24}, {40, 24}, {80, 50}, {64, 30}};
    FuzzProgram& p = fuzzProgram();
    App& app = *p.app;
    const int width = sizes[data[0] % 4][0];
    const int height = sizes[data[0] % 4][1];
    setMapSize(app, width, height);
    const std::string path = p.writeFile(data + 1, size - 1);
    const std::size_t fileBytes = size - 1;

    for (int x = 0; x < MapColumns; ++x)
        for (int y = 0; y < MapRows; ++y) app.screenMap.at(x, y) = (x * 31 + y * 17) & 0xFF;
    const ScreenMap before = app.screenMap;
    p.platform.messages.clear();
    loadMapFile(app, path);

    const bool tooBig = fileBytes > static_cast<std::size_t>(width * height);
    FUZZ_CHECK(p.platform.messages.size() == (tooBig ? 1u : 0u));
    for (int x = 0; x < MapColumns; ++x)
        for (int y = 0; y < MapRows; ++y) {
            const std::int32_t cell = app.screenMap.at(x, y);
            FUZZ_CHECK(cell >= 0 && cell <= 255);
            const bool proper = x < width && y < height;
            const std::size_t index = static_cast<std::size_t>(y * width + x);
            if (proper && !tooBig && index < fileBytes)
                FUZZ_CHECK(cell == data[1 + index]);
            else
                FUZZ_CHECK(cell == before.at(x, y));
        }
    FUZZ_CHECK(app.state.mapWidth == width && app.state.mapHeight == height);
    return 0;
}
