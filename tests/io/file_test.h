#pragma once

#include "app/app_fixture.h"
#include "support/utf8_path.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace tessaly {

using Bytes = std::vector<std::uint8_t>;

// n bytes counting up from `first`, wrapping at 256.
inline Bytes countingBytes(std::size_t n, int first = 0) {
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::uint8_t>(first + i);
    return out;
}

// The messages shown, one "title|text" line each: what a child process can hand back.
inline std::string messageLines(const Messages& messages) {
    std::string out;
    for (const auto& m : messages) out += m.title + "|" + m.text + "\n";
    return out;
}

inline Bytes readFile(const std::string& path) {
    std::ifstream in(pathOf(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A started program and a fresh folder, removed with its content afterwards. Paths are
// text, as the program takes them.
struct FileTest : AppTest {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tessaly-test-" + std::to_string(::getpid()));
    void SetUp() override {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        AppTest::SetUp();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    // As lastPath holds it: with the system's separator at the end.
    std::string folder() const { return utf8Of(dir / ""); }
    std::string path(const std::string& name) const { return utf8Of(dir / pathOf(name)); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(pathOf(path(name)), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path(name);
    }
    std::vector<std::string> names() const { // sorted
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            out.push_back(utf8Of(e.path().filename()));
        std::sort(out.begin(), out.end());
        return out;
    }
    // Runs one command; a file dialog it opens answers `answer` (empty: cancelled).
    void command(int id, const std::string& answer = "", int filter = 0) {
        t.platform.fileAnswers = {{answer, filter}};
        AppTest::command(id);
    }
};

} // namespace tessaly
