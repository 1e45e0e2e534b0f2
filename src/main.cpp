// The editor: the program's run on the Qt platform.

#include "app/startup.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDir>

#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Every pointer move is an event of its own: a stroke in the glyph editor or on the map
    // sets each cell the pointer was reported over, so moves must not be merged.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QApplication application(argc, argv);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    tessaly::QtPlatform platform(std::move(arguments), QDir::currentPath().toStdString());
    return tessaly::runTessaly(platform);
}
