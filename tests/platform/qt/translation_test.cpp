#include "qt_test_support.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QSlider>
#include <QUrl>

#include <map>

using namespace tessaly;

namespace {

enum : int { Overview = 10, Glyph, Slider, Box, PushButton };
enum : int { Invert = 101, DragSwap };

const QStringList kindNames =
    QString("wake down up move leave keydown keyup command closed drop changed").split(' ');
const QStringList keyNames = QString("None Left Up Right Down Insert Delete Escape Other").split(' ');
const QStringList buttonNames = QString("none left right middle").split(' ');
const std::map<int, QString> controlNames = {
    {Overview, "overview"}, {Glyph, "glyph"}, {Slider, "slider"}, {Box, "box"}, {PushButton, "button"}};

// "down glyph left 50,60 b1", "keyup overview Left", "closed map", "command 101"...
QString record(const Event& e) {
    QStringList r{kindNames.value(int(e.kind))};
    if (e.kind == EventKind::WindowClosed) r << (e.window == Map ? "map" : "main");
    if (e.control >= 0) r << controlNames.at(e.control);
    switch (e.kind) {
    case EventKind::PointerDown:
    case EventKind::PointerUp: r << buttonNames.value(int(e.button)); [[fallthrough]];
    case EventKind::PointerMove: r << QString("%1,%2 b%3").arg(e.x).arg(e.y).arg(e.buttons); break;
    case EventKind::KeyDown:
    case EventKind::KeyUp: r << keyNames.value(int(e.key)); break;
    case EventKind::Command: r << QString::number(e.command); break;
    case EventKind::FilesDropped: r << QString::fromStdString(e.paths).replace('\n', '|'); break;
    case EventKind::ControlChanged: r << QString::number(e.value); break;
    default: break;
    }
    return r.join(' ');
}

} // namespace

