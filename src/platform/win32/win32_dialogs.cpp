#include "platform/win32/win32_platform.h"

#include "platform/win32/file_filters.h"
#include "platform/win32/utf8.h"

#include <commdlg.h>

#include <vector>

// The modal dialogs, owned by the program's active window.

namespace tessaly {

Win32Platform::ModalScope::ModalScope(Win32Platform& platform, HWND owner)
    : platform_(platform) {
    ++platform_.modalDepth_;
    // The dialog disables its owner itself; the program's other windows wait as well.
    for (const auto& [id, window] : platform_.windows_) {
        const HWND hwnd = window.hwnd;
        if (hwnd == owner || !IsWindowEnabled(hwnd)) continue;
        EnableWindow(hwnd, FALSE);
        disabled_.push_back(hwnd);
    }
}

Win32Platform::ModalScope::~ModalScope() {
    for (const HWND hwnd : disabled_) EnableWindow(hwnd, TRUE);
    --platform_.modalDepth_;
    // The pointer may have left a canvas while the dialog or popup had the mouse.
    for (auto& [id, control] : platform_.controls_) {
        if (control.canvas != nullptr) control.canvas->settleHover();
    }
}

HWND Win32Platform::dialogOwner() {
    const HWND active = GetActiveWindow();
    if (isProgramWindow(active)) return active;
    for (const auto& [id, window] : windows_) {
        if (IsWindowVisible(window.hwnd)) return window.hwnd;
    }
    return nullptr;
}

void Win32Platform::messageBox(const std::string& title, const std::string& text) {
    const HWND owner = dialogOwner();
    const ModalScope modal(*this, owner);
    MessageBoxW(owner, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(), MB_OK);
}

std::optional<Colour> Win32Platform::chooseColour() {
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = dialogOwner();
    choose.rgbResult = RGB(0, 0, 0);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    const ModalScope modal(*this, choose.hwndOwner);
    if (!ChooseColorW(&choose)) return std::nullopt;
    return rgb(GetRValue(choose.rgbResult), GetGValue(choose.rgbResult),
               GetBValue(choose.rgbResult));
}

FileDialogResult Win32Platform::openFileDialog(const std::string& title,
                                               const std::string& folder,
                                               const std::string& filters, int filterIndex) {
    return fileDialog(false, title, folder, filters, filterIndex);
}

FileDialogResult Win32Platform::saveFileDialog(const std::string& title,
                                               const std::string& folder,
                                               const std::string& filters, int filterIndex) {
    return fileDialog(true, title, folder, filters, filterIndex);
}

// The program adds its own extensions and overwrites without asking, and a file to open
// need not exist yet (the loader reports a missing one), so the dialog checks only the
// folder.
FileDialogResult Win32Platform::fileDialog(bool save, const std::string& title,
                                           const std::string& folder,
                                           const std::string& filters, int filterIndex) {
    const std::wstring filter = wideFromUtf8(dialogFilter(filters));
    const std::wstring wideTitle = wideFromUtf8(title);
    const std::wstring wideFolder = wideFromUtf8(folder);
    std::vector<wchar_t> file(32768, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = dialogOwner();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(dialogFilterIndex(filterIndex));
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = wideFolder.empty() ? nullptr : wideFolder.c_str();
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

    FileDialogResult result;
    const ModalScope modal(*this, dialog.hwndOwner);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return result;
    result.path = utf8FromWide(file.data());
    result.filterIndex = programFilterIndex(static_cast<int>(dialog.nFilterIndex));
    return result;
}

} // namespace tessaly
