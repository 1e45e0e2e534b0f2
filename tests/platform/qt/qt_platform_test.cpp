#include "platform/qt/qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <functional>
#include <memory>

using namespace tessaly;

// The Qt platform, on windows and controls with ids and names of the test's own: one table
// of native input in (through the windows, as Qt routes a user's input, where grabs, focus
// and shortcuts matter) and raw event records out; then what only Qt can show of a user's
// path: the canvas showing its surface, the menus built from their specs, the dialogs.

namespace {

enum : int { Main = 0, Map = 1, Overview = 10, Glyph, Slider, Box, PushButton, Data, Scroll };
enum : int { MainMenu = 1, Popup, Open = 101, Quit, Invert, DragSwap, DragCopy };

const QStringList kindNames =
    QString("wake down up move leave keydown keyup lost command closed drop changed menukey "
            "menuclosed finger fmove fup timer wheel").split(' ');
const QStringList keyNames =
    QString("None Left Up Right Down Insert Delete Escape Other").split(' ');
const QStringList controlNames = QString("overview glyph slider box button data scroll").split(' ');

// "down glyph left 50,60 b1", "keyup overview Left", "closed map", "command 101"...
QString record(const Event& e) {
    QStringList r{kindNames.value(int(e.kind))};
    if (e.kind == EventKind::WindowClosed) r << (e.window == Map ? "map" : "main");
    if (e.control >= 0) r << controlNames.value(e.control - Overview);
    switch (e.kind) {
    case EventKind::PointerDown:
    case EventKind::PointerUp: r << (e.button == Button::Left ? "left" : "right"); [[fallthrough]];
    case EventKind::PointerMove: r << QString("%1,%2 b%3").arg(e.x).arg(e.y).arg(e.buttons); break;
    case EventKind::KeyDown:
    case EventKind::KeyUp: r << keyNames.value(int(e.key)); break;
    case EventKind::Command: r << QString::number(e.command); break;
    case EventKind::FilesDropped: r << QString::fromStdString(e.paths).replace('\n', '|'); break;
    case EventKind::ControlChanged: r << QString::number(e.value); break;
    case EventKind::Wheel: r << QString("%1,%2 s%3").arg(e.x).arg(e.y).arg(e.value); break;
    default: break;
    }
    return r.join(' ');
}

ControlSpec controlSpec(ControlKind kind, int id, const char* name, Rect r) {
    ControlSpec spec;
    spec.kind = kind;
    spec.window = Main;
    spec.id = id;
    spec.name = name;
    spec.rect = r;
    return spec;
}

MenuEntry item(int command, const char* text, bool checked = false) {
    return {MenuEntry::Kind::Item, text, command, checked, {}};
}
MenuEntry separator() {
    return {MenuEntry::Kind::Separator, {}, -1, false, {}};
}
MenuEntry submenu(const char* text, std::vector<MenuEntry> entries) {
    return {MenuEntry::Kind::Submenu, text, -1, false, std::move(entries)};
}

// The entries of a menu bar or menu, joined by " | ": "-" for a separator, "Name>" for a
// submenu, "Name*" for a checked item and "Name[]" for an unchecked one with a check box.
QString itemsOf(const QWidget* menu) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        const QString mark = a->isChecked() ? "*" : a->isCheckable() ? "[]" : "";
        items << (a->isSeparator() ? "-" : a->menu() ? a->text() + '>' : a->text() + mark);
    }
    return items.join(" | ");
}

// The window or control of that name (a canvas's drawing area).
QWidget* widget(const QString& name) {
    for (QWidget* w : QApplication::allWidgets()) {
        if (w->objectName() == name) return w;
    }
    return nullptr;
}

QWindow* handle(const QString& window) {
    return widget(window)->windowHandle();
}