// Native input in, through the windows as Qt routes a user's input where that matters
// (grabs, focus, shortcuts); the platform's raw event records out.
class TranslationTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;
    QStringList notes; // what a row saw besides the events

    // "x,y" moves to that point of the canvas; L, R and M press the left, right and middle
    // button where the pointer is, l, r and m release them; D double-clicks the left one.
    void mouse(const QString& canvas, const QString& script) {
        QWidget* area = widget(canvas);
        QWindow* window = area->window()->windowHandle();
        static QPoint pointer;
        for (const QString& step : script.split(' ')) {
            const QMap<QString, Qt::MouseButton> buttons = {
                {"l", Qt::LeftButton}, {"r", Qt::RightButton}, {"m", Qt::MiddleButton}};
            const Qt::MouseButton button = buttons.value(step.toLower(), Qt::LeftButton);
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

    void key(const QString& window, QTest::KeyAction action, Qt::Key key,
             Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyEvent(action, handle(window), key, modifiers);
    }

    void showAndActivate(int window, const QString& name) {
        platform->showWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(widget(name)));
        drain(*platform);
    }

    void drop(const QMimeData& data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::ShiftModifier); // Shift proposes a move
        QDropEvent drop(QPointF(6, 6), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::ShiftModifier);
        for (QDropEvent* event : {static_cast<QDropEvent*>(&enter), &drop}) {
            QCoreApplication::sendEvent(widget("overview"), event);
            notes << (!event->isAccepted()                       ? "refused"
                      : event->dropAction() == Qt::CopyAction ? "copy"
                                                               : "move");
        }
    }

  private slots:
    void initTestCase() {
        QVERIFY((platform = platformWithMainWindow()));
        QVERIFY(platform->openWindow(windowSpec(Map, "map", 40, 40, 522, 394, false, true)));
        ControlSpec overview = controlSpec(ControlKind::Canvas, Main, Overview, "overview",
                                           {0, 0, 260, 260});
        overview.border = overview.keyboard = true;
        ControlSpec slider =
            controlSpec(ControlKind::Slider, Main, Slider, "slider", {20, 280, 255, 30});
        slider.max = 255;
        ControlSpec button =
            controlSpec(ControlKind::Button, Main, PushButton, "button", {262, 128, 32, 20});
        button.text = "<";
        for (const ControlSpec& spec :
             {overview, controlSpec(ControlKind::Canvas, Main, Glyph, "glyph", {262, 0, 128, 128}),
              slider, controlSpec(ControlKind::CheckBox, Main, Box, "box", {0, 310, 20, 20}),
              button})
            QVERIFY(platform->createControl(spec));
        QVERIFY(platform->createMenu(
            {1, Main, {submenu("Char", {item(Invert, "Invert\tCtrl+I"), item(DragSwap, "swap")})}}));
        platform->addShortcut(Main, 'I', Invert);
        platform->acceptFileDrops(Overview);
        platform->setFocus(Overview);
        QTest::mouseMove(handle("main"), QPoint(600, 400));
        drain(*platform);
    }

    void cleanupTestCase() {
        // What the window system sends to end the application, at logout for example.
        QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
        QCOMPARE(platform->waitEvent(), std::nullopt);
        platform.reset();
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
                 for (const Qt::Key k : {Qt::Key_Left, Qt::Key_Insert, Qt::Key_Delete, Qt::Key_F5})
                     QTest::keyClick(handle("main"), k);
             },
             "keydown overview Left, keyup overview Left, keydown overview Insert, "
             "keyup overview Insert, keydown overview Delete, keyup overview Delete, "
             "keydown overview Other, keyup overview Other"},
            {"a held key: its first press and last release",
             [&] {
                 const std::pair<QEvent::Type, bool> keys[] = {
                     {QEvent::KeyPress, false}, {QEvent::KeyRelease, true},
                     {QEvent::KeyPress, true},  {QEvent::KeyRelease, true},
                     {QEvent::KeyPress, true},  {QEvent::KeyRelease, false}};
                 for (const auto& [type, repeated] : keys) {
                     QKeyEvent e(type, Qt::Key_Right, Qt::NoModifier, QString(), repeated);
                     QCoreApplication::sendEvent(widget("overview"), &e);
                 }
             },
             "keydown overview Right, keyup overview Right"},
            {"Escape on a program window wakes the wait; a tap counts until asked once",
             [&] {
                 const auto held = [&] { notes << (platform->escapeHeld() ? "held" : "free"); };
                 key("main", QTest::Press, Qt::Key_Escape);
                 held();
                 key("main", QTest::Release, Qt::Key_Escape);
                 held();
                 key("main", QTest::Press, Qt::Key_Escape);
                 key("main", QTest::Release, Qt::Key_Escape);
                 held();
                 held();
             },
             "held, free, held, free, wake, keydown overview Escape, keyup overview Escape, "
             "wake, keydown overview Escape, keyup overview Escape"},
            {"a shortcut and a menu item raise their commands; the canvas sees Ctrl and I's release",
             [&] {
                 QTest::keyClick(handle("main"), Qt::Key_I, Qt::ControlModifier);
                 widget("main")->findChild<QMenu*>()->actions().at(1)->trigger();
             },
             "keydown overview Other, command 101, keyup overview Other, keyup overview Other, "
             "command 102"},
            {"Escape where nothing takes keys; the close box",
             [&] {
                 showAndActivate(Map, "map");
                 key("map", QTest::Press, Qt::Key_Escape);
                 key("map", QTest::Release, Qt::Key_Escape);
                 handle("map")->close();
                 for (const Event& e : drain(*platform))
                     notes << record(e);
                 showAndActivate(Main, "main");
             },
             "wake, closed map"},
            {"the user's slider moves: keyboard, a click beside the handle; not the program's",
             [&] {
                 platform->setControlValue(Slider, 65);
                 QTest::keyClick(widget("slider"), Qt::Key_Left);
                 QTest::mouseClick(widget("slider"), Qt::LeftButton, {}, QPoint(250, 15));
                 platform->setControlValue(Slider, 3);
                 notes << QString::number(static_cast<QSlider*>(widget("slider"))->value());
             },
             "3, changed slider 64, changed slider 79"},
            {"the check box toggled, a button pushed by mouse and keyboard",
             [&] {
                 platform->setControlValue(Box, 1);
                 QTest::mouseClick(widget("box"), Qt::LeftButton);
                 QTest::mouseClick(widget("button"), Qt::LeftButton);
                 QTest::keyClick(widget("button"), Qt::Key_Space);
             },
             "changed box 0, changed button 0, changed button 0"},
            {"local files dropped as a copy; text and remote files refused",
             [&] {
                 QMimeData files, text, web;
                 files.setUrls({QUrl::fromLocalFile("/tmp/a.fnt"), QUrl::fromLocalFile("/tmp/b c")});
                 text.setText("hello");
                 web.setUrls({QUrl("https://example.org/font.fnt")});
                 for (const QMimeData* data : {&files, &text, &web})
                     drop(*data);
             },
             "copy, copy, refused, refused, refused, refused, drop overview /tmp/a.fnt|/tmp/b c"},
        };
        for (const auto& row : rows) {
            notes.clear();
            row.input();
            QStringList seen = notes;
            for (const Event& e : drain(*platform))
                seen << record(e);
            QVERIFY2(seen.join(", ") == row.records,
                     qPrintable(QString("%1:\n  %2").arg(row.what, seen.join(", "))));
        }
    }
};

QTEST_MAIN(TranslationTest)
#include "translation_test.moc"
