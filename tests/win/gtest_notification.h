// gtest's Notification helper needs std::mutex, which mingw-w64's win32
// thread model lacks; this stand-in (forced into every gtest compile) waits
// on an atomic flag instead.
#pragma once

#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { m_notified.store(true); }
  void WaitForNotification() {
    while (!m_notified.load()) Sleep(1);
  }

 private:
  std::atomic<bool> m_notified{false};
};

}  // namespace testing::internal
