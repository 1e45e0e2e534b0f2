#include "app/charset_commands.h"

#include "app/app.h"
#include "app/redraw.h"

#include <algorithm>

namespace tessaly {

void applyTransform(App& app, GlyphTransform op) {
    const EditorState& s = app.state;
    int first = s.currentChar;
    int last = first;
    if (s.rangeEnabled) {
        first = std::min(s.rangeBegin, s.rangeEnd);
        last = std::max(s.rangeBegin, s.rangeEnd);
    }
    for (int code = first; code <= last; ++code)
        transformGlyph(glyph(app.charset, code), op, app.bitReverse);
    refresh(app);
}

void eraseAll(App& app) {
    app.charset.bytes.fill(0);
    refresh(app);
}

void loadBuiltinCharset(App& app, const BuiltinCharsetInfo& set) {
    writeBuiltinCharset(app.charset, set);
    app.state.paperColour = set.paper;
    app.state.inkColour = set.ink;
    refresh(app);
}

} // namespace tessaly
