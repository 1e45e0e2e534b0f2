#include "platform/ids.h"
#include "platform/qt/qt_platform.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

#include <memory>

using namespace tessaly;

namespace {

QString typeName(EventType type) {
    switch (type) {
    case EventType::LeftButtonDown:
        return "LeftDown";
    case EventType::LeftButtonUp:
        return "LeftUp";
    case EventType::LeftClick:
        return "LeftClick";
    case EventType::RightButtonDown:
        return "RightDown";
    case EventType::RightButtonUp:
        return "RightUp";
    case EventType::RightClick:
        return "RightClick";
    case EventType::MouseMove:
        return "Move";
    case EventType::MouseEnter:
        return "Enter";
    case EventType::MouseLeave:
        return "Leave";
    case EventType::KeyDown:
        return "KeyDown";
    case EventType::KeyUp:
        return "KeyUp";
    case EventType::Character:
        return "Character";
    case EventType::Wheel:
        return "Wheel";
    case EventType::LeftDoubleClick:
        return "LeftDoubleClick";
    case EventType::RightDoubleClick:
        return "RightDoubleClick";
    case EventType::MiddleButtonDown:
        return "MiddleDown";
    case EventType::MiddleButtonUp:
        return "MiddleUp";
    case EventType::FocusGained:
        return "FocusGained";
    case EventType::FocusLost:
        return "FocusLost";
    case EventType::Changed:
        return "Changed";
    case EventType::None:
        return "None";
    }
    return "?";
}

QString keyName(Key key) {
    switch (key) {
    case Key::Left:
        return "Left";
    case Key::Up:
        return "Up";
    case Key::Right:
        return "Right";
    case Key::Down:
        return "Down";
    case Key::Insert:
        return "Insert";
    case Key::Delete:
        return "Delete";
    case Key::Escape:
        return "Escape";
    case Key::Other:
        return "Other";
    case Key::None:
        return "None";
    }
    return "?";
}

// A pointer event as "Type x,y bN"; key events as "Type KeyName".
QString describe(const Event& e) {
    if (e.type == EventType::KeyDown || e.type == EventType::KeyUp)
        return typeName(e.type) + ' ' + keyName(e.key);
    if (e.type == EventType::Character) return typeName(e.type);
    return QStringLiteral("%1 %2,%3 b%4")
        .arg(typeName(e.type))
        .arg(e.mouseX)
        .arg(e.mouseY)
        .arg(e.buttons);
}

bool isMove(const Event& e) {
    return e.type == EventType::MouseMove || e.type == EventType::MouseEnter ||
           e.type == EventType::MouseLeave;
}

bool isCharacter(const Event& e) {
    return e.type == EventType::Character;
}

bool isFocus(const Event& e) {
    return e.type == EventType::FocusGained || e.type == EventType::FocusLost;
}

} // namespace

class CanvasEventsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QtPlatform> platform;

    QWindow* mainWindow() { return platform->windowWidget(WindowMain)->windowHandle(); }

    // A position on a canvas's drawing area, in the coordinates of its window.
    QPoint on(int canvas, QPoint local) {
        QWidget* area = platform->controlWidget(canvas);
        return area->mapTo(area->window(), local);
    }

    std::vector<Event> drain() {
        std::vector<Event> events;
        while (auto e = platform->pollEvent())
            events.push_back(*e);
        return events;
    }

    // The events of one control, described, leaving out the ones `skip` names.
    QStringList eventsOf(int control, bool (*skip)(const Event&) = nullptr) {
        QStringList out;
        for (const Event& e : drain()) {
            if (e.kind != EventKind::Control || e.control != control) continue;
            if (skip != nullptr && skip(e)) continue;
            out << describe(e);
        }
        return out;
    }

  private slots:
    void init() {
        platform = std::make_unique<QtPlatform>(std::vector<std::string>{}, "/");
        QVERIFY(platform->openWindow(WindowMain, 0, 0, 640, 480, "main", {}));
        QVERIFY(
            platform->createCanvas(WindowMain, GadgetCharsetView, {0, 0, 260, 260}, true, true));
        QVERIFY(platform->createCanvas(WindowMain, GadgetGlyphEditor, {262, 0, 128, 128}, false,
                                       false));
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow()));
        QTest::mouseMove(mainWindow(), QPoint(600, 400));
        drain();
    }

    void cleanup() { platform.reset(); }

    void drawingAreaLiesInsideTheBorder() {
        QWidget* view = platform->controlWidget(GadgetCharsetView);
        QCOMPARE(view->size(), QSize(256, 256));
        QCOMPARE(view->mapTo(view->window(), QPoint(0, 0)), QPoint(2, 2));
        const auto* border = qobject_cast<QFrame*>(view->parentWidget());
        QVERIFY(border != nullptr);
        QCOMPARE(border->geometry(), QRect(0, 0, 260, 260));
        QCOMPARE(border->frameWidth(), 2);
        QCOMPARE(border->frameShadow(), QFrame::Sunken);

        QWidget* editor = platform->controlWidget(GadgetGlyphEditor);
        QCOMPARE(editor->size(), QSize(128, 128));
        QCOMPARE(editor->mapTo(editor->window(), QPoint(0, 0)), QPoint(262, 0));

        Surface* surface = platform->beginCanvasDrawing(GadgetCharsetView);
        QVERIFY(surface != nullptr);
        QCOMPARE(surface->width(), 256);
        QCOMPARE(surface->height(), 256);
        QCOMPARE(surface->pixel(0, 0), rgb(255, 255, 255));
        QCOMPARE(surface->pixel(255, 255), rgb(255, 255, 255));
        platform->endCanvasDrawing(GadgetCharsetView);

        QVERIFY(platform->beginCanvasDrawing(99) == nullptr);
    }

    // What the program draws reaches the screen once drawing ends, colours in place.
    void surfaceShowsOnScreen() {
        Surface* surface = platform->beginCanvasDrawing(GadgetCharsetView);
        QVERIFY(surface != nullptr);
        surface->fillRect(10, 20, 30, 40, rgb(200, 30, 60));
        surface->setPixel(255, 255, rgb(1, 2, 3));
        platform->endCanvasDrawing(GadgetCharsetView);
        platform->pollEvent();

        QWidget* window = platform->windowWidget(WindowMain);
        const QImage shown =
            window->screen()->grabWindow(window->winId(), 0, 0, 260, 260).toImage();
        QCOMPARE(shown.pixelColor(2 + 10, 2 + 20), QColor(200, 30, 60));
        QCOMPARE(shown.pixelColor(2 + 39, 2 + 59), QColor(200, 30, 60));
        QCOMPARE(shown.pixelColor(2 + 40, 2 + 60), QColor(Qt::white));
        QCOMPARE(shown.pixelColor(2 + 255, 2 + 255), QColor(1, 2, 3));
        QCOMPARE(shown.pixelColor(2 + 9, 2 + 20), QColor(Qt::white));
    }

    void clickInsideGivesDownUpClick() {
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {40, 41}));
        QTest::mousePress(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {50, 60}));
        QTest::mouseRelease(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {52, 61}));
        QCOMPARE(eventsOf(GadgetGlyphEditor, isMove),
                 QStringList({"LeftDown 50,60 b1", "LeftUp 52,61 b0", "LeftClick 52,61 b0"}));
    }

    void everyEventNamesItsWindowAndControl() {
        QTest::mouseClick(mainWindow(), Qt::LeftButton, {}, on(GadgetCharsetView, {7, 9}));
        const std::vector<Event> events = drain();
        QVERIFY(!events.empty());
        for (const Event& e : events) {
            if (isFocus(e)) continue;
            QCOMPARE(e.kind, EventKind::Control);
            QCOMPARE(e.window, int(WindowMain));
            QCOMPARE(e.control, int(GadgetCharsetView));
        }
    }

    // Qt keeps the mouse with the pressed widget: the drag reports positions outside the
    // area, negative ones too, and the release there is no click.
    void dragOutsideReportsOutsidePositionsAndNoClick() {
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {10, 10}));
        drain();
        QTest::mousePress(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {10, 10}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {-12, 30}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {140, -7}));
        QTest::mouseRelease(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {140, -7}));
        QCOMPARE(eventsOf(GadgetGlyphEditor,
                          [](const Event& e) { return e.type == EventType::MouseLeave; }),
                 QStringList({"LeftDown 10,10 b1", "Move -12,30 b1", "Move 140,-7 b1",
                              "LeftUp 140,-7 b0"}));
        QCOMPARE(eventsOf(GadgetCharsetView, isFocus), QStringList());
    }

    void releaseBackInsideAfterLeavingIsAClick() {
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {19, 19}));
        QTest::mousePress(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {20, 20}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {-5, -6}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {127, 127}));
        QTest::mouseRelease(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {127, 127}));
        const QStringList events = eventsOf(GadgetGlyphEditor, isMove);
        QCOMPARE(events.mid(events.size() - 2),
                 QStringList({"LeftUp 127,127 b0", "LeftClick 127,127 b0"}));
    }

    void doubleClickSecondPressIsAButtonDown() {
        QTest::mouseMove(mainWindow(), on(GadgetCharsetView, {29, 29}));
        QTest::mouseDClick(mainWindow(), Qt::LeftButton, {}, on(GadgetCharsetView, {30, 31}));
        QCOMPARE(
            eventsOf(GadgetCharsetView, [](const Event& e) { return isMove(e) || isFocus(e); }),
            QStringList({"LeftDown 30,31 b1", "LeftUp 30,31 b0", "LeftClick 30,31 b0",
                         "LeftDown 30,31 b1", "LeftDoubleClick 30,31 b1", "LeftUp 30,31 b0",
                         "LeftClick 30,31 b0"}));
    }

    void firstMoveAfterEnteringIsMouseEnter() {
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {30, 30}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {31, 32}));
        QTest::mouseMove(mainWindow(), QPoint(500, 300));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {5, 6}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {7, 6}));
        QStringList events = eventsOf(GadgetGlyphEditor);
        // The leave event carries wherever the pointer is then; only its place in the
        // order matters here.
        for (QString& e : events) {
            if (e.startsWith("Leave")) e = "Leave";
        }
        QCOMPARE(events, QStringList({"Enter 30,30 b0", "Move 31,32 b0", "Leave", "Enter 5,6 b0",
                                      "Move 7,6 b0"}));
    }

    void rightAndMiddleButtons() {
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {60, 60}));
        QTest::mousePress(mainWindow(), Qt::RightButton, {}, on(GadgetGlyphEditor, {61, 62}));
        QTest::mouseRelease(mainWindow(), Qt::RightButton, {}, on(GadgetGlyphEditor, {63, 64}));
        QTest::mousePress(mainWindow(), Qt::RightButton, {}, on(GadgetGlyphEditor, {65, 66}));
        QTest::mouseRelease(mainWindow(), Qt::RightButton, {}, on(GadgetGlyphEditor, {-3, 64}));
        QTest::mousePress(mainWindow(), Qt::MiddleButton, {}, on(GadgetGlyphEditor, {70, 71}));
        QTest::mouseRelease(mainWindow(), Qt::MiddleButton, {}, on(GadgetGlyphEditor, {72, 73}));
        QCOMPARE(eventsOf(GadgetGlyphEditor, isMove),
                 QStringList({"RightDown 61,62 b2", "RightUp 63,64 b0", "RightClick 63,64 b0",
                              "RightDown 65,66 b2", "RightUp -3,64 b0", "MiddleDown 70,71 b4",
                              "MiddleUp 72,73 b0"}));
    }

    void buttonsHeldTogetherAreAllReported() {
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {81, 81}));
        drain();
        QTest::mousePress(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {81, 81}));
        QTest::mousePress(mainWindow(), Qt::RightButton, {}, on(GadgetGlyphEditor, {81, 81}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {83, 83}));
        QTest::mouseRelease(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {83, 83}));
        QTest::mouseMove(mainWindow(), on(GadgetGlyphEditor, {85, 85}));
        QTest::mouseRelease(mainWindow(), Qt::RightButton, {}, on(GadgetGlyphEditor, {85, 85}));
        QCOMPARE(eventsOf(GadgetGlyphEditor),
                 QStringList({"LeftDown 81,81 b1", "RightDown 81,81 b3", "Move 83,83 b3",
                              "LeftUp 83,83 b2", "LeftClick 83,83 b2", "Move 85,85 b2",
                              "RightUp 85,85 b0", "RightClick 85,85 b0"}));
    }

    void wheelIsReported() {
        QWidget* editor = platform->controlWidget(GadgetGlyphEditor);
        QWheelEvent wheel(QPointF(12, 13), editor->mapToGlobal(QPointF(12, 13)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(editor, &wheel);
        QCOMPARE(eventsOf(GadgetGlyphEditor), QStringList({"Wheel 12,13 b0"}));
    }

    void keyboardCanvasTakesFocusWhenClicked() {
        QWidget* view = platform->controlWidget(GadgetCharsetView);
        QVERIFY(!view->hasFocus());
        QTest::mouseClick(mainWindow(), Qt::LeftButton, {}, on(GadgetCharsetView, {100, 100}));
        QTRY_VERIFY(view->hasFocus());
        QVERIFY(eventsOf(GadgetCharsetView).filter(QRegularExpression("^FocusGained")).size() == 1);

        // The glyph editor takes no focus and so never steals the keys.
        QTest::mouseClick(mainWindow(), Qt::LeftButton, {}, on(GadgetGlyphEditor, {10, 11}));
        QVERIFY(view->hasFocus());
    }

    void keysMapAndAutoRepeatReleasesAreDropped() {
        QWidget* view = platform->controlWidget(GadgetCharsetView);
        const std::pair<Qt::Key, QString> keys[] = {
            {Qt::Key_Left, "Left"},     {Qt::Key_Up, "Up"},         {Qt::Key_Right, "Right"},
            {Qt::Key_Down, "Down"},     {Qt::Key_Insert, "Insert"}, {Qt::Key_Delete, "Delete"},
            {Qt::Key_Escape, "Escape"}, {Qt::Key_F5, "Other"}};
        for (const auto& [qtKey, name] : keys) {
            QTest::keyClick(view, qtKey);
            QCOMPARE(eventsOf(GadgetCharsetView, isCharacter),
                     QStringList({"KeyDown " + name, "KeyUp " + name}));
        }

        // Holding a key: presses repeat, each with a release marked as auto-repeat.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(),
                                  true);
        QKeyEvent repeatedPress(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QCoreApplication::sendEvent(view, &repeatedRelease);
        QCoreApplication::sendEvent(view, &repeatedPress);
        QCoreApplication::sendEvent(view, &repeatedRelease);
        QCoreApplication::sendEvent(view, &repeatedPress);
        QCoreApplication::sendEvent(view, &release);
        QCOMPARE(eventsOf(GadgetCharsetView),
                 QStringList({"KeyDown Right", "KeyDown Right", "KeyDown Right", "KeyUp Right"}));

        QTest::keyClick(view, Qt::Key_A);
        QCOMPARE(eventsOf(GadgetCharsetView),
                 QStringList({"KeyDown Other", "Character", "KeyUp Other"}));
    }

    void canvasWithoutKeyboardReportsNoKeys() {
        QWidget* editor = platform->controlWidget(GadgetGlyphEditor);
        QCOMPARE(editor->focusPolicy(), Qt::NoFocus);
        QTest::keyClick(editor, Qt::Key_Left);
        QCOMPARE(eventsOf(GadgetGlyphEditor), QStringList());
    }

    void filesDroppedOnACanvas() {
        platform->acceptFileDrops(GadgetCharsetView);
        QWidget* view = platform->controlWidget(GadgetCharsetView);

        QMimeData files;
        files.setUrls(
            {QUrl::fromLocalFile("/tmp/one.fnt"), QUrl::fromLocalFile("/tmp/two words.fnt")});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(view, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(view, &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(QPointF(6, 6), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(view, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);

        const std::vector<Event> events = drain();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].kind, EventKind::FilesDropped);
        QCOMPARE(events[0].control, int(GadgetCharsetView));
        QCOMPARE(events[0].window, int(WindowMain));
        QCOMPARE(QString::fromStdString(events[0].dropText),
                 QString("/tmp/one.fnt\n/tmp/two words.fnt"));
    }

    void dropsWithoutLocalFilesOrOnOtherControlsAreRefused() {
        platform->acceptFileDrops(GadgetCharsetView);
        QMimeData text;
        text.setText("hello");
        QDragEnterEvent enterText(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton,
                                  Qt::NoModifier);
        QCoreApplication::sendEvent(platform->controlWidget(GadgetCharsetView), &enterText);
        QVERIFY(!enterText.isAccepted());

        QMimeData web;
        web.setUrls({QUrl("https://example.org/font.fnt")});
        QDropEvent dropWeb(QPointF(6, 6), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(platform->controlWidget(GadgetCharsetView), &dropWeb);
        QVERIFY(!dropWeb.isAccepted());

        QVERIFY(!platform->controlWidget(GadgetGlyphEditor)->acceptDrops());
        QVERIFY(platform->controlWidget(GadgetCharsetView)->acceptDrops());
        QVERIFY(drain().empty());
    }
};

QTEST_MAIN(CanvasEventsTest)
#include "canvas_events_test.moc"
