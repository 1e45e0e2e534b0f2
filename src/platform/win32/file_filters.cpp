#include "platform/win32/file_filters.h"

#include <algorithm>
#include <vector>

namespace tessaly {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string dialogFilter(const std::string& filters) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : filters) {
        if (c == '|') {
            parts.push_back(trimmed(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(trimmed(part));
    if (parts.size() % 2 != 0) parts.emplace_back();
    // Empty pairs at the end (a list closed by '|') are left out. One before others keeps
    // its place, matching every file, so that the filters after it keep their numbers.
    while (!parts.empty() && parts[parts.size() - 2].empty() && parts.back().empty())
        parts.resize(parts.size() - 2);

    std::string result;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        std::string name = parts[i];
        std::string pattern = parts[i + 1];
        // A pair without a pattern matches every file rather than none.
        if (pattern.empty()) pattern = "*.*";
        if (name.empty()) name = pattern;
        result += name + '\0' + pattern + '\0';
    }
    if (result.empty()) result = std::string("*.*") + '\0' + "*.*" + '\0';
    return result + '\0';
}

int dialogFilterIndex(int programIndex) {
    return std::max(programIndex, 0) + 1;
}

int programFilterIndex(int dialogIndex) {
    return std::max(dialogIndex - 1, 0);
}

} // namespace tessaly
