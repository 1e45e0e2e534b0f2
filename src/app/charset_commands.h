#pragma once

#include "charset/builtin_charsets.h"
#include "charset/transforms.h"

// The commands that change the store as a whole or the current glyph.

namespace tessaly {

struct App;

// Transforms the current character, or every code of the range when the range check
// box is set, then refreshes once.
void applyTransform(App& app, GlyphTransform op);

// Clears the whole store, whatever the range, then refreshes.
void eraseAll(App& app);

// Replaces the store with a built-in set, takes its colours and refreshes.
void loadBuiltinCharset(App& app, const BuiltinCharsetInfo& set);

} // namespace tessaly
