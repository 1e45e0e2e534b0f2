#pragma once

#include <string>

namespace tessaly {

struct App;

// "BeginRange:65:A" / "End range:65:A": the prefix, the value, and from 32 on the
// character of that code.
std::string rangeLabelText(const std::string& prefix, int value);

// Rewrites both range labels from the range held in the editor state.
void updateRangeLabels(App& app);
// The user moved a range slider or toggled the range box.
void rangeControlChanged(App& app, int control, int value);
void setRangeBeginToCurrent(App& app);
void setRangeEndToCurrent(App& app);

// Copies the glyphs of the range onto the codes from the current one on; refuses with
// "Range Error!" when the current code lies inside the range.
void copyRangeToCurrent(App& app);

} // namespace tessaly
