#include "app/open_command.h"

#include "app/app.h"
#include "app/charset_file.h"
#include "app/map_file.h"
#include "app/redraw.h"
#include "io/paths.h"

namespace tessaly {

void openCommand(App& app) {
    const FileDialogResult chosen = app.platform.openFileDialog(
        "Please choose file to load", app.state.lastPath,
        {{"Font (*.fnt)", "*.fnt"}, {"Character map (*.map)", "*.map"}}, 0);
    if (chosen.path.empty()) return;
    app.state.lastPath = directoryPart(chosen.path);
    if (chosen.filterIndex == 1) {
        loadMapFile(app, chosen.path);
    } else {
        loadCharsetFile(app, chosen.path);
        refresh(app);
    }
}

} // namespace tessaly
