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
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace tessaly {

namespace fs = std::filesystem;

// Taken as char8_t, the bytes are decoded as UTF-8 on every system, where a plain
// std::string would go through the ANSI code page on Windows.
fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

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

// Sets errno from the last Windows error, so that the caller can say why a write failed,
// and returns false.
bool failWithLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_WRITE_PROTECT:
        errno = EROFS;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
        errno = EINVAL;
        break;
    default:
        errno = EIO;
        break;
    }
    return false;
}

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

DWORD linkCount(const fs::path& target) {
    const HANDLE file = CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD links = GetFileInformationByHandle(file, &info) ? info.nNumberOfLinks : 1;
    CloseHandle(file);
    return links;
}

bool setEnd(HANDLE file, LONGLONG length) {
    LARGE_INTEGER at;
    at.QuadPart = length;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// Overwrites the existing file itself. A growing file is first extended to its new length,
// which allocates its clusters, so a full disk fails before any of its bytes changes.
bool writeInPlace(const fs::path& target, const std::vector<std::uint8_t>& bytes) {
    const HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failWithLastError();
    const LONGLONG length = static_cast<LONGLONG>(bytes.size());
    LARGE_INTEGER old{};
    bool ok = GetFileSizeEx(file, &old) != 0;
    if (ok && length > old.QuadPart) ok = setEnd(file, length);
    LARGE_INTEGER start{};
    ok = ok && SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && writeAll(file, bytes) &&
         setEnd(file, length) && FlushFileBuffers(file);
    if (!ok) failWithLastError();
    ok = CloseHandle(file) && ok;
    return ok;
}

} // namespace

bool replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    const fs::path target = pathOf(path);
    if (path.empty() || fs::is_directory(target, ec)) {
        errno = path.empty() ? ENOENT : EISDIR;
        return false;
    }
    // A read-only file is refused, as a plain overwrite would be; so is anything but a
    // regular file.
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) {
        errno = EINVAL;
        return false;
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return false;
    }
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;

    // Every other name of a hard-linked file must see the new content.
    if (exists && linkCount(target) > 1) return writeInPlace(target, bytes);
    fs::path temp;
    const HANDLE file = createTemporaryBeside(target, temp);
    // A folder that takes no new file may still hold a target that can be written.
    if (file == INVALID_HANDLE_VALUE)
        return exists ? writeInPlace(target, bytes) : failWithLastError();
    // Owner and permissions are not carried over: a new file takes the inheritable ACL of
    // its folder, which is what a file made there by this user is meant to get, and there
    // is no unprivileged way to hand a file to another owner anyway.
    bool ok = writeAll(file, bytes);
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        failWithLastError();
        const int failure = errno;
        DeleteFileW(temp.c_str());
        errno = failure;
    }
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

// Gives the new file the owner, group and permissions of the one it replaces. False when
// the owner or group cannot be kept: only a privileged process may give a file to another
// user, or to a group it is not in.
bool takeOwnerAndMode(int fd, const struct stat& target) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) return false;
    if ((made.st_uid != target.st_uid || made.st_gid != target.st_gid) &&
        ::fchown(fd, target.st_uid, target.st_gid) != 0)
        return false;
    return ::fchmod(fd, target.st_mode & 07777) == 0;
}

// Makes room for `length` bytes in a file of `old` bytes before any of them is written.
bool reserve(int fd, off_t old, std::size_t length) {
    if (length == 0) return true;
    const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(length));
    if (error == 0) return true;
    // An allocation that failed part way may have left the file longer. Cutting it back is
    // all that can be tried; should that fail too, the checks below decide as before.
    struct stat now {};
    if (::fstat(fd, &now) == 0 && now.st_size != old && ::ftruncate(fd, old) != 0) {
    }
    // The file system may not allocate ahead (EOPNOTSUPP, ENOSYS; EBADF when the C library's
    // fallback needs to read a handle opened for writing only). Its free space is checked
    // instead: no reservation, but a device that is plainly full still fails untouched.
    if (error != EOPNOTSUPP && error != ENOSYS && error != EBADF) return false;
    if (static_cast<off_t>(length) <= old) return true;
    struct statvfs device {};
    if (::fstatvfs(fd, &device) != 0) return true; // unknown: the writes will tell
    const unsigned long long room =
        static_cast<unsigned long long>(device.f_bavail) * device.f_frsize;
    return length - static_cast<std::size_t>(old) <= room;
}

// Overwrites the existing file itself: reserve the new length, write from the start, cut
// to the exact length and flush.
bool writeInPlace(const fs::path& target, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && reserve(fd, st.st_size, bytes.size());
    ok = ok && writeAll(fd, bytes);
    ok = ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
}

} // namespace

bool replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    fs::path target = pathOf(path);
    if (path.empty() || fs::is_directory(target, ec)) {
        errno = path.empty() ? ENOENT : EISDIR;
        return false;
    }
    // Saving through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    // An existing file that may not be written is refused, as a plain overwrite would be;
    // so is anything but a regular file (a device or a pipe must never be replaced).
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;

    // Every other name of a hard-linked file must see the new content.
    if (exists && st.st_nlink > 1) return writeInPlace(target, bytes);
    std::string temp;
    const int fd = createTemporaryBeside(target, temp);
    // A folder that takes no new file may still hold a target that can be written.
    if (fd < 0) return exists && writeInPlace(target, bytes);
    if (exists && !takeOwnerAndMode(fd, st)) {
        ::close(fd);
        ::unlink(temp.c_str());
        return writeInPlace(target, bytes);
    }
    bool ok = writeAll(fd, bytes);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        const int failure = errno;
        ::unlink(temp.c_str());
        errno = failure;
    }
    return ok;
}

#endif

} // namespace tessaly
