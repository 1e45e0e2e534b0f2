#include "app/charset_file.h"

#include "app/app.h"
#include "formats/raw/glyph_run.h"
#include "io/file_access.h"
#include "io/paths.h"

#include <algorithm>

namespace tessaly {

void loadCharsetFile(App& app, const std::string& path) {
    if (path.find_first_not_of(' ') == std::string::npos) return;
    const std::int64_t size = fileSize(path);
    if (size <= 0) {
        app.platform.messageBox("No file", path);
        return;
    }
    const int offset = app.state.currentChar * GlyphBytes;
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::int64_t>(size, CharsetBytes - offset));
    std::vector<std::uint8_t> bytes;
    if (!readFileStart(path, n, bytes)) {
        app.platform.messageBox("Read error", path);
        return;
    }
    app.state.lastPath = directoryPart(path);
    // A short read keeps the bytes it did not reach.
    formats::placeGlyphs(app.charset, bytes, app.state.currentChar);
}

} // namespace tessaly
