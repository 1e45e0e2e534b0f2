#include "platform/qt/qt_platform.h"

#include "platform/qt/file_dialogs.h"
#include "platform/qt/program_window.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>

// The modal dialogs, owned by the program's active window.

namespace tessaly {

namespace {

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QWidget* QtPlatform::dialogOwner() const {
    QWidget* active = QApplication::activeWindow();
    for (const auto& [id, widget] : windows_) {
        if (widget.get() == active) return active;
    }
    for (const auto& [id, widget] : windows_) {
        if (widget->isVisible()) return widget.get();
    }
    return nullptr;
}

void QtPlatform::messageBox(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, qtText(title), qtText(text), QMessageBox::Ok,
                    dialogOwner());
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
                                            const std::string& filters, int filterIndex) {
    return runFileDialog(dialogOwner(), FileDialogMode::Open, title, folder, filters, filterIndex);
}

FileDialogResult QtPlatform::saveFileDialog(const std::string& title, const std::string& folder,
                                            const std::string& filters, int filterIndex) {
    return runFileDialog(dialogOwner(), FileDialogMode::Save, title, folder, filters, filterIndex);
}

} // namespace tessaly
