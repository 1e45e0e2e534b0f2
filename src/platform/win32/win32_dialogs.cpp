#include "platform/win32/win32_platform.h"

#include "platform/win32/utf8.h"

#include <commdlg.h>

#include <algorithm>

#include <vector>

// The modal dialogs, owned by the program's active window.

namespace tessaly {

void Win32Platform::beginModal(HWND owner) {
    modal_ = true;
    events_.push_back(keyEvent(EventKind::KeyboardLost));
    // The dialog disables its owner itself; the program's other windows wait as well.
    for (const auto& [id, window] : windows_) {
        if (window.hwnd == owner || !IsWindowEnabled(window.hwnd)) continue;
        EnableWindow(window.hwnd, FALSE);
        disabled_.push_back(window.hwnd);
    }
}

void Win32Platform::endModal() {
    for (const HWND hwnd : disabled_) EnableWindow(hwnd, TRUE);
    disabled_.clear();
    modal_ = false;
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
    beginModal(owner);
    MessageBoxW(owner, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(), MB_OK);
    endModal();
}

std::optional<Colour> Win32Platform::chooseColour() {
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = dialogOwner();
    choose.rgbResult = RGB(0, 0, 0);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    beginModal(choose.hwndOwner);
    const BOOL chosen = ChooseColorW(&choose);
    endModal();
    if (!chosen) return std::nullopt;
    return rgb(GetRValue(choose.rgbResult), GetGValue(choose.rgbResult),
               GetBValue(choose.rgbResult));
}

// The program adds its own extensions and overwrites without asking, and a file to open
// need not exist yet (the loader reports a missing one), so the dialog checks only the
// folder.
FileDialogResult Win32Platform::fileDialog(bool save, const std::string& title,
                                           const std::string& folder,
                                           const FileFilters& filters, int filterIndex) {
    // Each name and pattern ended by a NUL, the list by a second one.
    std::wstring filter;
    for (const FileFilter& f : filters)
        filter += wideFromUtf8(f.name) + L'\0' + wideFromUtf8(f.pattern) + L'\0';
    filter += L'\0';
    const std::wstring wideTitle = wideFromUtf8(title);
    const std::wstring wideFolder = wideFromUtf8(folder);
    std::vector<wchar_t> file(32768, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = dialogOwner();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex + 1); // counted from 1
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = wideFolder.empty() ? nullptr : wideFolder.c_str();
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

    FileDialogResult result;
    beginModal(dialog.hwndOwner);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    endModal();
    if (!chosen) return result;
    result.path = utf8FromWide(file.data());
    // 0 stands for a filter the user typed, taken as the first.
    result.filterIndex = std::max(static_cast<int>(dialog.nFilterIndex) - 1, 0);
    return result;
}

} // namespace tessaly
