#include "io/file_access.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tessaly {

namespace fs = std::filesystem;

namespace {

// Paths arrive as UTF-8. Taken as char8_t they are decoded as such on every system, where a
// plain std::string would go through the ANSI code page on Windows.
fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

std::int64_t fileSize(const std::string& path) {
    std::error_code ec;
    const fs::path p = pathOf(path);
    if (!fs::is_regular_file(p, ec)) return -1;
    const std::uintmax_t size = fs::file_size(p, ec);
    if (ec) return -1;
    return static_cast<std::int64_t>(size);
}

bool readFileStart(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out) {
    out.clear();
    std::error_code ec;
    const fs::path p = pathOf(path);
    if (!fs::is_regular_file(p, ec)) return false;
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    out.resize(limit);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
    out.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

#ifdef _WIN32

namespace {

bool writeAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = std::min<std::size_t>(bytes.size() - done, 1u << 20);
        const DWORD chunk = static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// As on POSIX: a short name of its own in the target's folder.
HANDLE createTemporaryBeside(const fs::path& target, fs::path& name) {
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string file = ".tessaly" + std::to_string(random() % 1000000) + ".tmp";
        name = target.parent_path() / file;
        const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    const fs::path target = pathOf(path);
    if (path.empty() || fs::is_directory(target, ec)) return false;
    // A read-only file is refused, as a plain overwrite would be; so is anything but a
    // regular file.
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) return false;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;

    fs::path temp;
    const HANDLE file = createTemporaryBeside(target, temp);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = writeAll(file, bytes);
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}

#else

namespace {

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Creates a new file for writing in the target's folder. Its name is short and does not
// grow with the target's, so a target name of the file system's full length still works.
int createTemporaryBeside(const fs::path& target, std::string& name) {
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string file = ".tessaly" + std::to_string(random() % 1000000) + ".tmp";
        name = (target.parent_path() / file).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    fs::path target = pathOf(path);
    if (path.empty() || fs::is_directory(target, ec)) return false;
    // Saving through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    // An existing file that may not be written is refused, as a plain overwrite would be;
    // so is anything but a regular file (a device or a pipe must never be replaced).
    if (fs::exists(target, ec) &&
        (!fs::is_regular_file(target, ec) || ::access(target.c_str(), W_OK) != 0))
        return false;

    std::string temp;
    const int fd = createTemporaryBeside(target, temp);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok && fs::exists(target, ec)) {
        // Keep the permissions of the file being replaced.
        const fs::perms perms = fs::status(target, ec).permissions();
        if (!ec) fs::permissions(temp, perms, ec);
    }
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

#endif

} // namespace tessaly
