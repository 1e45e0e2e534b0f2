#pragma once

#include "platform/platform.h"

#include <QStringList>

#include <string>

class QWidget;

// The open-file and save-file dialogs, with the program's filter lists.

namespace tessaly {

enum class FileDialogMode { Open, Save };

// One Qt name filter per "name|pattern" pair of `filters`, in order. A name that already
// ends with its pattern in parentheses, as "Font (*.fnt)" does, is used as it is; otherwise
// the pattern is added in parentheses. A pair without a pattern shows the files named by
// an extension name such as ".bmp", or else every file.
QStringList nameFiltersFrom(const std::string& filters);

// Runs the dialog modally. It opens in `folder` with an empty name and the filter at
// `filterIndex`; the folder of the chosen file must exist but the file need not, a save
// neither asks before replacing a file nor adds an extension. The result is the full path
// (empty when cancelled) and the index of the filter selected when the user confirmed.
FileDialogResult runFileDialog(QWidget* parent, FileDialogMode mode, const std::string& title,
                               const std::string& folder, const std::string& filters,
                               int filterIndex);

} // namespace tessaly
