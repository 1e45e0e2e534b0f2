#include "qt_test_support.h"

#include <QApplicationStateChangeEvent>
#include <QKeyEvent>

using namespace tessaly;

class EscapeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;

    // Presses or releases Escape on a program window; whether it is held afterwards.
    bool key(QTest::KeyAction action, int window) {
        QTest::keyEvent(action, handle(*platform, window), Qt::Key_Escape);
        return platform->escapeHeld();
    }

  private slots:
    // Held from press to release on a program window, never when it closes a modal dialog
    // or a popup menu.
    void escapeState() {
        QVERIFY((platform = platformWithMainWindow()));
        QVERIFY(platform->openWindow(WindowMap, 40, 40, 522, 394, "map", {false, true}));
        QVERIFY(platform->createPopupMenu(MenuMapPopup));
        platform->addMenuItem(MenuMapPopup, CmdMapInsertChar, "Insert char");
        QVERIFY(key(QTest::Press, WindowMain));
        // Auto-repeat's releases do not end the hold, the real release does.
        QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(platform->windowWidget(WindowMain), &repeated);
        QVERIFY(platform->escapeHeld());
        QVERIFY(!key(QTest::Release, WindowMain));

        // The map window has no control that takes keys: the press alone wakes the wait.
        platform->showWindow(WindowMap);
        QVERIFY(QTest::qWaitForWindowActive(platform->windowWidget(WindowMap)));
        drain(*platform);
        QVERIFY(key(QTest::Press, WindowMap));
        QVERIFY(platform->pollEvent().has_value());
        QVERIFY(!key(QTest::Release, WindowMap));

        // Once another application is active, the release goes there.
        QVERIFY(key(QTest::Press, WindowMap));
        QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
        QCoreApplication::sendEvent(qApp, &inactive);
        QVERIFY(!platform->escapeHeld());

        platform->showWindow(WindowMain);
        QVERIFY(QTest::qWaitForWindowActive(platform->windowWidget(WindowMain)));
        bool sawHeld = false;
        const auto pressEscape = [&](QWidget* shown) {
            QTest::keyPress(shown, Qt::Key_Escape);
            sawHeld = sawHeld || platform->escapeHeld();
        };
        QVERIFY(whileOpen([&] { platform->messageBox("Tessaly", "Range Error!"); }, pressEscape));
        QVERIFY(whileOpen([&] { QCOMPARE(platform->chooseColour(), std::nullopt); }, pressEscape));
        QVERIFY(whileOpen([&] { platform->showPopupMenu(MenuMapPopup, WindowMain); }, pressEscape));
        QVERIFY(!sawHeld);
        QCOMPARE(commands(*platform), std::vector<int>());
        // The release reaches the main window, active again, where Escape counts again.
        QVERIFY(!key(QTest::Release, WindowMain));
        QVERIFY(key(QTest::Press, WindowMain));
    }
};

QTEST_MAIN(EscapeTest)
#include "escape_test.moc"
