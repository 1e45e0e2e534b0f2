#include "platform/win32/utf8.h"

#include <windows.h>

#include <cwchar>

namespace tessaly {

std::wstring wideFromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), length);
    return result;
}

std::wstring wideFromUtf8(const std::string& text, wchar_t mark, wchar_t before) {
    std::wstring result;
    for (const wchar_t c : wideFromUtf8(text)) {
        if (c == mark) result += before;
        result += c;
    }
    return result;
}

std::string utf8FromWide(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

std::string utf8FromWide(const wchar_t* text) {
    return text == nullptr ? std::string() : utf8FromWide(std::wstring(text));
}

} // namespace tessaly
