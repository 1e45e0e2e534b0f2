#include "qt_test_support.h"

#include <QFrame>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

using namespace tessaly;

// In the order of EventType and of Key.
static const QStringList typeNames =
    QString("None LeftDown LeftUp LeftClick RightDown RightUp RightClick Move Enter Leave KeyDown "
            "KeyUp Character Wheel LeftDoubleClick RightDoubleClick MiddleDown MiddleUp "
            "FocusGained FocusLost Changed")
        .split(' ');
static const QStringList keyNames =
    QString("None Left Up Right Down Insert Delete Escape Other").split(' ');

class CanvasEventsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;
    QPoint pointer; // in the main window

    QWindow* mainWindow() { return handle(*platform, WindowMain); }

    QPoint on(int canvas, QPoint local) {
        QWidget* area = platform->controlWidget(canvas);
        return area->mapTo(area->window(), local);
    }

    // Mouse input through the main window, so that Qt routes and grabs as for a real user.
    // "x,y" moves to that point of `canvas`; L and R press the left and right button where
    // the pointer is, l and r release them.
    void mouse(const QString& script, int canvas = GadgetGlyphEditor) {
        for (const QString& step : script.split(' ')) {
            const Qt::MouseButton button = step.toUpper() == "L" ? Qt::LeftButton : Qt::RightButton;
            if (const QStringList xy = step.split(','); xy.size() == 2) {
                pointer = on(canvas, {xy[0].toInt(), xy[1].toInt()});
                QTest::mouseMove(mainWindow(), pointer);
            } else if (step == step.toUpper()) {
                QTest::mousePress(mainWindow(), button, {}, pointer);
            } else {
                QTest::mouseRelease(mainWindow(), button, {}, pointer);
            }
        }
    }

    // The events of one control of the main window as "Type x,y bButtons" or "KeyDown Key",
    // joined by ", ", leaving out the characters typed. A leave carries wherever the
    // pointer is then, so only its place counts.
    QString eventsOf(int control) {
        QStringList out;
        for (const Event& e : drain(*platform)) {
            if (e.kind != EventKind::Control || e.window != WindowMain || e.control != control ||
                e.type == EventType::Character)
                continue;
            const QString type = typeNames.value(int(e.type), "?");
            if (e.type == EventType::KeyDown || e.type == EventType::KeyUp)
                out << type + ' ' + keyNames.value(int(e.key), "?");
            else if (e.type == EventType::MouseLeave)
                out << type;
            else
                out << type + QString::asprintf(" %d,%d b%d", e.mouseX, e.mouseY, e.buttons);
        }
        return out.join(", ");
    }

  private slots:
    void init() {
        QVERIFY((platform = platformWithMainWindow()));
        QVERIFY(
            platform->createCanvas(WindowMain, GadgetCharsetView, {0, 0, 260, 260}, true, true));
        QVERIFY(platform->createCanvas(WindowMain, GadgetGlyphEditor, {262, 0, 128, 128}, false,
                                       false));
        // Two moves, as Qt drops one to where the last test left the pointer.
        QTest::mouseMove(mainWindow(), QPoint(600, 400));
        QTest::mouseMove(mainWindow(), QPoint(601, 400));
        drain(*platform);
    }

    void cleanup() { platform.reset(); }

    // What the program draws shows once drawing ends, colours in place, on a drawing area
    // inside a 2-pixel border; the glyph editor has none.
    void drawingAreaLiesInsideTheBorderAndShowsItsSurface() {
        QCOMPARE(on(GadgetGlyphEditor, {}), QPoint(262, 0));
        Surface* surface = platform->beginCanvasDrawing(GadgetCharsetView);
        QVERIFY(surface != nullptr);
        QCOMPARE(QSize(surface->width(), surface->height()), QSize(256, 256));
        surface->fillRect(0, 0, 256, 256, rgb(200, 30, 60));
        surface->setPixel(255, 255, rgb(1, 2, 3));
        platform->endCanvasDrawing(GadgetCharsetView);
        platform->pollEvent();
        QWidget* window = platform->windowWidget(WindowMain);
        const QImage shown =
            window->screen()->grabWindow(window->winId(), 0, 0, 260, 260).toImage();
        QCOMPARE(shown.pixelColor(2, 2), QColor(200, 30, 60));
        QCOMPARE(shown.pixelColor(257, 257), QColor(1, 2, 3));
        for (const QPoint border : {QPoint(1, 1), QPoint(258, 258), QPoint(1, 130)})
            QVERIFY(shown.pixelColor(border) != QColor(200, 30, 60));
        const auto* border = qobject_cast<QFrame*>(window->childAt(1, 130));
        QVERIFY(border != nullptr && border->frameShadow() == QFrame::Sunken);
    }

    // Only what a drawing changed is repainted: wherever the changes lie, the screen then
    // shows the whole surface.
    void everyChangeShows() {
        const std::vector<std::function<void(Surface&)>> drawings = {
            [](Surface& s) { s.fillRect(0, 0, 256, 256, rgb(10, 20, 30)); },
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
        QWidget* window = platform->windowWidget(WindowMain);
        for (std::size_t i = 0; i < drawings.size(); ++i) {
            Surface* surface = platform->beginCanvasDrawing(GadgetCharsetView);
            drawings[i](*surface);
            platform->endCanvasDrawing(GadgetCharsetView);
            platform->pollEvent();
            const QImage shown =
                window->screen()->grabWindow(window->winId(), 2, 2, 256, 256).toImage();
            int wrong = 0;
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    const Colour c = surface->pixel(x, y);
                    wrong += shown.pixel(x, y) != qRgb(redOf(c), greenOf(c), blueOf(c));
                }
            QVERIFY2(wrong == 0, qPrintable(QString("drawing %1: %2 pixels").arg(i).arg(wrong)));
        }
    }

    // The first move after the pointer comes in is a mouse enter, and the held buttons
    // ride on every event.
    void buttonsAndClickOnlyAfterAReleaseInside() {
        mouse("50,60 L 52,61 l");
        QCOMPARE(eventsOf(GadgetGlyphEditor), "Enter 50,60 b0, LeftDown 50,60 b1, "
                                              "Move 52,61 b1, LeftUp 52,61 b0, LeftClick 52,61 b0");
        // Qt keeps the mouse with the pressed canvas: positions outside it, negative ones
        // too, and no click for a release out there.
        mouse("10,10 L -12,30 140,-7 l");
        QCOMPARE(eventsOf(GadgetGlyphEditor), "Move 10,10 b0, LeftDown 10,10 b1, Move -12,30 b1, "
                                              "Move 140,-7 b1, LeftUp 140,-7 b0, Leave");
        mouse("20,20 L -5,-6 127,127 l");
        QCOMPARE(eventsOf(GadgetGlyphEditor),
                 "Enter 20,20 b0, LeftDown 20,20 b1, Move -5,-6 b1, Move 127,127 b1, "
                 "LeftUp 127,127 b0, LeftClick 127,127 b0");

        mouse("61,62 R 63,64 r 65,66 R L -3,64 l r");
        QCOMPARE(eventsOf(GadgetGlyphEditor),
                 "Move 61,62 b0, RightDown 61,62 b2, Move 63,64 b2, RightUp 63,64 b0, "
                 "RightClick 63,64 b0, Move 65,66 b0, RightDown 65,66 b2, LeftDown 65,66 b3, "
                 "Move -3,64 b3, LeftUp -3,64 b2, RightUp -3,64 b0, Leave");

        // A double click's second press comes as a button down.
        mouse("30,31");
        QTest::mouseDClick(mainWindow(), Qt::LeftButton, {}, pointer);
        QCOMPARE(
            eventsOf(GadgetGlyphEditor),
            "Enter 30,31 b0, LeftDown 30,31 b1, LeftUp 30,31 b0, LeftClick 30,31 b0, "
            "LeftDown 30,31 b1, LeftDoubleClick 30,31 b1, LeftUp 30,31 b0, LeftClick 30,31 b0");
    }

    // The bordered overview also counts a release up to twice its border width past its
    // right or bottom edge as a click, never one over its left or top border; the glyph
    // editor, without a border, only one inside.
    void clickAfterAReleaseOverTheRightOrBottomBorder() {
        const struct {
            int canvas;
            QString release;
            bool click;
        } cases[] = {
            {GadgetCharsetView, "257,40", true},  {GadgetCharsetView, "88,257", true},
            {GadgetCharsetView, "259,259", true}, {GadgetCharsetView, "256,256", true},
            {GadgetCharsetView, "260,40", false}, {GadgetCharsetView, "88,260", false},
            {GadgetCharsetView, "-1,40", false},  {GadgetCharsetView, "88,-2", false},
            {GadgetGlyphEditor, "128,40", false}, {GadgetGlyphEditor, "40,127", true},
        };
        for (const auto& c : cases) {
            for (const QString button : {"L", "R"}) {
                // Each press starts from another point, as Qt drops a move to where the
                // pointer already is.
                mouse("88,41 88,40 " + button + ' ' + c.release + ' ' + button.toLower(), c.canvas);
                const QString up = button == "L" ? "LeftUp" : "RightUp";
                const QString click = button == "L" ? "LeftClick" : "RightClick";
                const QString at = ' ' + c.release + " b0";
                const QString events = eventsOf(c.canvas);
                QVERIFY2(events.contains(up + at) && events.contains(click + at) == c.click,
                         qPrintable(c.release + ": " + events));
            }
        }
    }

    // The wheel over the map canvas scrolls the scroll area holding it, in the area's own
    // steps, sideways with Shift; over the overview it scrolls nothing. Either way the
    // canvas reports it.
    void wheelScrollsTheAreaAroundTheCanvas() {
        QVERIFY(platform->openWindow(WindowMap, 0, 0, 522, 394, "map", {}));
        QVERIFY(platform->createScrollArea(WindowMap, GadgetMapScrollArea, {0, 0, 522, 394}, 1280,
                                           800, 16));
        QVERIFY(
            platform->createCanvas(WindowMap, GadgetMapCanvas, {0, 0, 1280, 800}, false, false));
        QVERIFY(QTest::qWaitForWindowExposed(platform->windowWidget(WindowMap)));
        auto* area = platform->windowWidget(WindowMap)->findChild<QScrollArea*>();
        QVERIFY(area != nullptr);
        const auto wheel = [&](int canvas, QPoint at, int turn, Qt::KeyboardModifiers keys) {
            QWidget* target = platform->controlWidget(canvas);
            QWheelEvent event(at, target->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, turn),
                              Qt::NoButton, keys, Qt::NoScrollPhase, false);
            // Only the window system's wheel events go on to the widgets around their target:
            // delivered as QTest delivers its mouse events to a widget.
            QSpontaneKeyEvent::setSpontaneous(&event);
            qApp->notify(target, &event);
            QString reported;
            for (const Event& e : drain(*platform)) {
                if (e.kind == EventKind::Control && e.control == canvas)
                    reported += typeNames.value(int(e.type)) +
                                QString::asprintf(" %d,%d ", e.mouseX, e.mouseY);
            }
            return reported.trimmed();
        };
        const int notch = QApplication::wheelScrollLines() * 16;
        const auto scrolled = [&] {
            return QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
        };
        QCOMPARE(wheel(GadgetMapCanvas, {40, 50}, -120, Qt::NoModifier), "Wheel 40,50");
        QCOMPARE(scrolled(), QPoint(0, notch));
        QCOMPARE(wheel(GadgetMapCanvas, {40, 50 + notch}, -240, Qt::ShiftModifier),
                 QString("Wheel 40,%1").arg(50 + notch));
        QCOMPARE(scrolled(), QPoint(2 * notch, notch));
        wheel(GadgetMapCanvas, {40 + 2 * notch, 50 + notch}, 120, Qt::ShiftModifier);
        wheel(GadgetMapCanvas, {40 + notch, 50 + notch}, 120, Qt::NoModifier);
        QCOMPARE(scrolled(), QPoint(notch, 0));

        QCOMPARE(wheel(GadgetCharsetView, {30, 30}, -120, Qt::NoModifier), "Wheel 30,30");
        QCOMPARE(wheel(GadgetGlyphEditor, {30, 31}, -120, Qt::ShiftModifier), "Wheel 30,31");
        QCOMPARE(scrolled(), QPoint(notch, 0));
    }

    // Focus given to the keyboard canvas goes to its drawing area, and the window's keys
    // reach it there; the glyph editor takes none.
    void keysOnlyOnTheKeyboardCanvas() {
        platform->setFocus(GadgetCharsetView);
        drain(*platform);
        const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Up,     Qt::Key_Right,  Qt::Key_Down,
                                Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Escape, Qt::Key_F5};
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(mainWindow(), keys[i]);
            QCOMPARE(eventsOf(GadgetCharsetView),
                     QString("KeyDown %1, KeyUp %1").arg(keyNames[i + 1]));
        }

        // A held key repeats press and release, all marked as auto-repeat but the first
        // press and the last release.
        const bool repeated[] = {false, true, true, true, true, false};
        for (int i = 0; i < 6; ++i) {
            QKeyEvent key(i % 2 == 0 ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Right,
                          Qt::NoModifier, QString(), repeated[i]);
            QCoreApplication::sendEvent(platform->controlWidget(GadgetCharsetView), &key);
        }
        QCOMPARE(eventsOf(GadgetCharsetView),
                 "KeyDown Right, KeyDown Right, KeyDown Right, KeyUp Right");

        QTest::keyClick(platform->controlWidget(GadgetGlyphEditor), Qt::Key_Left);
        QCOMPARE(eventsOf(GadgetGlyphEditor), "");
    }

    // Two local files make one event with their paths; text and remote files are refused.
    void filesDropped() {
        platform->acceptFileDrops(GadgetCharsetView);
        QWidget* view = platform->controlWidget(GadgetCharsetView);
        QVERIFY(view->acceptDrops());
        QMimeData files, text, web;
        files.setUrls({QUrl::fromLocalFile("/tmp/a.fnt"), QUrl::fromLocalFile("/tmp/b c.fnt")});
        text.setText("hello");
        web.setUrls({QUrl("https://example.org/font.fnt")});
        for (QMimeData* data : {&files, &text, &web}) {
            const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
            // Shift proposes a move, which would let the source delete its file.
            QDragEnterEvent enter(QPoint(5, 5), offered, data, Qt::LeftButton, Qt::ShiftModifier);
            QDropEvent drop(QPointF(6, 6), offered, data, Qt::LeftButton, Qt::ShiftModifier);
            for (QDropEvent* event : {static_cast<QDropEvent*>(&enter), &drop}) {
                QCoreApplication::sendEvent(view, event);
                QCOMPARE(event->isAccepted(), data == &files);
                if (data == &files) QCOMPARE(event->dropAction(), Qt::CopyAction);
            }
        }
        const std::vector<Event> events = drain(*platform);
        QCOMPARE(events.size(), std::size_t(1));
        QVERIFY(events[0].kind == EventKind::FilesDropped && events[0].window == WindowMain &&
                events[0].control == GadgetCharsetView);
        QCOMPARE(events[0].dropText, std::string("/tmp/a.fnt\n/tmp/b c.fnt"));
    }
};

QTEST_MAIN(CanvasEventsTest)
#include "canvas_events_test.moc"
