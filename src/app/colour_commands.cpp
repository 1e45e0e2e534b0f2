#include "app/colour_commands.h"

#include "app/app.h"
#include "app/redraw.h"

namespace tessaly {

void chooseColourCommand(App& app, ColourTarget target) {
    const std::optional<Colour> chosen = app.platform.chooseColour();
    if (!chosen) return;
    if (target == ColourTarget::Ink)
        app.state.inkColour = *chosen;
    else
        app.state.paperColour = *chosen;
    // Every view changes colour: the map too, even when the editor could not be drawn.
    drawCharsetView(app);
    drawGlyphEditor(app);
    drawMap(app);
}

} // namespace tessaly
