#pragma once

#include <string>

// The program's texts are UTF-8; the Win32 calls take UTF-16.

namespace tessaly {

std::wstring wideFromUtf8(const std::string& text);
std::string utf8FromWide(const std::wstring& text);
std::string utf8FromWide(const wchar_t* text);

} // namespace tessaly
