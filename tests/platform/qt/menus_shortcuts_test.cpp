#include "platform/ids.h"
#include "platform/qt/qt_platform.h"

#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

using namespace tessaly;

namespace {

// A menu's items as texts, "-" for a separator and "Name>" for a submenu.
QStringList itemsOf(const QWidget* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            items << "-";
        else if (action->menu() != nullptr)
            items << action->text() + '>';
        else
            items << action->text();
    }
    return items;
}

QMenu* submenu(const QWidget* menu, const QString& title) {
    for (const QAction* action : menu->actions()) {
        if (action->menu() != nullptr && action->text() == title) return action->menu();
    }
    return nullptr;
}

QAction* item(const QWidget* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

} // namespace

class MenusShortcutsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QtPlatform> platform;

    std::vector<int> commands() {
        std::vector<int> ids;
        while (auto e = platform->pollEvent()) {
            if (e->kind == EventKind::Command) ids.push_back(e->command);
        }
        return ids;
    }

    QMenuBar* menuBar() { return platform->windowWidget(WindowMain)->findChild<QMenuBar*>(); }

    void buildMainMenu() {
        QVERIFY(platform->createMenuBar(MenuMain, WindowMain));
        platform->addMenuTitle(MenuMain, "File");
        platform->addMenuItem(MenuMain, CmdOpen, "Open...\tCtrl+O");
        platform->openSubmenu(MenuMain, "Save");
        platform->addMenuItem(MenuMain, CmdSaveCharset768, "ZX 96 chars(768bytes)");
        platform->addMenuSeparator(MenuMain);
        platform->addMenuItem(MenuMain, CmdSaveMap, "Character_map");
        platform->closeSubmenu(MenuMain);
        platform->addMenuItem(MenuMain, CmdQuit, "Quit");
        platform->addMenuTitle(MenuMain, "Char");
        platform->openSubmenu(MenuMain, "Map");
        platform->addMenuItem(MenuMain, CmdMapSize32x24, "ZX 32x24");
        platform->addMenuItem(MenuMain, CmdGridOnMap, "Grid on map");
        platform->closeSubmenu(MenuMain);
        platform->setMenuChecked(MenuMain, CmdGridOnMap, true);
        platform->addMenuSeparator(MenuMain);
        platform->addMenuItem(MenuMain, CmdDragSwap, "Drag mode:swap");
        platform->addMenuItem(MenuMain, CmdDragCopy, "Drag mode:copy");
        platform->addMenuItem(MenuMain, CmdInvert, "Invert\tCtrl+I");
        platform->setMenuChecked(MenuMain, CmdDragSwap, true);
    }

    void buildPopup() {
        QVERIFY(platform->createPopupMenu(MenuMapPopup));
        platform->addMenuItem(MenuMapPopup, CmdMapInsertChar, "Insert char");
        platform->addMenuItem(MenuMapPopup, CmdMapDeleteChar, "Delete char");
        platform->addMenuSeparator(MenuMapPopup);
        platform->addMenuItem(MenuMapPopup, CmdMapInsertRow, "Insert row");
    }

    // Shows the popup at the pointer; `whileOpen` runs once it is on the screen.
    void showPopup(std::function<void(QMenu*)> whileOpen) {
        QMenu* popup = platform->popupMenu(MenuMapPopup);
        bool ran = false;
        QTimer::singleShot(0, popup, [&] {
            QVERIFY(QTest::qWaitForWindowExposed(popup));
            whileOpen(popup);
            ran = true;
            // Closes the menu should the action above have failed to.
            QTimer::singleShot(0, popup, [popup] { popup->close(); });
        });
        platform->showPopupMenu(MenuMapPopup, WindowMap);
        QVERIFY(ran);
        QVERIFY(!popup->isVisible());
    }

    void activate(int window) {
        QWidget* widget = platform->windowWidget(window);
        widget->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(widget));
    }

  private slots:
    void init() {
        platform = std::make_unique<QtPlatform>(std::vector<std::string>{}, "/");
        QVERIFY(platform->openWindow(WindowMain, 0, 0, 640, 480, "main", {true, false}));
        QVERIFY(platform->openWindow(WindowMap, 40, 40, 522, 394, "map", {false, false}));
        QVERIFY(QTest::qWaitForWindowExposed(platform->windowWidget(WindowMap)));
    }

    void cleanup() { platform.reset(); }

    void barHoldsTitlesSubmenusItemsAndSeparators() {
        buildMainMenu();
        QVERIFY(menuBar() != nullptr);
        QCOMPARE(itemsOf(menuBar()), QStringList({"File>", "Char>"}));
        const QMenu* file = submenu(menuBar(), "File");
        QCOMPARE(itemsOf(file), QStringList({"Open...\tCtrl+O", "Save>", "Quit"}));
        QCOMPARE(itemsOf(submenu(file, "Save")),
                 QStringList({"ZX 96 chars(768bytes)", "-", "Character_map"}));
        const QMenu* chars = submenu(menuBar(), "Char");
        QCOMPARE(itemsOf(chars),
                 QStringList({"Map>", "-", "Drag mode:swap", "Drag mode:copy", "Invert\tCtrl+I"}));
        QCOMPARE(itemsOf(submenu(chars, "Map")), QStringList({"ZX 32x24", "Grid on map"}));
        // The label after the tab is text only.
        QVERIFY(item(file, "Open...\tCtrl+O")->shortcut().isEmpty());
        QVERIFY(item(chars, "Invert\tCtrl+I")->shortcut().isEmpty());
    }

    void menusExistByNumber() {
        QVERIFY(!platform->menuExists(MenuMain));
        buildMainMenu();
        buildPopup();
        QVERIFY(platform->menuExists(MenuMain));
        QVERIFY(platform->menuExists(MenuMapPopup));
        QVERIFY(!platform->menuExists(1));
        QVERIFY(!platform->menuExists(MenuCharsetPopup));
        QVERIFY(!platform->createMenuBar(MenuMain, WindowMap));
        QVERIFY(!platform->createPopupMenu(MenuMapPopup));
        QVERIFY(!platform->createMenuBar(7, 9));
        QCOMPARE(itemsOf(platform->popupMenu(MenuMapPopup)),
                 QStringList({"Insert char", "Delete char", "-", "Insert row"}));
    }

    void checkMarksFollowTheProgramOnly() {
        buildMainMenu();
        QVERIFY(platform->isMenuChecked(MenuMain, CmdGridOnMap));
        QVERIFY(platform->isMenuChecked(MenuMain, CmdDragSwap));
        QVERIFY(!platform->isMenuChecked(MenuMain, CmdDragCopy));
        QVERIFY(!platform->isMenuChecked(MenuMain, 99));
        QVERIFY(!platform->isMenuChecked(MenuCharsetPopup, CmdDragSwap));

        QAction* swap = item(submenu(menuBar(), "Char"), "Drag mode:swap");
        QAction* copy = item(submenu(menuBar(), "Char"), "Drag mode:copy");
        QVERIFY(swap->isChecked());
        platform->setMenuChecked(MenuMain, CmdDragSwap, false);
        platform->setMenuChecked(MenuMain, CmdDragCopy, true);
        QVERIFY(!swap->isChecked());
        QVERIFY(copy->isChecked());
        QVERIFY(platform->isMenuChecked(MenuMain, CmdDragCopy));

        // Choosing an item leaves its mark to the command's handler.
        copy->trigger();
        QVERIFY(copy->isChecked());
        QVERIFY(platform->isMenuChecked(MenuMain, CmdDragCopy));
        swap->trigger();
        QVERIFY(!swap->isChecked());
        QVERIFY(!platform->isMenuChecked(MenuMain, CmdDragSwap));
        QCOMPARE(commands(), (std::vector<int>{CmdDragCopy, CmdDragSwap}));
    }

    void eachChosenItemIsOneCommand() {
        buildMainMenu();
        item(submenu(submenu(menuBar(), "File"), "Save"), "Character_map")->trigger();
        item(submenu(menuBar(), "File"), "Quit")->trigger();
        QCOMPARE(commands(), (std::vector<int>{CmdSaveMap, CmdQuit}));
    }

    void popupOpensAtThePointerAndAPickIsOneCommand() {
        buildPopup();
        QCursor::setPos(300, 200);
        showPopup([](QMenu* popup) {
            QCOMPARE(popup->pos(), QPoint(299, 199));
            const QRect row = popup->actionGeometry(item(popup, "Delete char"));
            QTest::mouseMove(popup->windowHandle(), row.center());
            QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {}, row.center());
        });
        QCOMPARE(commands(), (std::vector<int>{CmdMapDeleteChar}));
    }

    void popupItemCanBePickedWithTheRightButton() {
        buildPopup();
        QCursor::setPos(250, 150);
        showPopup([](QMenu* popup) {
            const QRect row = popup->actionGeometry(item(popup, "Insert row"));
            QTest::mouseMove(popup->windowHandle(), row.center());
            QTest::mouseClick(popup->windowHandle(), Qt::RightButton, {}, row.center());
        });
        QCOMPARE(commands(), (std::vector<int>{CmdMapInsertRow}));
    }

    void dismissedPopupGivesNoCommand() {
        buildPopup();
        showPopup([](QMenu* popup) { QTest::keyClick(popup, Qt::Key_Escape); });
        QCOMPARE(commands(), std::vector<int>());
    }

    void shortcutsActOnlyOnTheirWindowWithCtrlAlone() {
        buildMainMenu();
        platform->addShortcut(WindowMain, 'I', CmdInvert);
        platform->addShortcut(WindowMain, 'O', CmdOpen);
        QWindow* main = platform->windowWidget(WindowMain)->windowHandle();
        QWindow* map = platform->windowWidget(WindowMap)->windowHandle();

        activate(WindowMain);
        QTest::keyClick(main, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(commands(), (std::vector<int>{CmdInvert, CmdOpen}));

        QTest::keyClick(main, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier);
        QTest::keyClick(main, Qt::Key_I);
        QCOMPARE(commands(), std::vector<int>());

        activate(WindowMap);
        QTest::keyClick(map, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(map, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(commands(), std::vector<int>());
    }

    // A shortcut label in an item's text binds nothing by itself.
    void menuTextAloneBindsNoKey() {
        buildMainMenu();
        activate(WindowMain);
        QTest::keyClick(platform->windowWidget(WindowMain)->windowHandle(), Qt::Key_I,
                        Qt::ControlModifier);
        QCOMPARE(commands(), std::vector<int>());
    }
};

QTEST_MAIN(MenusShortcutsTest)
#include "menus_shortcuts_test.moc"
