#pragma once

#include "app/input.h"

#include <cstdint>
#include <string>

namespace tessaly {

struct App;

// "tessaly v2 0.9c 65($41)'A'": the base title, the code in decimal and hexadecimal and,
// from 32 on, the character of the code.
std::string charsetTitle(const std::string& base, std::uint8_t code);

// Moves the cursor with wrap-around within its row and column, makes its cell the
// current character, redraws and retitles the main window.
void moveCursor(App& app, int dx, int dy);

// Glyph moves of the Insert and Delete keys; they ignore the range.
void insertGlyph(App& app);
void deleteGlyph(App& app);

void handleCharsetViewEvent(App& app, const CanvasEvent& event);

// The drag-mode pair: checks one mark and clears the other.
void setDragMode(App& app, bool swap);

} // namespace tessaly
