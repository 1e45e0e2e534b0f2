#pragma once

#include <string>
#include <vector>

namespace tessaly {

// The arguments of a raw Windows command line: the program's own path (quoted or not)
// comes off first, and the rest is split by the program's rule.
std::vector<std::string> argumentsOfCommandLine(const std::string& commandLine);

} // namespace tessaly
