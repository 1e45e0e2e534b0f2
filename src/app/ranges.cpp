#include "app/ranges.h"

#include "app/app.h"
#include "app/ids.h"
#include "app/redraw.h"
#include "charset/codepage.h"

#include <algorithm>

namespace tessaly {

std::string rangeLabelText(const std::string& prefix, int value) {
    std::string text = prefix;
    text += std::to_string(value);
    if (value >= 32) {
        text += ':';
        text += windows1252ToUtf8(static_cast<std::uint8_t>(value));
    }
    return text;
}

void updateRangeLabels(App& app) {
    Platform& p = app.platform;
    p.setControlText(GadgetRangeBeginLabel, rangeLabelText("BeginRange:", app.state.rangeBegin));
    p.setControlText(GadgetRangeEndLabel, rangeLabelText("End range:", app.state.rangeEnd));
}

void rangeControlChanged(App& app, int control, int value) {
    EditorState& s = app.state;
    if (control == GadgetRangeEnable) {
        s.rangeEnabled = value != 0;
        return;
    }
    (control == GadgetRangeBeginSlider ? s.rangeBegin : s.rangeEnd) = std::clamp(value, 0, 255);
    updateRangeLabels(app);
}

void setRangeBeginToCurrent(App& app) {
    app.state.rangeBegin = app.state.currentChar;
    app.platform.setControlValue(GadgetRangeBeginSlider, app.state.rangeBegin);
    updateRangeLabels(app);
}

void setRangeEndToCurrent(App& app) {
    app.state.rangeEnd = app.state.currentChar;
    app.platform.setControlValue(GadgetRangeEndSlider, app.state.rangeEnd);
    updateRangeLabels(app);
}

void copyRangeToCurrent(App& app) {
    const int first = std::min(app.state.rangeBegin, app.state.rangeEnd);
    const int last = std::max(app.state.rangeBegin, app.state.rangeEnd);
    const int current = app.state.currentChar;
    if (first <= current && current <= last) {
        app.platform.messageBox("Tessaly", "Range Error!");
        return;
    }
    // Ascending order reads every source before it can be overwritten, since the
    // destinations never start inside the range.
    for (int code = first; code <= last; ++code) {
        const int destination = current + (code - first);
        if (destination > 255) break;
        std::copy_n(glyph(app.charset, code).begin(), GlyphBytes,
                    glyph(app.charset, destination).begin());
    }
    refresh(app);
}

} // namespace tessaly
