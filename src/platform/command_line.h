#pragma once

#include <string>
#include <vector>

namespace tessaly {

// Splits the text after the program's path into arguments: spaces separate (runs of
// them count as one; tabs do not), and an argument that begins with a double quote runs
// to the next double quote, without the quotes. Used where the program reads the raw
// command line; elsewhere the system's argument list is taken as it is.
std::vector<std::string> splitCommandLine(const std::string& text);

// The arguments of a whole raw command line, as Windows gives it: the program's own path
// (quoted or not) comes off first, and the rest is split as above.
std::vector<std::string> argumentsOfCommandLine(const std::string& commandLine);

} // namespace tessaly
