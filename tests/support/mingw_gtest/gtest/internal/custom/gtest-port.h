#pragma once

// GoogleTest's configuration for the Windows cross build. The toolchain's win32 thread
// model has no std::mutex or std::condition_variable, which GoogleTest's Notification
// (used only to start its own threads) is built on; this one waits by yielding instead.

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace testing::internal {

class Notification {
  public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load())
            Sleep(0);
    }

  private:
    std::atomic<bool> notified_{false};
};

} // namespace testing::internal
