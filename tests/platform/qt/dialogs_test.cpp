#include "platform/qt/file_dialogs.h"
#include "qt_test_support.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

using namespace tessaly;

class DialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtPlatform> platform;
    QTemporaryDir folder;

    std::string path(const QString& name) { return folder.filePath(name).toStdString(); }

  private slots:
    void filterListsBecomeNameFilters() {
        QCOMPARE(nameFiltersFrom("Font (*.fnt)|*.fnt|Character map (*.map)|*.map"),
                 QStringList({"Font (*.fnt)", "Character map (*.map)"}));
        QCOMPARE(nameFiltersFrom("Font (*.fnt)|*.fnt|"), QStringList({"Font (*.fnt)"}));
        QCOMPARE(nameFiltersFrom(".bmp|*.bmp"), QStringList({".bmp (*.bmp)"}));
        QCOMPARE(nameFiltersFrom(".bmp"), QStringList({".bmp (*.bmp)"}));
        QCOMPARE(nameFiltersFrom(""), QStringList());
    }

    // The message box shows its text as it is, with one button, over the active window. A
    // file to open need not exist but its folder must, and the filter that counts is the one
    // selected at the end. A save neither asks before replacing a file nor adds an extension.
    void dialogs() {
        QVERIFY(folder.isValid());
        QVERIFY((platform = platformWithMainWindow()));
        const auto show = [&] { platform->messageBox("Open File", "unable to open:/x/<y>.fnt"); };
        QVERIFY(whileOpen<QMessageBox>(show, [this](QMessageBox* box) {
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->parentWidget(), platform->windowWidget(WindowMain));
        }));
        std::optional<Colour> colour;
        QVERIFY(whileOpen<QColorDialog>([&] { colour = platform->chooseColour(); },
                                        [](QColorDialog* dialog) {
                                            dialog->setCurrentColor(QColor(10, 20, 30));
                                            dialog->accept();
                                        }));
        QCOMPARE(colour, std::optional<Colour>(rgb(10, 20, 30)));

        FileDialogResult result;
        const auto open = [&] {
            result =
                platform->openFileDialog("Load", path(""), "F (*.fnt)|*.fnt|M (*.map)|*.map", 1);
        };
        QVERIFY(whileOpen<QFileDialog>(open, [this](QFileDialog* dialog) {
            QCOMPARE(dialog->directory(), QDir(folder.path()));
            QCOMPARE(dialog->selectedNameFilter(), "M (*.map)");
            dialog->selectFile(folder.filePath("no such folder/x.fnt"));
            static_cast<QDialog*>(dialog)->accept();
            QVERIFY(dialog->isVisible());
            dialog->selectNameFilter("F (*.fnt)");
            dialog->selectFile("missing.map");
            static_cast<QDialog*>(dialog)->accept();
        }));
        QCOMPARE(result.path, path("missing.map"));
        QCOMPARE(result.filterIndex, 0);
        QVERIFY(whileOpen<QFileDialog>(open, [](QFileDialog* dialog) { dialog->reject(); }));
        QCOMPARE(result.path, std::string());

        const auto save = [&] { result = platform->saveFileDialog("Save", path(""), ".bmp", 0); };
        QVERIFY(whileOpen<QFileDialog>(save, [](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->selectFile("picture");
            static_cast<QDialog*>(dialog)->accept();
        }));
        QCOMPARE(result.path, path("picture"));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