// Calls `open`, which shows a modal dialog or a popup menu and returns once it closes, and
// runs `act` on it while it is open. Whatever `act` leaves open is closed, so that a
// failing check cannot hang the test. True when `act` ran on a T.
template <class T>
bool whileOpen(const std::function<void()>& open, const std::function<void(T*)>& act) {
    bool ran = false;
    QObject context; // drops the timer should `open` return without showing anything
    QTimer::singleShot(0, &context, [&] {
        QWidget* shown = QApplication::activePopupWidget();
        if (shown == nullptr) shown = QApplication::activeModalWidget();
        if (T* widget = qobject_cast<T*>(shown)) {
            act(widget);
            ran = true;
        }
        if (shown != nullptr && shown->isVisible()) QTimer::singleShot(0, shown, &QWidget::close);
    });
    open();
    return ran;
}

} // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT

    QtPlatform platform{{}, "/"};
    QStringList notes; // what a row saw besides the events

    QStringList drain() {
        QStringList records;
        while (const std::optional<Event> e = platform.pollEvent())
            records << record(*e);
        return records;
    }

    // "x,y" moves to that point of the canvas; L, R and M press the left, right and middle
    // button where the pointer is, l, r and m release them; D double-clicks the left one.
    void mouse(const QString& canvas, const QString& script) {
        static QPoint pointer;
        QWidget* area = widget(canvas);
        QWindow* window = area->window()->windowHandle();
        for (const QString& step : script.split(' ')) {
            const Qt::MouseButton button = step.toLower() == "r"   ? Qt::RightButton
                                           : step.toLower() == "m" ? Qt::MiddleButton
                                                                   : Qt::LeftButton;
            if (const QStringList xy = step.split(','); xy.size() == 2) {
                pointer = area->mapTo(area->window(), QPoint(xy[0].toInt(), xy[1].toInt()));
                QTest::mouseMove(window, pointer);
            } else if (step == "D") {
                QTest::mouseDClick(window, button, {}, pointer);
            } else if (step == step.toUpper()) {
                QTest::mousePress(window, button, {}, pointer);
            } else {
                QTest::mouseRelease(window, button, {}, pointer);
            }
        }
    }

    // Escape on `window`: D down, U up, ! another application becomes active.
    void escape(const QString& window, const QString& script) {
        QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
        for (const QChar step : script) {
            if (step == '!')
                QCoreApplication::sendEvent(qApp, &inactive);
            else
                QTest::keyEvent(step == 'D' ? QTest::Press : QTest::Release, handle(window),
                                Qt::Key_Escape);
        }
    }

    void showAndActivate(int window, const QString& name) {
        platform.showWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(widget(name)));
        drain();
    }

  private slots:
    void initTestCase() {
        QVERIFY(platform.openWindow({Main, "main", 0, 0, 640, 480, "main", true, false}));
        QVERIFY(QTest::qWaitForWindowActive(widget("main")));
        QVERIFY(platform.openWindow({Map, "map", 40, 40, 522, 394, "map", false, true}));
        ControlSpec overview =
            controlSpec(ControlKind::Canvas, Overview, "overview", {0, 0, 260, 260});
        overview.border = overview.keyboard = true;
        ControlSpec slider = controlSpec(ControlKind::Slider, Slider, "slider", {20, 280, 255, 30});
        slider.max = 255;
        slider.step = 15;
        for (const ControlSpec& spec :
             {overview, controlSpec(ControlKind::Canvas, Glyph, "glyph", {262, 0, 128, 128}),
              slider, controlSpec(ControlKind::CheckBox, Box, "box", {0, 310, 20, 20}),
              controlSpec(ControlKind::Button, PushButton, "button", {262, 128, 32, 20})})
            QVERIFY(platform.createControl(spec));
        ControlSpec scroll = controlSpec(ControlKind::ScrollArea, Scroll, "scroll", {0, 0, 522, 394});
        scroll.window = Map;
        scroll.innerWidth = 1280;
        scroll.innerHeight = 800;
        QVERIFY(platform.createControl(scroll));
        const MenuSpec menu{
            MainMenu,
            Main,
            {submenu("File", {item(Open, "Open...\tCtrl+O"),
                              submenu("Save", {separator(), item(Quit, "Quit")})}),
             submenu("Char", {item(Invert, "Invert\tCtrl+I"), separator(),
                              item(DragSwap, "swap", true), item(DragCopy, "copy")})}};
        QVERIFY(platform.createMenu(menu));
        QVERIFY(!platform.createMenu(menu));
        QVERIFY(!platform.createMenu({MainMenu + 10, Main, {}}));
        QVERIFY(platform.createMenu({Popup, -1, {item(Invert, "Invert")}}));
        platform.addShortcut(Main, 'I', Invert);
        platform.acceptFileDrops(Overview);
        platform.setFocus(Overview);
        QTest::mouseMove(handle("main"), QPoint(600, 400));
        drain();
    }

    void cleanupTestCase() {
        // What the window system sends to end the application, at logout for example.
        QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
        QCOMPARE(platform.waitEvent(), std::nullopt);
    }

    void translations() {
        const struct {
            const char* what;
            std::function<void()> input;
            QString records;
        } rows[] = {
            {"press, move, release: canvas pixels, the buttons held after each",
             [&] { mouse("glyph", "50,60 L 52,61 l"); },
             "move glyph 50,60 b0, down glyph left 50,60 b1, move glyph 52,61 b1, "
             "up glyph left 52,61 b0"},
            {"a held button keeps the pointer, outside and negative; the leave after the release",
             [&] { mouse("glyph", "10,10 L -12,30 140,-7 l"); },
             "move glyph 10,10 b0, down glyph left 10,10 b1, move glyph -12,30 b1, "
             "move glyph 140,-7 b1, up glyph left 140,-7 b0, leave glyph"},
            {"two buttons", [&] { mouse("glyph", "61,62 R L -3,64 l r"); },
             "move glyph 61,62 b0, down glyph right 61,62 b2, down glyph left 61,62 b3, "
             "move glyph -3,64 b3, up glyph left -3,64 b2, up glyph right -3,64 b0, leave glyph"},
            {"a double click's second press is a press; the middle button is left out",
             [&] { mouse("glyph", "30,31 D M m"); },
             "move glyph 30,31 b0, down glyph left 30,31 b1, up glyph left 30,31 b0, "
             "down glyph left 30,31 b1, up glyph left 30,31 b0"},
            {"the pointer leaving", [&] { mouse("glyph", "5,6 200,6"); },
             "move glyph 5,6 b0, leave glyph"},
            {"the drawing area inside the border", [&] { mouse("overview", "0,0 -1,255"); },
             "move overview 0,0 b0, leave overview"},
            {"keys on the canvas with the keyboard",
             [&] {
                 for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Delete, Qt::Key_F5})
                     QTest::keyClick(handle("main"), key);
             },
             "keydown overview Left, keyup overview Left, keydown overview Delete, "
             "keyup overview Delete, keydown overview Other, keyup overview Other"},
            {"a held key: its first press and last release",
             [&] {
                 for (const int i : {0, 1, 2, 3, 4, 5}) {
                     QKeyEvent e(i % 2 ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_Right,
                                 Qt::NoModifier, QString(), i != 0 && i != 5);
                     QCoreApplication::sendEvent(widget("overview"), &e);
                 }
             },
             "keydown overview Right, keyup overview Right"},
            {"Escape on a program window, once for the window and once for the canvas; a "
             "release lost to another application",
             [&] { escape("main", "DUD!U"); },
             "keydown Escape, keydown overview Escape, keyup Escape, keyup overview Escape, "
             "keydown Escape, keydown overview Escape, lost, keyup overview Escape"},
            {"a shortcut and a menu item raise their commands; the canvas sees Ctrl and I's "
             "release",
             [&] {
                 QTest::keyClick(handle("main"), Qt::Key_I, Qt::ControlModifier);
                 widget("main")
                     ->findChild<QMenuBar*>()
                     ->actions()
                     .at(1)
                     ->menu()
                     ->actions()
                     .at(3)
                     ->trigger();
             },
             "keydown overview Other, command 103, keyup overview Other, keyup overview Other, "
             "command 105"},
            {"Escape where nothing takes keys; the close box; shortcuts of another window",
             [&] {
                 showAndActivate(Map, "map");
                 escape("map", "DU");
                 QTest::keyClick(handle("map"), Qt::Key_I, Qt::ControlModifier);
                 handle("map")->close();
                 notes += drain();
                 showAndActivate(Main, "main");
             },
             "keydown Escape, keyup Escape, closed map"},
            {"the user's slider moves: keyboard, a click beside the handle; not the program's",
             [&] {
                 platform.setControlValue(Slider, 65);
                 QTest::keyClick(widget("slider"), Qt::Key_Left);
                 QTest::mouseClick(widget("slider"), Qt::LeftButton, {}, QPoint(250, 15));
                 platform.setControlValue(Slider, 3);
                 notes << QString::number(static_cast<QSlider*>(widget("slider"))->value());
             },
             "3, changed slider 64, changed slider 79"},
            {"the check box toggled, a button pushed by mouse and keyboard",
             [&] {
                 platform.setControlValue(Box, 1);
                 QTest::mouseClick(widget("box"), Qt::LeftButton);
                 QTest::mouseClick(widget("button"), Qt::LeftButton);
                 QTest::keyClick(widget("button"), Qt::Key_Space);
             },
             "changed box 0, changed button 0, changed button 0"},
            {"local files dropped as a copy (Shift proposed a move); text and remote files refused",
             [&] {
                 QMimeData files, text, web;
                 files.setUrls(
                     {QUrl::fromLocalFile("/tmp/a.fnt"), QUrl::fromLocalFile("/tmp/b c")});
                 text.setText("hello");
                 web.setUrls({QUrl("https://example.org/font.fnt")});
                 for (const QMimeData* data : {&files, &text, &web}) {
                     const auto actions = Qt::CopyAction | Qt::MoveAction;
                     QDragEnterEvent enter({5, 5}, actions, data, Qt::LeftButton,
                                           Qt::ShiftModifier);
                     QDropEvent drop({6, 6}, actions, data, Qt::LeftButton, Qt::ShiftModifier);
                     for (QDropEvent* event : {static_cast<QDropEvent*>(&enter), &drop}) {
                         QCoreApplication::sendEvent(widget("overview"), event);
                         notes << (!event->isAccepted()                    ? "refused"
                                   : event->dropAction() == Qt::CopyAction ? "copy"
                                                                           : "move");
                     }
                 }
             },
             "copy, copy, refused, refused, refused, refused, drop overview /tmp/a.fnt|/tmp/b c"},
            {"the wheel over a scroll area, turned down, up with Shift and tilted right; the "
             "program scrolls it",
             [&] {
                 auto* area = widget("scroll")->findChild<QWidget*>("qt_scrollarea_viewport");
                 for (const auto& [turn, keys] :
                      {std::pair{QPoint(0, -120), Qt::NoModifier}, {QPoint(0, 120), Qt::ShiftModifier},
                       {QPoint(-120, 0), Qt::NoModifier}}) {
                     QWheelEvent wheel({5, 5}, {5, 5}, {}, turn, Qt::NoButton, keys,
                                       Qt::NoScrollPhase, false);
                     QCoreApplication::sendEvent(area, &wheel);
                 }
                 platform.scrollBy(Scroll, 20, 48);
                 platform.scrollBy(Scroll, -30, 0);
                 const auto* scrolled = static_cast<QScrollArea*>(widget("scroll"));
                 notes << QString("%1,%2").arg(scrolled->horizontalScrollBar()->value())
                                          .arg(scrolled->verticalScrollBar()->value());
             },
             "0,48, wheel scroll 0,120 s0, wheel scroll 0,-120 s1, wheel scroll 120,0 s0"},
        };
        for (const auto& row : rows) {
            notes.clear();
            row.input();
            const QString seen = (notes + drain()).join(", ");
            QVERIFY2(seen == row.records, qPrintable(QString("%1:\n  %2").arg(row.what, seen)));
        }
    }

    // What the program draws shows once drawing ends, colours in place, on a drawing area
    // inside a 2-pixel sunken border. Only what a drawing changed is repainted, and the
    // screen then shows the whole surface, wherever the changes lie.
    void canvasShowsItsSurface() {
        const struct {
            QRect r;
            Colour colour;
        } drawings[] = {{{0, 0, 256, 256}, rgb(200, 30, 60)},
                        {{0, 0, 1, 1}, rgb(255, 0, 0)},
                        {{255, 128, 1, 1}, rgb(0, 255, 0)},
                        {{100, 100, 20, 30}, rgb(1, 2, 3)},
                        {{3, 50, 200, 2}, 0},
                        {{0, 0, 0, 0}, 0}};
        QWidget* area = widget("overview");
        for (const auto& drawing : drawings) {
            Surface* surface = platform.beginCanvasDrawing(Overview);
            QVERIFY(surface != nullptr);
            QCOMPARE(QSize(surface->width(), surface->height()), QSize(256, 256));
            const QRect& r = drawing.r;
            surface->fillRect(r.x(), r.y(), r.width(), r.height(), drawing.colour);
            platform.endCanvasDrawing(Overview);
            platform.pollEvent();
            const QPoint at = area->mapTo(area->window(), QPoint(-2, -2));
            const QImage shown = area->screen()
                                     ->grabWindow(area->window()->winId(), at.x(), at.y(), 260, 260)
                                     .toImage();
            int wrong = 0;
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    const Colour c = surface->pixel(x, y);
                    wrong += shown.pixel(x + 2, y + 2) != qRgb(redOf(c), greenOf(c), blueOf(c));
                }
            QVERIFY2(wrong == 0, qPrintable(QString("%1 pixels wrong").arg(wrong)));
            for (const QPoint border : {QPoint(1, 1), QPoint(258, 258), QPoint(1, 130)})
                QVERIFY(shown.pixelColor(border) != QColor(200, 30, 60));
        }
        const auto* frame = qobject_cast<QFrame*>(area->parentWidget());
        QVERIFY(frame != nullptr && frame->frameShadow() == QFrame::Sunken);
        QCOMPARE(platform.beginCanvasDrawing(Slider), nullptr);
    }

    // Fixed client sizes without a maximise box, the main window centred on the screen, the
    // map window where asked. A multi-line field shows the last of the texts given, still
    // right-aligned. A wake asked for after the frame comes.
    void windowsAndFields() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = widget("main")->frameGeometry();
        QCOMPARE(frame.topLeft(), screen.topLeft() + QPoint(screen.width() - frame.width(),
                                                            screen.height() - frame.height()) / 2);
        QCOMPARE(widget("map")->frameGeometry().topLeft(), QPoint(40, 40));
        for (const auto& [name, size] : {std::pair{"main", QSize(640, 480)}, {"map", {522, 394}}}) {
            QCOMPARE(widget(name)->minimumSize(), size);
            QCOMPARE(widget(name)->maximumSize(), size);
            QCOMPARE(widget(name)->windowFlags() & ~Qt::WindowType_Mask,
                     Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        }
        ControlSpec field = controlSpec(ControlKind::TextField, Data, "data", {262, 148, 128, 40});
        field.multiLine = field.rightAligned = true;
        QVERIFY(platform.createControl(field));
        QVERIFY(!platform.createControl(field));
        platform.setControlText(Data, "1,2,3");
        platform.setControlText(Data, "255,0,24");
        QCOMPARE(drain(), QStringList());
        const auto* edit = static_cast<QPlainTextEdit*>(widget("data"));
        QCOMPARE(edit->toPlainText(), QString("255,0,24"));
        QCOMPARE(edit->document()->defaultTextOption().alignment(), Qt::AlignRight);
        platform.wakeAfterFrame();
        QStringList woken = drain(); // not yet: a frame later
        QCOMPARE(woken, QStringList());
        QTRY_COMPARE(woken += drain(), QStringList({"wake"}));
    }

    // Titles, submenus, separators, shortcut labels after a tab, marks as given; a mark
    // changes only when the program sets it. A popup opens with its corner one pixel left
    // of and above the pointer.
    void menusFromTheirSpecs() {
        const QMenuBar* bar = widget("main")->findChild<QMenuBar*>();
        QCOMPARE(itemsOf(bar), "File> | Char>");
        const QMenu* file = bar->actions().at(0)->menu();
        QCOMPARE(itemsOf(file), "Open...\tCtrl+O | Save>");
        QCOMPARE(itemsOf(file->actions().at(1)->menu()), "- | Quit");
        QMenu* charMenu = bar->actions().at(1)->menu();
        QCOMPARE(itemsOf(charMenu), "Invert\tCtrl+I | - | swap* | copy");
        platform.setMenuChecked(MainMenu, DragSwap, false);
        platform.setMenuChecked(MainMenu, DragCopy, true);
        QCOMPARE(itemsOf(charMenu), "Invert\tCtrl+I | - | swap[] | copy*");
        for (QAction* action : charMenu->actions())
            action->trigger();
        QCOMPARE(itemsOf(charMenu), "Invert\tCtrl+I | - | swap[] | copy*");
        QCOMPARE(drain(), QStringList({"command 103", "command 104", "command 105"}));

        QCursor::setPos(200, 150);
        QVERIFY(whileOpen<QMenu>([&] { platform.showPopupMenu(Popup, Main); },
                                 [](QMenu* menu) {
                                     QCOMPARE(menu->pos(), QPoint(199, 149));
                                     QCOMPARE(itemsOf(menu), "Invert");
                                     QTest::keyPress(menu, Qt::Key_Escape);
                                 }));
        QCOMPARE(drain(), QStringList());
    }

    // The message box shows its text as it is, with one button, over the active window. A
    // file to open need not exist but its folder must, and the filter that counts is the one
    // selected at the end. A save neither asks before replacing a file nor adds an extension.
    // An Escape that closes a dialog is none of the program's.
    void dialogs() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const auto path = [&](const char* name) { return folder.filePath(name).toStdString(); };
        const auto show = [&] { platform.messageBox("Open File", "unable to open:/x/<y>.fnt"); };
        QVERIFY(whileOpen<QMessageBox>(show, [](QMessageBox* box) {
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->text(), "unable to open:/x/<y>.fnt");
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->parentWidget(), widget("main"));
            QTest::keyPress(box, Qt::Key_Escape);
        }));
        std::optional<Colour> colour;
        QVERIFY(whileOpen<QColorDialog>([&] { colour = platform.chooseColour(); },
                                        [](QColorDialog* dialog) {
                                            QCOMPARE(dialog->currentColor(), QColor(Qt::black));
                                            dialog->setCurrentColor(QColor(10, 20, 30));
                                            dialog->accept();
                                        }));
        QCOMPARE(colour, std::optional<Colour>(rgb(10, 20, 30)));

        FileDialogResult result;
        const auto open = [&] {
            result = platform.openFileDialog("Load", path(""), {{"F (*.fnt)", "*.fnt"}, {"M", "*.map *.txt"}},
                                             1);
        };
        QVERIFY(whileOpen<QFileDialog>(open, [&](QFileDialog* dialog) {
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
        QVERIFY(whileOpen<QFileDialog>(open,
                                       [](QFileDialog* d) { QTest::keyPress(d, Qt::Key_Escape); }));
        QCOMPARE(result.path, std::string());

        const auto save = [&] { result = platform.saveFileDialog("Save", path(""), {{".bmp", "*.bmp"}}, 0); };
        QVERIFY(whileOpen<QFileDialog>(save, [](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->nameFilters(), QStringList({".bmp (*.bmp)"}));
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->selectFile("picture");
            static_cast<QDialog*>(dialog)->accept();
        }));
        QCOMPARE(result.path, path("picture"));
        QCOMPARE(drain(), QStringList());
    }
};

QTEST_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
