#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tessaly {

// A path given in UTF-8, as every path in the program is, for the standard library.
std::filesystem::path pathOf(const std::string& utf8);

// The size of a regular file; -1 when the path names no file or names a directory.
std::int64_t fileSize(const std::string& path);

// Reads up to `limit` bytes from the start of a regular file. False when it cannot be
// opened; a short file gives fewer bytes.
bool readFileStart(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out);

// Replaces the file at `path` with `bytes` as a whole. The bytes normally go to a temporary
// file beside it, which is renamed over the target only after every write succeeded, so a
// failure leaves the target as it was. An existing target is written in place instead when
// a rename would lose something: its folder takes no new file, it has other hard links, or
// its owner or group could not be given to the new file. In place, the new length is
// reserved before the first byte changes, so a full device fails with the file intact. A
// link is followed: the file it names is replaced and the link stays. False on any failure;
// no temporary file stays behind, and on POSIX errno tells why.
bool replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace tessaly
