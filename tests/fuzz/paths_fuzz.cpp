// Texts a user or the desktop hands the program: the raw command line, drop texts for
// both loaders, and the path rules of the save commands.

#include "fuzz_support.h"

#include "app/event_loop.h"
#include "app/ids.h"
#include "io/file_access.h"
#include "io/paths.h"
#include "platform/command_line.h"

#include <algorithm>
#include <cctype>

using namespace tessaly;

namespace {

void checkCommandLine(const std::string& text) {
    const std::vector<std::string> args = splitCommandLine(text);
    // Every argument is a piece of the text, in order, and none overlaps the next.
    std::size_t from = 0;
    for (const std::string& a : args) {
        const std::size_t at = text.find(a, from);
        FUZZ_CHECK(at != std::string::npos);
        from = at + a.size();
    }
    // Without quotes, the arguments are exactly the space-separated words.
    if (text.find('"') == std::string::npos)
        for (const std::string& a : args) FUZZ_CHECK(!a.empty() && a.find(' ') == std::string::npos);
}

void checkPathRules(const std::string& text) {
    const std::string dir = directoryPart(text);
    FUZZ_CHECK(text.compare(0, dir.size(), dir) == 0);
    FUZZ_CHECK(dir.empty() || dir.back() == '/' || dir.back() == '\\');
    for (const char* ext : {".fnt", ".map", ".bmp"}) {
        const std::string full = withExtension(text, ext);
        FUZZ_CHECK(full.compare(0, text.size(), text) == 0);
        std::string tail = full.substr(full.size() - std::min<std::size_t>(4, full.size()));
        std::transform(tail.begin(), tail.end(), tail.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        FUZZ_CHECK(tail == ext);
        FUZZ_CHECK(full.size() == text.size() || full.size() == text.size() + 4);
    }
}

// A drop changes the store or the map only when its whole text names a regular file.
void checkDrops(FuzzProgram& p, const std::string& text) {
    App& app = *p.app;
    const bool names = fileSize(text) > 0;
    app.charset.bytes.fill(0x5A);
    const Charset charsetBefore = app.charset;
    Event drop;
    drop.kind = EventKind::FilesDropped;
    drop.control = GadgetCharsetView;
    drop.paths = text;
    dispatchEvent(app, drop);
    if (!names) FUZZ_CHECK(app.charset.bytes == charsetBefore.bytes);

    const ScreenMap mapBefore = app.screenMap;
    drop.control = GadgetMapCanvas;
    dispatchEvent(app, drop);
    if (fileSize(text) < 0) FUZZ_CHECK(app.screenMap.cells == mapBefore.cells);
    for (std::int32_t cell : app.screenMap.cells) FUZZ_CHECK(cell >= 0 && cell <= 255);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkCommandLine(text);
    checkPathRules(text);
    FuzzProgram& p = fuzzProgram();
    p.platform.messages.clear();
    checkDrops(p, text);
    return 0;
}
