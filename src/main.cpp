// The editor: the program's run on the Qt platform.

#include "app/startup.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include <string>
#include <vector>

namespace {

// The icon built into the program, in the sizes title bars and task bars take. Each size
// goes to the window manager when a window is shown: 128 and 256 would add milliseconds
// to the start for bars that draw 48 at most (menus take the large ones from the
// installed icon theme). The pictures are read as PNG without asking the image format
// plugins, which would load each plugin and its library before the first window shows.
QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QImageReader reader(QStringLiteral(":/icons/tessaly-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

int main(int argc, char** argv) {
    // Every pointer move is an event of its own: a stroke in the glyph editor or on the map
    // sets each cell the pointer was reported over, so moves must not be merged.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QApplication application(argc, argv);
    // Every window shows the program's icon; none is looked up in an icon theme.
    QApplication::setWindowIcon(programIcon());
    // Ties the windows to the installed desktop entry (on Wayland, its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tessaly.Tessaly"));
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    tessaly::QtPlatform platform(std::move(arguments), QDir::currentPath().toStdString());
    return tessaly::runTessaly(platform);
}
