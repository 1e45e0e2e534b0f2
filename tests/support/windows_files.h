#pragma once

#include <string>

// The Windows file situations the tests set up: a file another program holds open, a
// second name for a file, the read-only attribute. Paths are UTF-8, as the program takes
// them. Windows only.

namespace tessaly {

// Holds a file open as another program would, sharing it as `share` says (a mix of
// ShareRead, ShareWrite and ShareDelete; 0 locks it against everyone) until destroyed.
class HeldOpen {
  public:
    static constexpr unsigned ShareRead = 1, ShareWrite = 2, ShareDelete = 4;
    HeldOpen(const std::string& path, unsigned share);
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool held() const;

  private:
    void* handle_;
};

bool makeHardLink(const std::string& existing, const std::string& link);
bool setReadOnly(const std::string& path, bool on);
// The number of names the file has; 0 when it cannot be asked.
unsigned linkCount(const std::string& path);

} // namespace tessaly
