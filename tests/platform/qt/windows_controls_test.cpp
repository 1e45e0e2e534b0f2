#include "platform/ids.h"
#include "platform/qt/qt_platform.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace tessaly;

class WindowsControlsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QtPlatform> platform;

    std::vector<Event> drain() {
        std::vector<Event> events;
        while (auto e = platform->pollEvent())
            events.push_back(*e);
        return events;
    }

    // The Changed events of a control, counted; any other event of it fails the test.
    int changesOf(int control) {
        int count = 0;
        for (const Event& e : drain()) {
            if (e.kind != EventKind::Control || e.control != control) continue;
            if (e.type != EventType::Changed) return -1;
            ++count;
        }
        return count;
    }

    void openMain() {
        QVERIFY(platform->openWindow(WindowMain, 0, 0, 640, 480, "tessaly", {true, false}));
        QVERIFY(QTest::qWaitForWindowExposed(platform->windowWidget(WindowMain)));
    }

  private slots:
    void init() {
        platform =
            std::make_unique<QtPlatform>(std::vector<std::string>{"a b.fnt", "x"}, "/home/someone");
    }

    void cleanup() { platform.reset(); }

    void processDataComesFromTheConstructor() {
        QCOMPARE(platform->commandLineArguments(), (std::vector<std::string>{"a b.fnt", "x"}));
        QCOMPARE(platform->currentDirectory(), std::string("/home/someone"));
    }

    void menuBarTakesItsHeightFromTheClientArea() {
        openMain();
        QVERIFY(
            platform->createCanvas(WindowMain, GadgetCharsetView, {0, 0, 260, 260}, true, true));
        QVERIFY(platform->createMenuBar(MenuMain, WindowMain));
        platform->addMenuTitle(MenuMain, "File");
        platform->addMenuItem(MenuMain, CmdQuit, "Quit");
        platform->pollEvent();

        QWidget* window = platform->windowWidget(WindowMain);
        QCOMPARE(window->size(), QSize(640, 480));
        const QMenuBar* bar = window->findChild<QMenuBar*>();
        QVERIFY(bar != nullptr);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->height() > 0);
        QCOMPARE(bar->geometry().topLeft(), QPoint(0, 0));
        QWidget* view = platform->controlWidget(GadgetCharsetView);
        QCOMPARE(view->mapTo(window, QPoint(0, 0)), QPoint(2, bar->height() + 2));
        QCOMPARE(view->parentWidget()->parentWidget()->height(), 480 - bar->height());
    }

    void windowsHaveFixedSizeAndNoMaximiseBox() {
        openMain();
        QVERIFY(platform->openWindow(WindowMap, 40, 50, 522, 394, "Character map", {false, true}));
        for (int id : {int(WindowMain), int(WindowMap)}) {
            QWidget* window = platform->windowWidget(id);
            QCOMPARE(window->minimumSize(), window->maximumSize());
            const Qt::WindowFlags flags = window->windowFlags();
            QVERIFY(flags.testFlag(Qt::WindowTitleHint));
            QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
            QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(window->isWindow());
            QVERIFY(window->parentWidget() == nullptr);
        }
        QCOMPARE(platform->windowWidget(WindowMain)->size(), QSize(640, 480));
        QCOMPARE(platform->windowWidget(WindowMap)->size(), QSize(522, 394));
        QCOMPARE(platform->windowWidget(WindowMain)->windowTitle(), QString("tessaly"));
        platform->setWindowTitle(WindowMain, "tessaly v2 0.9c 65 A \xc3\xa9");
        QCOMPARE(platform->windowWidget(WindowMain)->windowTitle(),
                 QString::fromUtf8("tessaly v2 0.9c 65 A \xc3\xa9"));
    }

    void centredWindowsSitInTheMiddleOrAtTheEdge() {
        openMain();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = platform->windowWidget(WindowMain)->frameGeometry();
        QCOMPARE(platform->windowOuterLeft(WindowMain),
                 screen.x() + (screen.width() - frame.width()) / 2);
        QCOMPARE(platform->windowOuterTop(WindowMain),
                 screen.y() + (screen.height() - frame.height()) / 2);

        QVERIFY(platform->openWindow(5, 0, 0, screen.width() + 100, screen.height() + 50, "big",
                                     {true, false}));
        QCOMPARE(platform->windowOuterLeft(5), screen.x());
        QCOMPARE(platform->windowOuterTop(5), screen.y());
    }

    void hiddenWindowOpensWhereAskedAndShowsThere() {
        openMain();
        QVERIFY(
            platform->openWindow(WindowMap, 140, 150, 522, 394, "Character map", {false, true}));
        QWidget* map = platform->windowWidget(WindowMap);
        QVERIFY(!map->isVisible());
        QCOMPARE(platform->windowOuterLeft(WindowMap), 140);
        QCOMPARE(platform->windowOuterTop(WindowMap), 150);

        platform->showWindow(WindowMap);
        QVERIFY(QTest::qWaitForWindowExposed(map));
        QCOMPARE(platform->windowOuterLeft(WindowMap), 140);
        QCOMPARE(platform->windowOuterTop(WindowMap), 150);
        QTRY_VERIFY(map->isActiveWindow());

        platform->hideWindow(WindowMap);
        QVERIFY(!map->isVisible());
        QVERIFY(!platform->openWindow(WindowMap, 0, 0, 10, 10, "again", {}));
    }

    void closeBoxOnlyAsks() {
        openMain();
        QVERIFY(platform->openWindow(WindowMap, 10, 10, 522, 394, "Character map", {}));
        QVERIFY(platform->createLabel(WindowMap, 40, {0, 0, 100, 20}, "kept", false));
        drain();

        QWidget* map = platform->windowWidget(WindowMap);
        QVERIFY(!map->close());
        map->windowHandle()->close();
        const std::vector<Event> events = drain();
        QCOMPARE(events.size(), std::size_t(2));
        for (const Event& e : events) {
            QCOMPARE(e.kind, EventKind::CloseWindow);
            QCOMPARE(e.window, int(WindowMap));
        }
        QVERIFY(map->isVisible());

        // Hidden, the window keeps its controls.
        platform->hideWindow(WindowMap);
        platform->showWindow(WindowMap);
        QCOMPARE(static_cast<QLabel*>(platform->controlWidget(40))->text(), QString("kept"));
        QVERIFY(platform->windowWidget(WindowMap) == map);
    }

    void trackBarReportsOnlyTheUsersMoves() {
        openMain();
        QVERIFY(platform->createTrackBar(WindowMain, GadgetRangeBeginSlider, {20, 280, 255, 30}, 0,
                                         255, true));
        auto* slider = static_cast<QSlider*>(platform->controlWidget(GadgetRangeBeginSlider));
        QCOMPARE(slider->orientation(), Qt::Horizontal);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 255);
        QVERIFY(slider->tickPosition() != QSlider::NoTicks);
        QCOMPARE(slider->geometry(), QRect(20, 280, 255, 30));
        QCOMPARE(platform->trackBarPosition(GadgetRangeBeginSlider), 0);

        platform->setTrackBarPosition(GadgetRangeBeginSlider, 65);
        QCOMPARE(platform->trackBarPosition(GadgetRangeBeginSlider), 65);
        platform->setTrackBarPosition(GadgetRangeBeginSlider, 300);
        QCOMPARE(platform->trackBarPosition(GadgetRangeBeginSlider), 255);
        QCOMPARE(changesOf(GadgetRangeBeginSlider), 0);

        QTest::keyClick(slider, Qt::Key_Left);
        QCOMPARE(platform->trackBarPosition(GadgetRangeBeginSlider), 254);
        QCOMPARE(changesOf(GadgetRangeBeginSlider), 1);
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(platform->trackBarPosition(GadgetRangeBeginSlider), 0);
        QCOMPARE(changesOf(GadgetRangeBeginSlider), 1);
    }

    void checkBoxAndButtonsReportClicks() {
        openMain();
        QVERIFY(platform->createCheckBox(WindowMain, GadgetRangeEnable, {0, 310, 20, 20}, ""));
        QVERIFY(platform->createButton(WindowMain, GadgetShiftLeft, {262, 128, 32, 20}, "<"));
        platform->setToolTip(GadgetRangeEnable, "Enable range");
        platform->setToolTip(GadgetShiftLeft, "shift left");
        QCOMPARE(platform->controlWidget(GadgetRangeEnable)->toolTip(), QString("Enable range"));
        QCOMPARE(platform->controlWidget(GadgetShiftLeft)->toolTip(), QString("shift left"));

        QVERIFY(!platform->isChecked(GadgetRangeEnable));
        QTest::mouseClick(platform->controlWidget(GadgetRangeEnable), Qt::LeftButton, {},
                          QPoint(8, 10));
        QVERIFY(platform->isChecked(GadgetRangeEnable));
        QCOMPARE(changesOf(GadgetRangeEnable), 1);

        auto* button = static_cast<QPushButton*>(platform->controlWidget(GadgetShiftLeft));
        QCOMPARE(button->text(), QString("<"));
        QCOMPARE(button->geometry(), QRect(262, 128, 32, 20));
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(changesOf(GadgetShiftLeft), 2);

        QVERIFY(!platform->isChecked(GadgetShiftLeft));
        QVERIFY(!platform->createButton(WindowMain, GadgetShiftLeft, {0, 0, 5, 5}, "again"));
        QVERIFY(!platform->createButton(WindowMap, GadgetShiftRight, {0, 0, 5, 5}, "no window"));
    }

    void labelsShowTheirText() {
        openMain();
        QVERIFY(platform->createLabel(WindowMain, GadgetRangeBeginLabel, {20, 260, 255, 20},
                                      "Begin range:0", true));
        auto* label = static_cast<QLabel*>(platform->controlWidget(GadgetRangeBeginLabel));
        QCOMPARE(label->text(), QString("Begin range:0"));
        QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
        platform->setControlText(GadgetRangeBeginLabel, "BeginRange:60:<");
        QCOMPARE(label->text(), QString("BeginRange:60:<"));
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void multiLineFieldStaysRightAligned() {
        openMain();
        QVERIFY(platform->createTextField(WindowMain, GadgetDataField, {262, 148, 128, 40}, true,
                                          true));
        auto* field = static_cast<QPlainTextEdit*>(platform->controlWidget(GadgetDataField));
        platform->setControlText(GadgetDataField, "7");
        QCOMPARE(field->toPlainText(), QString("7"));
        QCOMPARE(changesOf(GadgetDataField), 0);

        // The text's ink lies in the right half of the field.
        const QImage image = field->viewport()->grab().toImage();
        const QRgb paper = image.pixel(2, 2);
        int leftmostInk = image.width();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != paper) leftmostInk = std::min(leftmostInk, x);
            }
        }
        QVERIFY(leftmostInk < image.width());
        QVERIFY2(leftmostInk > image.width() / 2, qPrintable(QString::number(leftmostInk)));

        QTest::keyClicks(field, "12");
        QVERIFY(changesOf(GadgetDataField) > 0);
    }

    void scrollAreaTakesTheLaterControls() {
        QVERIFY(platform->openWindow(WindowMap, 0, 0, 522, 394, "Character map", {}));
        QVERIFY(platform->createScrollArea(WindowMap, GadgetMapScrollArea, {0, 0, 522, 394}, 522,
                                           394, 16));
        QVERIFY(
            platform->createCanvas(WindowMap, GadgetMapCanvas, {0, 0, 1280, 800}, false, false));
        auto* area = static_cast<QScrollArea*>(platform->controlWidget(GadgetMapScrollArea));
        QWidget* canvas = platform->controlWidget(GadgetMapCanvas);
        QCOMPARE(canvas->size(), QSize(1280, 800));
        QVERIFY(area->widget() != nullptr);
        QVERIFY(area->widget()->isAncestorOf(canvas));
        QCOMPARE(area->widget()->size(), QSize(522, 394));
        QCOMPARE(area->frameShadow(), QFrame::Sunken);
        QCOMPARE(area->horizontalScrollBar()->singleStep(), 16);
        QCOMPARE(area->verticalScrollBar()->singleStep(), 16);

        platform->setScrollAreaInnerSize(GadgetMapScrollArea, 16 * 80, 16 * 50);
        QCOMPARE(area->widget()->size(), QSize(1280, 800));
        platform->pollEvent();
        QCOMPARE(area->horizontalScrollBar()->maximum(), 1280 - area->viewport()->width());
        QCOMPARE(area->verticalScrollBar()->maximum(), 800 - area->viewport()->height());
        QVERIFY(platform->beginCanvasDrawing(GadgetMapCanvas) != nullptr);
        QCOMPARE(platform->beginCanvasDrawing(GadgetMapCanvas)->width(), 1280);
    }

    void focusGoesToTheCanvasDrawingArea() {
        openMain();
        QVERIFY(
            platform->createCanvas(WindowMain, GadgetCharsetView, {0, 0, 260, 260}, true, true));
        QVERIFY(platform->createButton(WindowMain, GadgetShiftLeft, {262, 128, 32, 20}, "<"));
        platform->setFocus(GadgetShiftLeft);
        platform->setFocus(GadgetCharsetView);
        QCOMPARE(platform->windowWidget(WindowMain)->focusWidget(),
                 platform->controlWidget(GadgetCharsetView));
    }

    void imagesNeedNoPreparation() {
        QVERIFY(platform->beginImageDrawing(ImageCharset));
        platform->endImageDrawing(ImageCharset);
    }

    void applicationQuitEndsTheWait() {
        openMain();
        // What the window system sends when it ends the application, for example at logout.
        QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
        QCOMPARE(platform->waitEvent(), std::nullopt);
    }
};

QTEST_MAIN(WindowsControlsTest)
#include "windows_controls_test.moc"
