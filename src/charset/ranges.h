#pragma once

#include <string>

namespace tessaly {

struct App;

// Copies the range check box and track bar positions, which hold the range, into the
// editor state.
void readRangeControls(App& app);

// "BeginRange:65:A" / "End range:65:A": the prefix, the value, and from 32 on the
// character of that code.
std::string rangeLabelText(const std::string& prefix, int value);

// Rewrites both range labels from the track bars.
void updateRangeLabels(App& app);
void setRangeBeginToCurrent(App& app);
void setRangeEndToCurrent(App& app);

// Copies the glyphs of the range onto the codes from the current one on; refuses with
// "Range Error!" when the current code lies inside the range.
void copyRangeToCurrent(App& app);

} // namespace tessaly
