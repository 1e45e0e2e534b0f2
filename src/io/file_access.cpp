#include "io/file_access.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <unistd.h>

namespace tessaly {

namespace fs = std::filesystem;

std::int64_t fileSize(const std::string& path) {
    std::error_code ec;
    const fs::path p(path);
    if (!fs::is_regular_file(p, ec)) return -1;
    const std::uintmax_t size = fs::file_size(p, ec);
    if (ec) return -1;
    return static_cast<std::int64_t>(size);
}

bool readFileStart(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out) {
    out.clear();
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.resize(limit);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
    out.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

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
    fs::path target(path);
    if (path.empty() || fs::is_directory(target, ec)) return false;
    // Saving through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    // An existing file that may not be written is refused, as a plain overwrite would be.
    if (fs::exists(target, ec) && ::access(target.c_str(), W_OK) != 0) return false;

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

} // namespace tessaly
