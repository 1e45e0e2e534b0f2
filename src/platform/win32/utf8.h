#pragma once

#include <string>

// The program's texts are UTF-8; the Win32 calls take UTF-16.

namespace tessaly {

std::wstring wideFromUtf8(const std::string& text);
// The same with `before` put in front of every `mark`: a menu's ampersand doubled, so that it
// marks no access key; CR before LF, the only line break an edit control knows.
std::wstring wideFromUtf8(const std::string& text, wchar_t mark, wchar_t before);
std::string utf8FromWide(const std::wstring& text);
std::string utf8FromWide(const wchar_t* text);

} // namespace tessaly
