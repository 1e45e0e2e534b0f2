#include "qt_test_support.h"

#include <QApplicationStateChangeEvent>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

using namespace tessaly;

// What a user sees of the platform's windows, canvases, menus and dialogs.

namespace {

enum : int { Overview = 10, Glyph, MapArea, MapCanvas, DataField };
enum : int { MainMenu = 1, Popup, Open = 101, SaveMap, Quit, Invert, DragSwap, DragCopy };

ControlSpec canvas(int window, int id, const char* name, Rect r, bool border) {
    ControlSpec spec = controlSpec(ControlKind::Canvas, window, id, name, r);
    spec.border = spec.keyboard = border;
    return spec;
}

// The entries of a menu bar or menu, joined by " | ": "-" for a separator, "Name>" for a
// submenu, "Name*" for a checked item and "Name[]" for an unchecked one with a check box.
QString itemsOf(const QWidget* menu) {
    QStringList items;
    for (const QAction* a : menu->actions())
        items << (a->isSeparator() ? "-"
                  : a->menu()      ? a->text() + '>'
                                   : a->text() + (a->isChecked()     ? "*"
                                                  : a->isCheckable() ? "[]"
                                                                     : ""));
    return items.join(" | ");
}

QMenu* submenuOf(const QWidget* menu, const QString& title) {
    for (const QAction* a : menu->actions()) {
        if (a->text() == title) return a->menu();
    }
    return nullptr;
}

} // namespace

class UserViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;

    QImage shown(const char* window, QRect r) {
        QWidget* w = widget(window);
        return w->screen()->grabWindow(w->winId(), r.x(), r.y(), r.width(), r.height()).toImage();
    }

    bool openMapWindow(bool hidden) {
        return platform->openWindow(windowSpec(Map, "map", 140, 150, 522, 394, false, hidden));
    }

  private slots:
    void init() { QVERIFY((platform = platformWithMainWindow())); }
    void cleanup() { platform.reset(); }

    // What the program draws shows once drawing ends, colours in place, on a drawing area
    // inside a 2-pixel sunken border; only what a drawing changed is repainted, and the
    // screen then shows the whole surface, wherever the changes lie.
    void canvasShowsItsSurface() {
        QVERIFY(platform->createControl(canvas(Main, Overview, "overview", {0, 0, 260, 260}, true)));
        const std::vector<std::function<void(Surface&)>> drawings = {
            [](Surface& s) { s.fillRect(0, 0, 256, 256, rgb(200, 30, 60)); },
            [](Surface& s) { s.setPixel(0, 0, rgb(255, 0, 0)); },
            [](Surface& s) {
                s.setPixel(255, 128, rgb(0, 255, 0));
                s.setPixel(3, 200, 0);
            },
            [](Surface& s) { s.fillRect(100, 100, 20, 30, rgb(1, 2, 3)); },
            [](Surface& s) {
                s.setPixel(10, 50, 0);
                s.setPixel(200, 51, 0);
            },
            [](Surface&) {},
        };
        for (std::size_t i = 0; i < drawings.size(); ++i) {
            Surface* surface = platform->beginCanvasDrawing(Overview);
            QVERIFY(surface != nullptr);
            QCOMPARE(QSize(surface->width(), surface->height()), QSize(256, 256));
            drawings[i](*surface);
            platform->endCanvasDrawing(Overview);
            platform->pollEvent();
            const QImage image = shown("main", {0, 0, 260, 260});
            int wrong = 0;
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    const Colour c = surface->pixel(x, y);
                    wrong += image.pixel(x + 2, y + 2) != qRgb(redOf(c), greenOf(c), blueOf(c));
                }
            QVERIFY2(wrong == 0, qPrintable(QString("drawing %1: %2 pixels").arg(i).arg(wrong)));
            for (const QPoint border : {QPoint(1, 1), QPoint(258, 258), QPoint(1, 130)})
                QVERIFY(image.pixelColor(border) != QColor(200, 30, 60));
        }
        const auto* frame = qobject_cast<QFrame*>(widget("main")->childAt(1, 130));
        QVERIFY(frame != nullptr && frame->frameShadow() == QFrame::Sunken);
        QCOMPARE(platform->beginCanvasDrawing(Glyph), nullptr);
    }

    // Fixed client sizes without a maximise box, a menu bar taking its height from the top
    // of the client area; a window opens centred or where asked; its close box only asks
    // the program; showing a minimised window, hidden or not, restores it.
    void windows() {
        QVERIFY(openMapWindow(false));
        QVERIFY(!openMapWindow(false));
        QVERIFY(platform->createControl(canvas(Main, Overview, "overview", {0, 0, 260, 260}, true)));
        QVERIFY(platform->createMenu({MainMenu, Main, {submenu("File", {})}}));
        platform->pollEvent();
        const QMenuBar* bar = widget("main")->findChild<QMenuBar*>();
        QVERIFY(bar != nullptr && bar->isVisible() && bar->height() > 0);
        QCOMPARE(widget("overview")->mapTo(widget("main"), QPoint()), QPoint(2, bar->height() + 2));
        for (const auto& [name, size] : {std::pair{"main", QSize(640, 480)},
                                         std::pair{"map", QSize(522, 394)}}) {
            QWidget* window = widget(name);
            QCOMPARE(window->size(), size);
            QCOMPARE(window->minimumSize(), size);
            QCOMPARE(window->maximumSize(), size);
            QCOMPARE(window->windowFlags() & ~Qt::WindowType_Mask,
                     Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        }
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = widget("main")->frameGeometry();
        QCOMPARE(frame.topLeft(), screen.topLeft() + QPoint((screen.width() - frame.width()) / 2,
                                                            (screen.height() - frame.height()) / 2));
        QVERIFY(QTest::qWaitForWindowExposed(widget("map")));
        QCOMPARE(widget("map")->frameGeometry().topLeft(), QPoint(140, 150));
        QCOMPARE(platform->windowOuterLeft(Map), 140);

        handle("map")->close();
        QVERIFY(widget("map")->isVisible());
        for (const bool hidden : {false, true}) {
            widget("map")->showMinimized();
            if (hidden) platform->hideWindow(Map);
            platform->showWindow(Map);
            QVERIFY(QTest::qWaitForWindowExposed(widget("map")));
            QVERIFY(widget("map")->isVisible() && !widget("map")->isMinimized());
        }
    }

    // Controls made after a scroll area go into its inner area, and the wheel over the map
    // canvas scrolls it in its own steps, sideways with Shift. A multi-line field takes the
    // last of the texts given, still right-aligned.
    void controls() {
        QVERIFY(openMapWindow(false));
        ControlSpec area = controlSpec(ControlKind::ScrollArea, Map, MapArea, "area", {0, 0, 522, 394});
        area.innerWidth = 522;
        area.innerHeight = 394;
        area.step = 16;
        QVERIFY(platform->createControl(area));
        QVERIFY(platform->createControl(canvas(Map, MapCanvas, "map-canvas", {0, 0, 1280, 800}, false)));
        auto* scroll = static_cast<QScrollArea*>(widget("area"));
        QVERIFY(scroll->widget()->isAncestorOf(widget("map-canvas")));
        platform->setScrollAreaInnerSize(MapArea, 1280, 800);
        QCOMPARE(scroll->widget()->size(), QSize(1280, 800));
        QVERIFY(QTest::qWaitForWindowExposed(widget("map")));
        const auto wheel = [&](QPoint at, int turn, Qt::KeyboardModifiers keys) {
            QWidget* target = widget("map-canvas");
            QWheelEvent event(at, target->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, turn),
                              Qt::NoButton, keys, Qt::NoScrollPhase, false);
            // Only the window system's wheel events go on to the widgets around their target.
            QSpontaneKeyEvent::setSpontaneous(&event);
            qApp->notify(target, &event);
            return QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value());
        };
        const int notch = QApplication::wheelScrollLines() * 16;
        QCOMPARE(wheel({40, 50}, -120, Qt::NoModifier), QPoint(0, notch));
        QCOMPARE(wheel({40, 50 + notch}, -240, Qt::ShiftModifier), QPoint(2 * notch, notch));
        QCOMPARE(wheel({40 + 2 * notch, 50 + notch}, 120, Qt::ShiftModifier), QPoint(notch, notch));
        QCOMPARE(wheel({40 + notch, 50 + notch}, 120, Qt::NoModifier), QPoint(notch, 0));

        ControlSpec field = controlSpec(ControlKind::TextField, Main, DataField, "data", {262, 148, 128, 40});
        field.multiLine = field.rightAligned = true;
        QVERIFY(platform->createControl(field));
        platform->setControlText(DataField, "1,2,3");
        platform->setControlText(DataField, "255,0,24");
        drain(*platform);
        const auto* edit = static_cast<QPlainTextEdit*>(widget("data"));
        QCOMPARE(edit->toPlainText(), QString("255,0,24"));
        QCOMPARE(edit->document()->defaultTextOption().alignment(), Qt::AlignRight);
        QVERIFY(!platform->createControl(field));
    }

    // Titles, submenus, separators, shortcut labels after a tab, marks as given; a mark
    // changes only when the program sets it. A popup opens with its corner one pixel left
    // of and above the pointer. Shortcuts work on their own window only.
    void menus() {
        const MenuSpec main{MainMenu, Main,
                            {submenu("File", {item(Open, "Open...\tCtrl+O"),
                                              submenu("Save", {separator(), item(SaveMap, "Map")}),
                                              item(Quit, "Quit")}),
                             submenu("Char", {item(Invert, "Invert\tCtrl+I"), separator(),
                                              item(DragSwap, "swap", true), item(DragCopy, "copy")})}};
        QVERIFY(platform->createMenu(main));
        QVERIFY(!platform->createMenu(main));
        QVERIFY(!platform->createMenu({MainMenu + 10, Main, {}}));
        QVERIFY(!platform->createMenu({MainMenu + 11, Map, {}}));
        const QMenuBar* bar = widget("main")->findChild<QMenuBar*>();
        QCOMPARE(itemsOf(bar), "File> | Char>");
        QCOMPARE(itemsOf(submenuOf(bar, "File")), "Open...\tCtrl+O | Save> | Quit");
        QCOMPARE(itemsOf(submenuOf(submenuOf(bar, "File"), "Save")), "- | Map");
        QMenu* charMenu = submenuOf(bar, "Char");
        QCOMPARE(itemsOf(charMenu), "Invert\tCtrl+I | - | swap* | copy");
        platform->setMenuChecked(MainMenu, DragSwap, false);
        platform->setMenuChecked(MainMenu, DragCopy, true);
        QCOMPARE(itemsOf(charMenu), "Invert\tCtrl+I | - | swap[] | copy*");
        for (QAction* action : charMenu->actions())
            action->trigger();
        QCOMPARE(itemsOf(charMenu), "Invert\tCtrl+I | - | swap[] | copy*");

        QVERIFY(openMapWindow(false));
        QVERIFY(QTest::qWaitForWindowActive(widget("map")));
        platform->addShortcut(Main, 'O', Open);
        QTest::keyClick(handle("map"), Qt::Key_O, Qt::ControlModifier);
        std::vector<int> commands;
        for (const Event& e : drain(*platform))
            commands.push_back(e.command);
        QCOMPARE(commands, (std::vector<int>{Invert, DragSwap, DragCopy}));

        QVERIFY(platform->createMenu({Popup, -1, {item(Invert, "Invert")}}));
        QCursor::setPos(200, 150);
        QPoint shownAt;
        QVERIFY(whileOpen<QMenu>([&] { platform->showPopupMenu(Popup, Main); },
                                 [&](QMenu* menu) {
                                     shownAt = menu->pos();
                                     QCOMPARE(itemsOf(menu), "Invert");
                                 }));
        QCOMPARE(shownAt, QPoint(199, 149));
    }

    // The message box shows its text as it is, with one button, over the active window. A
    // file to open need not exist but its folder must, and the filter that counts is the one
    // selected at the end. A save neither asks before replacing a file nor adds an extension.
    void dialogs() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const auto path = [&](const char* name) { return folder.filePath(name).toStdString(); };
        const auto show = [&] { platform->messageBox("Open File", "unable to open:/x/<y>.fnt"); };
        QVERIFY(whileOpen<QMessageBox>(show, [](QMessageBox* box) {
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->text(), "unable to open:/x/<y>.fnt");
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->parentWidget(), widget("main"));
        }));
        std::optional<Colour> colour;
        QVERIFY(whileOpen<QColorDialog>([&] { colour = platform->chooseColour(); },
                                        [](QColorDialog* dialog) {
                                            QCOMPARE(dialog->currentColor(), QColor(Qt::black));
                                            dialog->setCurrentColor(QColor(10, 20, 30));
                                            dialog->accept();
                                        }));
        QCOMPARE(colour, std::optional<Colour>(rgb(10, 20, 30)));

        FileDialogResult result;
        const auto open = [&] {
            result = platform->openFileDialog("Load", path(""), "F (*.fnt)|*.fnt|M|*.map;*.txt", 1);
        };
        QVERIFY(whileOpen<QFileDialog>(open, [&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), "Load");
            QCOMPARE(dialog->directory(), QDir(folder.path()));
            QCOMPARE(dialog->nameFilters(), QStringList({"F (*.fnt)", "M (*.map *.txt)"}));
            QCOMPARE(dialog->selectedNameFilter(), "M (*.map *.txt)");
            dialog->selectFile(folder.filePath("no such folder/x.fnt"));
            static_cast<QDialog*>(dialog)->accept();
            QVERIFY(dialog->isVisible());
            dialog->selectNameFilter("F (*.fnt)");
            dialog->selectFile("missing.map");
            static_cast<QDialog*>(dialog)->accept();
        }));
        QCOMPARE(result.path, path("missing.map"));
        QCOMPARE(result.filterIndex, 0);
        QVERIFY(whileOpen<QFileDialog>(open, [](QFileDialog* dialog) { dialog->reject(); }));
        QCOMPARE(result.path, std::string());

        const auto save = [&] { result = platform->saveFileDialog("Save", path(""), ".bmp", 0); };
        QVERIFY(whileOpen<QFileDialog>(save, [](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->nameFilters(), QStringList({".bmp (*.bmp)"}));
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->selectFile("picture");
            static_cast<QDialog*>(dialog)->accept();
        }));
        QCOMPARE(result.path, path("picture"));
    }

    // Escape counts when pressed on a program window, never when it closes a dialog or a
    // popup menu; once another application is active, its release goes there.
    void escapeOnlyOnProgramWindows() {
        const auto held = [&] { return platform->escapeHeld() && platform->escapeHeld(); };
        QTest::keyPress(handle("main"), Qt::Key_Escape);
        QVERIFY(held());
        drain(*platform);
        QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
        QCoreApplication::sendEvent(qApp, &inactive);
        QVERIFY(!platform->escapeHeld());
        QApplicationStateChangeEvent active(Qt::ApplicationActive);
        QCoreApplication::sendEvent(qApp, &active);

        QVERIFY(platform->createMenu({Popup, -1, {item(Invert, "Invert")}}));
        bool sawHeld = false;
        const auto pressEscape = [&](QWidget* shown) {
            QTest::keyPress(shown, Qt::Key_Escape);
            sawHeld = sawHeld || platform->escapeHeld();
        };
        QVERIFY(whileOpen([&] { platform->messageBox("Tessaly", "Range Error!"); }, pressEscape));
        QVERIFY(whileOpen([&] { QCOMPARE(platform->chooseColour(), std::nullopt); }, pressEscape));
        QVERIFY(whileOpen([&] { platform->showPopupMenu(Popup, Main); }, pressEscape));
        QVERIFY(!sawHeld && !platform->escapeHeld());
        QVERIFY(drain(*platform).empty());
        QTest::keyRelease(handle("main"), Qt::Key_Escape);
        QTest::keyPress(handle("main"), Qt::Key_Escape);
        QVERIFY(held());
    }
};

QTEST_MAIN(UserViewTest)
#include "user_view_test.moc"
