#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

// The size of a regular file; -1 when the path names no file or names a directory.
std::int64_t fileSize(const std::string& path);

// Reads up to `limit` bytes from the start of a regular file. False when it cannot be
// opened; a short file gives fewer bytes.
bool readFileStart(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out);

// Replaces the file at `path` with `bytes` as a whole: the bytes go to a temporary file
// beside it, which is renamed over the target only after every write and the close
// succeeded. On failure the target is left as it was and no temporary file stays.
bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace tessaly
