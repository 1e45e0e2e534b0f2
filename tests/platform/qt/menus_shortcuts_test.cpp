#include "qt_test_support.h"

#include <QCursor>
#include <QMenu>
#include <QMenuBar>

using namespace tessaly;

class MenusShortcutsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;

    QWidget* bar() { return platform->windowWidget(WindowMain)->findChild<QMenuBar*>(); }

    // The item or submenu title of the menu bar with this text.
    QAction* action(const QString& text) {
        for (QAction* a : bar()->findChildren<QAction*>()) {
            if (a->text() == text) return a;
        }
        return nullptr;
    }

    // The items of a submenu, or of the bar for no title, joined by " | ": "-" for a
    // separator, "Name>" for a submenu, "Name*" for a checked item.
    QString itemsOf(const QString& title = {}) {
        const QAction* entry = title.isEmpty() ? nullptr : action(title);
        const QWidget* menu = title.isEmpty() ? bar() : entry ? entry->menu() : nullptr;
        QStringList items;
        for (const QAction* a : menu ? menu->actions() : QList<QAction*>())
            items << (a->isSeparator() ? "-"
                      : a->menu()      ? a->text() + '>'
                                       : a->text() + (a->isChecked() ? "*" : ""));
        return items.join(" | ");
    }

  private slots:
    // Texts with the shortcut after a tab, submenus, separators, check marks by command;
    // Ctrl+I and Ctrl+O on the main window only.
    void menusAndShortcuts() {
        QVERIFY((platform = platformWithMainWindow()));
        QVERIFY(platform->createMenuBar(MenuMain, WindowMain));
        platform->addMenuTitle(MenuMain, "File");
        platform->addMenuItem(MenuMain, CmdOpen, "Open...\tCtrl+O");
        platform->openSubmenu(MenuMain, "Save");
        platform->addMenuItem(MenuMain, CmdSaveCharset768, "768 bytes");
        platform->addMenuSeparator(MenuMain);
        platform->addMenuItem(MenuMain, CmdSaveMap, "Character_map");
        platform->closeSubmenu(MenuMain);
        platform->addMenuItem(MenuMain, CmdQuit, "Quit");
        platform->addMenuTitle(MenuMain, "Char");
        platform->addMenuItem(MenuMain, CmdInvert, "Invert\tCtrl+I");
        platform->addMenuSeparator(MenuMain);
        platform->openSubmenu(MenuMain, "Drag mode");
        platform->addMenuItem(MenuMain, CmdDragSwap, "swap");
        platform->addMenuItem(MenuMain, CmdDragCopy, "copy");
        platform->setMenuChecked(MenuMain, CmdDragSwap, true);
        QCOMPARE(itemsOf(), "File> | Char>");
        QCOMPARE(itemsOf("File"), "Open...\tCtrl+O | Save> | Quit");
        QCOMPARE(itemsOf("Save"), "768 bytes | - | Character_map");
        QCOMPARE(itemsOf("Char"), "Invert\tCtrl+I | - | Drag mode>");
        QCOMPARE(itemsOf("Drag mode"), "swap* | copy");

        platform->setMenuChecked(MenuMain, CmdDragSwap, false);
        platform->setMenuChecked(MenuMain, CmdDragCopy, true);
        QCOMPARE(itemsOf("Drag mode"), "swap | copy*");
        // Choosing an item raises its command once and leaves the check marks to the program.
        action("copy")->trigger();
        action("swap")->trigger();
        action("Character_map")->trigger();
        QCOMPARE(itemsOf("Drag mode"), "swap | copy*");
        QVERIFY(platform->isMenuChecked(MenuMain, CmdDragCopy));
        QVERIFY(!platform->isMenuChecked(MenuMain, CmdDragSwap));
        QCOMPARE(commands(*platform), (std::vector<int>{CmdDragCopy, CmdDragSwap, CmdSaveMap}));

        QWindow* main = handle(*platform, WindowMain);
        // A shortcut label in an item's text binds nothing by itself.
        QTest::keyClick(main, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(commands(*platform), std::vector<int>());

        platform->addShortcut(WindowMain, 'I', CmdInvert);
        platform->addShortcut(WindowMain, 'O', CmdOpen);
        QTest::keyClick(main, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(commands(*platform), (std::vector<int>{CmdInvert, CmdOpen}));

        QVERIFY(platform->openWindow(WindowMap, 40, 40, 522, 394, "map", {false, false}));
        QVERIFY(QTest::qWaitForWindowActive(platform->windowWidget(WindowMap)));
        QTest::keyClick(handle(*platform, WindowMap), Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(handle(*platform, WindowMap), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(commands(*platform), std::vector<int>());
    }

    // A popup opens with its corner one pixel left of and above the pointer.
    void popupAtThePointer() {
        QVERIFY((platform = platformWithMainWindow()));
        QVERIFY(platform->createPopupMenu(MenuCharsetPopup));
        platform->addMenuItem(MenuCharsetPopup, CmdSetRangeBegin, "Set begin range");
        QCursor::setPos(200, 150);
        QPoint shownAt;
        QVERIFY(whileOpen<QMenu>([&] { platform->showPopupMenu(MenuCharsetPopup, WindowMain); },
                                 [&](QMenu* menu) { shownAt = menu->pos(); }));
        QCOMPARE(shownAt, QPoint(199, 149));
    }
};

QTEST_MAIN(MenusShortcutsTest)
#include "menus_shortcuts_test.moc"
