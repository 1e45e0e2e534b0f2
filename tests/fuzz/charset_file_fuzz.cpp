// A character-set file at every current character: exactly the bytes from the current
// glyph to the end of the store may change, and they become the file's first bytes.

#include "fuzz_support.h"

#include "app/charset_file.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    FuzzProgram& p = fuzzProgram();
    App& app = *p.app;
    app.state.currentChar = data[0];
    const std::string path = p.writeFile(data + 1, size - 1);
    const std::size_t fileBytes = size - 1;

    for (int i = 0; i < CharsetBytes; ++i) app.charset.bytes[i] = static_cast<std::uint8_t>(i * 7);
    const Charset before = app.charset;
    p.platform.messages.clear();
    loadCharsetFile(app, path);

    const std::size_t offset = app.state.currentChar * 8u;
    const std::size_t n = std::min(fileBytes, CharsetBytes - offset);
    FUZZ_CHECK(app.charset.bytes.size() == 2048);
    for (std::size_t i = 0; i < CharsetBytes; ++i) {
        if (i >= offset && i < offset + n)
            FUZZ_CHECK(app.charset.bytes[i] == data[1 + (i - offset)]);
        else
            FUZZ_CHECK(app.charset.bytes[i] == before.bytes[i]);
    }
    FUZZ_CHECK(p.platform.messages.size() == (fileBytes == 0 ? 1u : 0u));
    FUZZ_CHECK(app.state.currentChar == data[0]);
    return 0;
}
