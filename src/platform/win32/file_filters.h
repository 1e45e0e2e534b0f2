#pragma once

#include <string>

// The program's filter list "Name|pattern|Name|pattern..." as the common file dialogs
// take it: name and pattern each ended by a NUL, the whole list by a second one.

namespace tessaly {

std::wstring dialogFilter(const std::string& filters);

} // namespace tessaly
