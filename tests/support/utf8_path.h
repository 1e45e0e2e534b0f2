#pragma once

#include <filesystem>
#include <string>

// The program takes paths as UTF-8 text. The tests make and read their files through these,
// so that a name outside the ANSI code page is the same file on every system: a plain
// std::string would be decoded in the ANSI code page on Windows.

namespace tessaly {

inline std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace tessaly
