#include "charset/ranges.h"

#include "app/app.h"
#include "charset/codepage.h"
#include "platform/ids.h"
#include "render/redraw.h"

#include <algorithm>

namespace tessaly {

void readRangeControls(App& app) {
    Platform& p = app.platform;
    app.state.rangeEnabled = p.isChecked(GadgetRangeEnable);
    app.state.rangeBegin = std::clamp(p.trackBarPosition(GadgetRangeBeginSlider), 0, 255);
    app.state.rangeEnd = std::clamp(p.trackBarPosition(GadgetRangeEndSlider), 0, 255);
}

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
    readRangeControls(app);
    Platform& p = app.platform;
    p.setControlText(GadgetRangeBeginLabel, rangeLabelText("BeginRange:", app.state.rangeBegin));
    p.setControlText(GadgetRangeEndLabel, rangeLabelText("End range:", app.state.rangeEnd));
}

void setRangeBeginToCurrent(App& app) {
    app.platform.setTrackBarPosition(GadgetRangeBeginSlider, app.state.currentChar);
    updateRangeLabels(app);
}

void setRangeEndToCurrent(App& app) {
    app.platform.setTrackBarPosition(GadgetRangeEndSlider, app.state.currentChar);
    updateRangeLabels(app);
}

void copyRangeToCurrent(App& app) {
    readRangeControls(app);
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
