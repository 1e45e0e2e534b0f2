#include "convert/output_files.h"

#include "io/file_access.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

namespace tessaly::convert {

namespace {

namespace fs = std::filesystem;

std::string reason(int error) {
    switch (error) {
    case ENOENT:
        return "no such folder";
    case ENOTDIR:
        return "a part of the path is not a folder";
    case EISDIR:
        return "it is a folder";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EROFS:
        return "the file system is read-only";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "the device is full";
    default:
        return error != 0 ? std::strerror(error) : "an unknown error";
    }
}

#ifdef _WIN32
// Windows' device names (NUL, CON, COM1, ...) stand for a device in every folder and with
// any extension; \\.\ names a device or a pipe.
bool isWindowsDevice(const std::string& path) {
    if (path.starts_with("\\\\.\\") || path.starts_with("//./")) return true;
    const std::u8string file = pathOf(path).filename().u8string();
    std::string name(file.begin(), file.end());
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    for (char& c : name)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (name == "NUL" || name == "CON" || name == "PRN" || name == "AUX" || name == "CONOUT$")
        return true;
    return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}
#endif

// Written directly rather than replaced: anything that exists and is neither a regular
// file nor a folder, and the system's names for open files, which may stand for a regular
// file that the shell has already opened (/dev/stdout redirected with '>').
bool isStream(const std::string& path) {
#ifdef _WIN32
    if (path == "-" || isWindowsDevice(path)) return true;
#else
    if (path == "-" || path.starts_with("/dev/") || path.starts_with("/proc/")) return true;
#endif
    std::error_code ec;
    const fs::file_status status = fs::status(pathOf(path), ec);
    return !ec && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

// The reason a regular output cannot be written, found before anything is written; empty
// when it looks possible (the writes may still fail, a full device for one).
std::string problem(const std::string& path) {
    std::error_code ec;
    const fs::path target = pathOf(path);
    if (fs::is_directory(target, ec)) return reason(EISDIR);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status)) return reason(ENOENT);
    if (!fs::is_directory(status)) return reason(ENOTDIR);
    return {};
}

bool writeStream(const std::string& path, const std::vector<std::uint8_t>& bytes, int& error) {
#ifdef _WIN32
    std::FILE* out = path == "-" ? stdout : _wfopen(pathOf(path).c_str(), L"wb");
#else
    std::FILE* out = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
#endif
    if (out == nullptr) {
        error = errno;
        return false;
    }
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = std::fflush(out) == 0 && ok;
    error = errno;
    if (out != stdout && std::fclose(out) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok;
}

// A regular file's content before the run, to put back should a later output fail.
struct Kept {
    std::string path;
    std::optional<std::vector<std::uint8_t>> bytes; // none: the file did not exist
};

void putBack(const std::vector<Kept>& kept) {
    for (const Kept& k : kept) {
        std::error_code ec;
        if (k.bytes)
            replaceFile(k.path, *k.bytes);
        else
            fs::remove(pathOf(k.path), ec);
    }
}

} // namespace

bool writeOutputs(std::span<const OutputFile> outputs, std::string& failedPath, std::string& why) {
    for (const OutputFile& o : outputs) {
        if (isStream(o.path)) continue;
        why = problem(o.path);
        if (!why.empty()) {
            failedPath = o.path;
            return false;
        }
    }
    std::vector<Kept> kept;
    const auto fail = [&](const std::string& path, int error) {
        putBack(kept);
        failedPath = path;
        why = reason(error);
        return false;
    };
    for (const OutputFile& o : outputs) {
        if (isStream(o.path)) continue;
        Kept k{o.path, std::nullopt};
        const std::int64_t size = fileSize(o.path);
        if (size >= 0) {
            k.bytes.emplace();
            if (!readFileStart(o.path, static_cast<std::size_t>(size), *k.bytes))
                return fail(o.path, errno);
        }
        errno = 0;
        if (!replaceFile(o.path, o.bytes)) return fail(o.path, errno);
        kept.push_back(std::move(k));
    }
    for (const OutputFile& o : outputs) {
        int error = 0;
        if (isStream(o.path) && !writeStream(o.path, o.bytes, error)) return fail(o.path, error);
    }
    return true;
}

} // namespace tessaly::convert
