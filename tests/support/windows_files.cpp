#include "support/windows_files.h"

#include <windows.h>

namespace tessaly {

namespace {

std::wstring wide(const std::string& utf8) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

} // namespace

HeldOpen::HeldOpen(const std::string& path, unsigned share) {
    DWORD mode = 0;
    if (share & ShareRead) mode |= FILE_SHARE_READ;
    if (share & ShareWrite) mode |= FILE_SHARE_WRITE;
    if (share & ShareDelete) mode |= FILE_SHARE_DELETE;
    handle_ = CreateFileW(wide(path).c_str(), GENERIC_READ, mode, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
}

HeldOpen::~HeldOpen() {
    if (held()) CloseHandle(handle_);
}

bool HeldOpen::held() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

bool makeHardLink(const std::string& existing, const std::string& link) {
    return CreateHardLinkW(wide(link).c_str(), wide(existing).c_str(), nullptr) != 0;
}

bool setReadOnly(const std::string& path, bool on) {
    const std::wstring name = wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD changed =
        on ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
    return SetFileAttributesW(name.c_str(), changed == 0 ? FILE_ATTRIBUTE_NORMAL : changed) != 0;
}

unsigned linkCount(const std::string& path) {
    const HANDLE file = CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    const unsigned links = GetFileInformationByHandle(file, &info) ? info.nNumberOfLinks : 0;
    CloseHandle(file);
    return links;
}

} // namespace tessaly
