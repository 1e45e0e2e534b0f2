#include "platform/ids.h"
#include "platform/qt/file_dialogs.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace tessaly;

class DialogsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QtPlatform> platform;
    QTemporaryDir folder;

    // Runs `act` on the modal dialog of type T as soon as the program has opened it.
    template <typename T> void whenOpen(bool* ran, std::function<void(T*)> act) {
        QTimer::singleShot(0, qApp, [ran, act] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            act(dialog);
            *ran = true;
            if (dialog->isVisible()) QTimer::singleShot(0, dialog, &QDialog::reject);
        });
    }

    std::string path(const QString& name) { return folder.filePath(name).toStdString(); }

  private slots:
    void init() {
        QVERIFY(folder.isValid());
        platform = std::make_unique<QtPlatform>(std::vector<std::string>{}, "/");
        QVERIFY(platform->openWindow(WindowMain, 0, 0, 640, 480, "main", {true, false}));
        QVERIFY(QTest::qWaitForWindowActive(platform->windowWidget(WindowMain)));
    }

    void cleanup() { platform.reset(); }

    void filterListsBecomeQtNameFilters() {
        QCOMPARE(nameFiltersFrom("Font (*.fnt)|*.fnt|Character map (*.map)|*.map"),
                 QStringList({"Font (*.fnt)", "Character map (*.map)"}));
        QCOMPARE(nameFiltersFrom("Font (*.fnt)|*.fnt|"), QStringList({"Font (*.fnt)"}));
        QCOMPARE(nameFiltersFrom(".bmp|*.bmp"), QStringList({".bmp (*.bmp)"}));
        QCOMPARE(nameFiltersFrom(".bmp"), QStringList({".bmp (*.bmp)"}));
        QCOMPARE(nameFiltersFrom("Everything"), QStringList({"Everything (*)"}));
        QCOMPARE(nameFiltersFrom("Images|*.bmp;*.png"), QStringList({"Images (*.bmp *.png)"}));
        QCOMPARE(nameFiltersFrom("Font (*.fnt)|*.fnt;*.bin"),
                 QStringList({"Font (*.fnt) (*.fnt *.bin)"}));
        QCOMPARE(nameFiltersFrom(""), QStringList());
    }

    void openAcceptsAMissingFileAndReportsTheFilter() {
        bool ran = false;
        whenOpen<QFileDialog>(&ran, [this](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Please choose file to load"));
            QCOMPARE(dialog->directory(), QDir(folder.path()));
            QCOMPARE(dialog->nameFilters(), QStringList({"Font (*.fnt)", "Character map (*.map)"}));
            QCOMPARE(dialog->selectedNameFilter(), QString("Character map (*.map)"));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            dialog->selectFile("missing.fnt");
            static_cast<QDialog*>(dialog)->accept();
        });
        const FileDialogResult result =
            platform->openFileDialog("Please choose file to load", folder.path().toStdString(),
                                     "Font (*.fnt)|*.fnt|Character map (*.map)|*.map", 1);
        QVERIFY(ran);
        QCOMPARE(result.path, path("missing.fnt"));
        QCOMPARE(result.filterIndex, 1);
    }

    void openReportsTheFilterSelectedAtTheEnd() {
        bool ran = false;
        whenOpen<QFileDialog>(&ran, [](QFileDialog* dialog) {
            QCOMPARE(dialog->selectedNameFilter(), QString("Font (*.fnt)"));
            dialog->selectNameFilter("Character map (*.map)");
            dialog->selectFile("screen.map");
            static_cast<QDialog*>(dialog)->accept();
        });
        const FileDialogResult result = platform->openFileDialog(
            "t", folder.path().toStdString(), "Font (*.fnt)|*.fnt|Character map (*.map)|*.map", 0);
        QVERIFY(ran);
        QCOMPARE(result.path, path("screen.map"));
        QCOMPARE(result.filterIndex, 1);
    }

    void folderOfTheChosenFileMustExist() {
        bool ran = false;
        whenOpen<QFileDialog>(&ran, [this](QFileDialog* dialog) {
            dialog->selectFile(folder.filePath("no such folder/x.fnt"));
            static_cast<QDialog*>(dialog)->accept();
            QVERIFY(dialog->isVisible());
            dialog->reject();
        });
        const FileDialogResult result =
            platform->openFileDialog("t", folder.path().toStdString(), "Font (*.fnt)|*.fnt", 0);
        QVERIFY(ran);
        QCOMPARE(result.path, std::string());
    }

    void saveNeitherAsksToReplaceNorAddsAnExtension() {
        QFile existing(folder.filePath("font.fnt"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();

        bool ran = false;
        whenOpen<QFileDialog>(&ran, [](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            dialog->selectFile("font.fnt");
            static_cast<QDialog*>(dialog)->accept();
            // No question about replacing the file came up.
            QVERIFY(!dialog->isVisible());
        });
        FileDialogResult result = platform->saveFileDialog(
            "Please choose file to save", folder.path().toStdString(), "Font (*.fnt)|*.fnt", 0);
        QVERIFY(ran);
        QCOMPARE(result.path, path("font.fnt"));
        QCOMPARE(result.filterIndex, 0);

        ran = false;
        whenOpen<QFileDialog>(&ran, [](QFileDialog* dialog) {
            dialog->selectFile("picture");
            static_cast<QDialog*>(dialog)->accept();
        });
        result = platform->saveFileDialog("t", folder.path().toStdString(), ".bmp", 0);
        QVERIFY(ran);
        QCOMPARE(result.path, path("picture"));
    }

    void cancelledDialogGivesAnEmptyPath() {
        bool ran = false;
        whenOpen<QFileDialog>(&ran, [](QFileDialog* dialog) { dialog->reject(); });
        const FileDialogResult result =
            platform->saveFileDialog("t", folder.path().toStdString(), "Font (*.fnt)|*.fnt", 0);
        QVERIFY(ran);
        QCOMPARE(result.path, std::string());
    }

    void messageBoxHasTitleTextAndOneButton() {
        bool ran = false;
        whenOpen<QMessageBox>(&ran, [this](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QString("Open File"));
            QCOMPARE(box->text(), QString("unable to open:/x/<y>.fnt"));
            QCOMPARE(box->buttons().size(), 1);
            QVERIFY(box->isModal());
            QCOMPARE(box->parentWidget(), platform->windowWidget(WindowMain));
            box->buttons().first()->click();
        });
        platform->messageBox("Open File", "unable to open:/x/<y>.fnt");
        QVERIFY(ran);
    }

    void colourDialogStartsAtBlack() {
        bool ran = false;
        whenOpen<QColorDialog>(&ran, [](QColorDialog* dialog) {
            QCOMPARE(dialog->currentColor(), QColor(Qt::black));
            dialog->setCurrentColor(QColor(10, 20, 30));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(platform->chooseColour(), std::optional<Colour>(rgb(10, 20, 30)));
        QVERIFY(ran);

        ran = false;
        whenOpen<QColorDialog>(&ran, [](QColorDialog* dialog) { dialog->reject(); });
        QCOMPARE(platform->chooseColour(), std::nullopt);
        QVERIFY(ran);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
