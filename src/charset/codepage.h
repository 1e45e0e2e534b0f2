#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

// The character of a byte in the Windows-1252 code page, as UTF-8. Bytes that code page
// leaves undefined give the control character of the same number, as Windows does.
std::string windows1252ToUtf8(std::uint8_t byte);

} // namespace tessaly
