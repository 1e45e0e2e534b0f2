#include "platform/ids.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

using namespace tessaly;

class EscapeTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QtPlatform> platform;

    QWindow* windowHandle(int window) { return platform->windowWidget(window)->windowHandle(); }

    void drain() {
        while (platform->pollEvent()) {
        }
    }

    // Presses Escape in whatever modal dialog is open once the program has opened it.
    void escapeTheNextDialog(bool* sawHeld) {
        QTimer::singleShot(0, qApp, [this, sawHeld] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QTest::keyPress(dialog, Qt::Key_Escape);
            *sawHeld = platform->escapeHeld();
            // Should the press not have closed it, the test still ends.
            if (dialog->isVisible()) QTimer::singleShot(0, dialog, &QWidget::close);
        });
    }

  private slots:
    void init() {
        platform = std::make_unique<QtPlatform>(std::vector<std::string>{}, "/");
        QVERIFY(platform->openWindow(WindowMain, 0, 0, 640, 480, "main", {true, false}));
        QVERIFY(
            platform->createCanvas(WindowMain, GadgetCharsetView, {0, 0, 260, 260}, true, true));
        QVERIFY(platform->openWindow(WindowMap, 40, 40, 522, 394, "map", {false, true}));
        QVERIFY(platform->createPopupMenu(MenuMapPopup));
        platform->addMenuItem(MenuMapPopup, CmdMapInsertChar, "Insert char");
        platform->setFocus(GadgetCharsetView);
        QVERIFY(QTest::qWaitForWindowActive(platform->windowWidget(WindowMain)));
        drain();
    }

    void cleanup() {
        QTest::keyRelease(windowHandle(WindowMain), Qt::Key_Escape);
        platform.reset();
    }

    void heldFromPressToRelease() {
        QVERIFY(!platform->escapeHeld());
        QTest::keyPress(windowHandle(WindowMain), Qt::Key_Escape);
        QVERIFY(platform->escapeHeld());
        // The press wakes the program's wait even though no control reports it.
        const std::optional<Event> wake = platform->waitEvent();
        QVERIFY(wake.has_value());
        QTest::keyRelease(windowHandle(WindowMain), Qt::Key_Escape);
        QVERIFY(!platform->escapeHeld());
    }

    void heldOnTheMapWindowToo() {
        platform->showWindow(WindowMap);
        QVERIFY(QTest::qWaitForWindowActive(platform->windowWidget(WindowMap)));
        QTest::keyPress(windowHandle(WindowMap), Qt::Key_Escape);
        QVERIFY(platform->escapeHeld());
        QTest::keyRelease(windowHandle(WindowMap), Qt::Key_Escape);
        QVERIFY(!platform->escapeHeld());
    }

    void autoRepeatReleasesDoNotEndTheHold() {
        QWidget* view = platform->controlWidget(GadgetCharsetView);
        QTest::keyPress(view, Qt::Key_Escape);
        QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, QString(),
                                  true);
        QKeyEvent repeatedPress(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(view, &repeatedRelease);
        QVERIFY(platform->escapeHeld());
        QCoreApplication::sendEvent(view, &repeatedPress);
        QVERIFY(platform->escapeHeld());
        QTest::keyRelease(view, Qt::Key_Escape);
        QVERIFY(!platform->escapeHeld());
    }

    void escapeClosingAMessageBoxIsNotHeld() {
        bool sawHeld = true;
        escapeTheNextDialog(&sawHeld);
        platform->messageBox("Tessaly", "Range Error!");
        QVERIFY(!sawHeld);
        QVERIFY(!platform->escapeHeld());
        // The release reaches the main window, which is active again.
        QTest::keyRelease(windowHandle(WindowMain), Qt::Key_Escape);
        QVERIFY(!platform->escapeHeld());

        // And Escape on the window itself still counts afterwards.
        QTest::keyPress(windowHandle(WindowMain), Qt::Key_Escape);
        QVERIFY(platform->escapeHeld());
    }

    void escapeClosingTheColourDialogIsNotHeld() {
        bool sawHeld = true;
        escapeTheNextDialog(&sawHeld);
        QCOMPARE(platform->chooseColour(), std::nullopt);
        QVERIFY(!sawHeld);
        QVERIFY(!platform->escapeHeld());
    }

    void escapeClosingAPopupMenuIsNotHeld() {
        bool sawHeld = true;
        QMenu* popup = platform->popupMenu(MenuMapPopup);
        QTimer::singleShot(0, popup, [&] {
            QTest::keyPress(popup, Qt::Key_Escape);
            sawHeld = platform->escapeHeld();
            if (popup->isVisible()) QTimer::singleShot(0, popup, &QWidget::close);
        });
        platform->showPopupMenu(MenuMapPopup, WindowMain);
        QVERIFY(!sawHeld);
        QVERIFY(!platform->escapeHeld());
    }

    void pressOnAnotherWindowDoesNotCount() {
        QWidget stranger;
        stranger.show();
        QTest::keyPress(&stranger, Qt::Key_Escape);
        QVERIFY(!platform->escapeHeld());
    }

    // Once another application is active the release goes there.
    void applicationLosingTheFocusEndsTheHold() {
        QTest::keyPress(windowHandle(WindowMain), Qt::Key_Escape);
        QVERIFY(platform->escapeHeld());
        QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
        QCoreApplication::sendEvent(qApp, &inactive);
        QVERIFY(!platform->escapeHeld());
    }
};

QTEST_MAIN(EscapeTest)
#include "escape_test.moc"
