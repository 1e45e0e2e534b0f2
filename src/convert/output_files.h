#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Writing tessaly-convert's outputs. A regular file (or a new one) is replaced as a whole
// through the editor's safe save. What cannot be replaced (a pipe, a FIFO, a device, a
// process substitution, /dev/stdout) is written directly, and "-" is standard output.
// The outputs of one run are written together or not at all: regular files first, each
// one's old content kept, streams last; a failure puts every file back as it was.

namespace tessaly::convert {

struct OutputFile {
    std::string path; // "-" for standard output
    std::vector<std::uint8_t> bytes;
};

// False with the path that failed and why ("no such folder", "the device is full", ...).
bool writeOutputs(std::span<const OutputFile> outputs, std::string& failedPath, std::string& why);

} // namespace tessaly::convert
