#pragma once

#include <string>

namespace tessaly {

// Everything up to and including the last slash or backslash; empty when there is none.
std::string directoryPart(const std::string& path);

// Appends `extension` (".fnt") unless the path's last four characters already equal it,
// compared without regard to case.
std::string withExtension(const std::string& path, const std::string& extension);

} // namespace tessaly
