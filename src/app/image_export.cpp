#include "app/image_export.h"

#include "app/app.h"
#include "formats/pictures/bmp.h"
#include "io/file_access.h"
#include "io/paths.h"

namespace tessaly {

void saveCharsetImage(App& app) {
    Platform& p = app.platform;
    const FileDialogResult chosen =
        p.saveFileDialog("Please choose file to save", app.state.lastPath, {{".bmp", "*.bmp"}},
                         0);
    if (chosen.path.empty()) return;
    app.state.lastPath = directoryPart(chosen.path);
    const std::string path = withExtension(chosen.path, ".bmp");
    if (!replaceFile(path, formats::encodeBmp(app.charsetImage)))
        p.messageBox("Save file", "File Error:" + path);
}

} // namespace tessaly
