#include "platform/win32/file_filters.h"

#include "platform/win32/utf8.h"

#include <vector>

namespace tessaly {

namespace {

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

} // namespace

std::wstring dialogFilter(const std::string& filters) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (const wchar_t c : wideFromUtf8(filters)) {
        if (c == L'|') {
            parts.push_back(trimmed(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(trimmed(part));

    std::wstring result;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        std::wstring name = parts[i];
        std::wstring pattern = i + 1 < parts.size() ? parts[i + 1] : std::wstring();
        if (name.empty() && pattern.empty()) continue;
        // A pair without a pattern matches every file rather than none.
        if (pattern.empty()) pattern = L"*.*";
        if (name.empty()) name = pattern;
        result += name + L'\0' + pattern + L'\0';
    }
    if (result.empty()) result = std::wstring(L"*.*") + L'\0' + L"*.*" + L'\0';
    return result + L'\0';
}

} // namespace tessaly
