#include "platform/qt/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace tessaly {

namespace {

QString patternFor(const QString& name, const QString& pattern) {
    QString patterns = pattern;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    if (!patterns.isEmpty()) return patterns;
    static const QRegularExpression extension(QStringLiteral("^\\.[A-Za-z0-9]+$"));
    if (extension.match(name).hasMatch()) return QLatin1Char('*') + name;
    return QStringLiteral("*");
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

} // namespace

QStringList nameFiltersFrom(const std::string& filters) {
    const QStringList parts = QString::fromStdString(filters).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        const QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (name.isEmpty() && pattern.isEmpty()) continue;
        const QString patterns = patternFor(name, pattern);
        const QString suffix = QStringLiteral("(%1)").arg(patterns);
        if (name.isEmpty())
            result << patterns;
        else if (name.endsWith(suffix))
            result << name;
        else
            result << QStringLiteral("%1 %2").arg(name, suffix);
    }
    return result;
}

FileDialogResult runFileDialog(QWidget* parent, FileDialogMode mode, const std::string& title,
                               const std::string& folder, const std::string& filters,
                               int filterIndex) {
    FileDialog dialog(parent, QString::fromStdString(title), QString::fromStdString(folder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (mode == FileDialogMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    const QStringList names = nameFiltersFrom(filters);
    dialog.setNameFilters(names);
    if (filterIndex >= 0 && filterIndex < names.size()) dialog.selectNameFilter(names[filterIndex]);

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted) return result;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return result;
    result.path = QDir::toNativeSeparators(files.first()).toStdString();
    result.filterIndex =
        std::max<int>(0, static_cast<int>(names.indexOf(dialog.selectedNameFilter())));
    return result;
}

} // namespace tessaly
