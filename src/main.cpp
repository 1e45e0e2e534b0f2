// The editor: the program's run on the Qt platform.

#include "app/startup.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QSize>

#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Every pointer move is an event of its own: a stroke in the glyph editor or on the map
    // sets each cell the pointer was reported over, so moves must not be merged.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QApplication application(argc, argv);
    // Every window shows the icon built into the program, in the sizes title bars and
    // task bars take. Each size is sent to the window manager when a window is shown:
    // 128 and 256 would add several milliseconds to the start for menus that draw 48 at
    // most (the desktop's menus take the large ones from the installed icon theme).
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/tessaly-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // Ties the windows to the installed desktop entry (on Wayland, its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tessaly.Tessaly"));
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    tessaly::QtPlatform platform(std::move(arguments), QDir::currentPath().toStdString());
    return tessaly::runTessaly(platform);
}
