#include "qt_test_support.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>

using namespace tessaly;

class WindowsControlsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;

    QWidget* window(int id) { return platform->windowWidget(id); }
    QWidget* control(int id) { return platform->controlWidget(id); }

  private slots:
    void init() { QVERIFY((platform = platformWithMainWindow())); }
    void cleanup() { platform.reset(); }

    // Fixed client sizes, a menu bar taking its height from the top of the client area.
    void windowsKeepTheirClientSizeWithoutMaximiseBox() {
        QVERIFY(platform->openWindow(WindowMap, 40, 50, 522, 394, "map", {false, true}));
        QVERIFY(
            platform->createCanvas(WindowMain, GadgetCharsetView, {0, 0, 260, 260}, true, true));
        QVERIFY(platform->createMenuBar(MenuMain, WindowMain));
        platform->addMenuTitle(MenuMain, "File");
        platform->pollEvent();
        const QMenuBar* bar = window(WindowMain)->findChild<QMenuBar*>();
        QVERIFY(bar != nullptr && bar->isVisible() && bar->height() > 0);
        QCOMPARE(control(GadgetCharsetView)->mapTo(window(WindowMain), QPoint()),
                 QPoint(2, bar->height() + 2));

        for (const auto& [id, size] :
             {std::pair{WindowMain, QSize(640, 480)}, std::pair{WindowMap, QSize(522, 394)}}) {
            QCOMPARE(window(id)->size(), size);
            QCOMPARE(window(id)->minimumSize(), size);
            QCOMPARE(window(id)->maximumSize(), size);
            QCOMPARE(window(id)->windowFlags() & ~Qt::WindowType_Mask,
                     Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        }
    }

    // A window opens centred or where asked, and its close box only asks the program.
    void windowsOpenCentredOrWhereAskedAndStay() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = window(WindowMain)->frameGeometry();
        QCOMPARE(frame.topLeft(),
                 screen.topLeft() + QPoint((screen.width() - frame.width()) / 2,
                                           (screen.height() - frame.height()) / 2));
        QVERIFY(platform->openWindow(WindowMap, 140, 150, 522, 394, "map", {false, false}));
        QVERIFY(QTest::qWaitForWindowExposed(window(WindowMap)));
        QCOMPARE(window(WindowMap)->frameGeometry().topLeft(), QPoint(140, 150));

        drain(*platform);
        handle(*platform, WindowMap)->close();
        const std::vector<Event> events = drain(*platform);
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].kind, EventKind::CloseWindow);
        QCOMPARE(events[0].window, int(WindowMap));
        QVERIFY(window(WindowMap)->isVisible());
        QVERIFY(!platform->openWindow(WindowMap, 0, 0, 10, 10, "again", {}));
    }

    // The user's moves and clicks are events, what the program sets is not.
    void trackBarAndButtonReportTheUsersChanges() {
        QVERIFY(platform->createTrackBar(WindowMain, GadgetRangeBeginSlider, {0, 280, 255, 30}, 0,
                                         255, true));
        QVERIFY(platform->createButton(WindowMain, GadgetShiftLeft, {262, 128, 32, 20}, "<"));
        platform->setTrackBarPosition(GadgetRangeBeginSlider, 65);
        QTest::keyClick(control(GadgetRangeBeginSlider), Qt::Key_Left);
        QTest::mouseClick(control(GadgetShiftLeft), Qt::LeftButton);
        std::vector<int> changed; // the controls that reported a change; -1 for other events
        for (const Event& e : drain(*platform)) {
            if (e.kind == EventKind::Control)
                changed.push_back(e.type == EventType::Changed ? e.control : -1);
        }
        QCOMPARE(changed, (std::vector<int>{GadgetRangeBeginSlider, GadgetShiftLeft}));
        QCOMPARE(platform->trackBarPosition(GadgetRangeBeginSlider), 64);
    }

    // A multi-line field takes the last of the texts given, still right-aligned, and
    // reports none of them as a change.
    void textFieldShowsTheLastTextGiven() {
        QVERIFY(platform->createTextField(WindowMain, GadgetDataField, {262, 148, 128, 40}, true,
                                          true));
        platform->setControlText(GadgetDataField, "1,2,3");
        platform->setControlText(GadgetDataField, "255,0,24");
        QVERIFY(drain(*platform).empty());
        const auto* field = static_cast<QPlainTextEdit*>(control(GadgetDataField));
        QCOMPARE(field->toPlainText(), QString("255,0,24"));
        QCOMPARE(field->document()->defaultTextOption().alignment(), Qt::AlignRight);
    }

    void scrollAreaHoldsTheLaterControls() {
        QVERIFY(platform->openWindow(WindowMap, 0, 0, 522, 394, "map", {}));
        QVERIFY(platform->createScrollArea(WindowMap, GadgetMapScrollArea, {0, 0, 522, 394}, 522,
                                           394, 16));
        QVERIFY(
            platform->createCanvas(WindowMap, GadgetMapCanvas, {0, 0, 1280, 800}, false, false));
        const QWidget* inner = static_cast<QScrollArea*>(control(GadgetMapScrollArea))->widget();
        QVERIFY(inner->isAncestorOf(control(GadgetMapCanvas)));
        platform->setScrollAreaInnerSize(GadgetMapScrollArea, 1280, 800);
        QCOMPARE(inner->size(), QSize(1280, 800));
    }

    // Showing a window brings a minimised one back, hidden or not.
    void showingAMinimisedWindowRestoresIt() {
        QVERIFY(platform->openWindow(WindowMap, 40, 50, 522, 394, "map", {false, true}));
        for (const bool hidden : {false, true}) {
            platform->showWindow(WindowMap);
            window(WindowMap)->showMinimized();
            if (hidden) platform->hideWindow(WindowMap);
            platform->showWindow(WindowMap);
            QVERIFY(QTest::qWaitForWindowExposed(window(WindowMap)));
            QVERIFY(window(WindowMap)->isVisible() && !window(WindowMap)->isMinimized());
        }
    }

    // What the window system sends when it ends the application, for example at logout.
    void applicationQuitEndsTheWait() {
        QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
        QCOMPARE(platform->waitEvent(), std::nullopt);
    }
};

QTEST_MAIN(WindowsControlsTest)
#include "windows_controls_test.moc"
