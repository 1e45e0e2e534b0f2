// The editor: the program's run on the Qt platform.

#include "app/startup.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDir>

#include <string>
#include <vector>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    tessaly::QtPlatform platform(std::move(arguments), QDir::currentPath().toStdString());
    return tessaly::runTessaly(platform);
}
