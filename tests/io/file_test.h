#pragma once

#include "app/event_loop.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace tessaly {

using Bytes = std::vector<std::uint8_t>;
using Messages = std::vector<FakePlatform::Message>;

// A fresh folder under the system's temporary directory, removed with its content at the
// end of the test. Paths are returned as text, as the program takes them.
class TempFolder {
  public:
    TempFolder() {
        static int serial = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("tessaly-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string folder() const { return dir_.string() + "/"; } // as lastPath holds it
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path(name);
    }
    static Bytes read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> names() const { // sorted
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir_))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

  private:
    std::filesystem::path dir_;
};

// n bytes counting up from `first`, wrapping at 256.
inline Bytes countingBytes(std::size_t n, int first = 0) {
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(first + i);
    return out;
}

// A started program and a fresh folder.
struct FileTest : ::testing::Test {
    TestApp t;
    TempFolder dir;
    void SetUp() override { ASSERT_TRUE(t.start()); }
    // Runs one command; a file dialog it opens answers `answer` (empty: cancelled).
    void command(int id, const std::string& answer = "", int filter = 0) {
        t.platform.fileAnswers = {{answer, filter}};
        t.platform.pushCommand(id);
        runEventLoop(*t.app);
    }
};

} // namespace tessaly
