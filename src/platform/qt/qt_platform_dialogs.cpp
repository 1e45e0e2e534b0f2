#include "platform/qt/qt_platform.h"

#include "platform/qt/program_window.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>

// The modal dialogs, owned by the program's active window.

namespace tessaly {

namespace {

// One Qt name filter per filter: its name, with the pattern added in parentheses unless
// the name ends with it already, as "Font (*.fnt)" does.
QStringList nameFiltersFrom(const FileFilters& filters) {
    QStringList result;
    for (const FileFilter& filter : filters) {
        const QString name = QString::fromStdString(filter.name);
        const QString suffix = QStringLiteral("(%1)").arg(QString::fromStdString(filter.pattern));
        result << (name.endsWith(suffix) ? name : QStringLiteral("%1 %2").arg(name, suffix));
    }
    return result;
}

// Refuses a name in a folder that does not exist, as the dialog otherwise accepts any
// typed name that does not exist.
class FileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && !QFileInfo(files.first()).absoluteDir().exists()) return;
        QFileDialog::accept();
    }
};

// Runs the dialog modally. It opens in `folder` with an empty name and the filter at
// `filterIndex`; the folder of the chosen file must exist but the file need not, a save
// neither asks before replacing a file nor adds an extension. The result is the full path
// (empty when cancelled) and the index of the filter selected when the user confirmed.
FileDialogResult runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                               const std::string& title, const std::string& folder,
                               const FileFilters& filters, int filterIndex) {
    FileDialog dialog(parent, QString::fromStdString(title), QString::fromStdString(folder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList names = nameFiltersFrom(filters);
    dialog.setNameFilters(names);
    if (filterIndex >= 0 && filterIndex < names.size()) dialog.selectNameFilter(names[filterIndex]);

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    result.path = QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
    result.filterIndex =
        std::max<int>(0, static_cast<int>(names.indexOf(dialog.selectedNameFilter())));
    return result;
}

} // namespace

QWidget* QtPlatform::dialogOwner() const {
    if (auto* active = qobject_cast<ProgramWindow*>(QApplication::activeWindow())) return active;
    for (const auto& [id, widget] : windows_) {
        if (widget->isVisible()) return widget.get();
    }
    return nullptr;
}

void QtPlatform::messageBox(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, dialogOwner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<Colour> QtPlatform::chooseColour() {
    const QColor colour = QColorDialog::getColor(Qt::black, dialogOwner(), QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!colour.isValid()) return std::nullopt;
    return rgb(colour.red(), colour.green(), colour.blue());
}

FileDialogResult QtPlatform::openFileDialog(const std::string& title, const std::string& folder,
                                            const FileFilters& filters, int filterIndex) {
    return runFileDialog(dialogOwner(), QFileDialog::AcceptOpen, title, folder, filters,
                         filterIndex);
}

FileDialogResult QtPlatform::saveFileDialog(const std::string& title, const std::string& folder,
                                            const FileFilters& filters, int filterIndex) {
    return runFileDialog(dialogOwner(), QFileDialog::AcceptSave, title, folder, filters,
                         filterIndex);
}

} // namespace tessaly
