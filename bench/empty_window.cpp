// The floor for the editor's start-up memory: the least Qt Widgets program with a window
// like the editor's main one (a QMainWindow of 640 x 480 with a menu bar of one menu). It
// runs until its window is closed, as the editor does; with --quit it ends as soon as its
// window has been shown and painted.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("empty window"));
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.resize(640, 480);
    window.show();
    if (argc > 1 && std::strcmp(argv[1], "--quit") == 0)
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
