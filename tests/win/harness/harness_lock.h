// A process-wide lock for harness state touched from the module's threads.
#pragma once

#include <windows.h>

namespace harness {

class HarnessLock {
 public:
  HarnessLock() noexcept { InitializeCriticalSection(&m_section); }
  HarnessLock(const HarnessLock&) = delete;
  HarnessLock& operator=(const HarnessLock&) = delete;
  ~HarnessLock() { DeleteCriticalSection(&m_section); }
  void Enter() noexcept { EnterCriticalSection(&m_section); }
  void Leave() noexcept { LeaveCriticalSection(&m_section); }

 private:
  CRITICAL_SECTION m_section;
};

class Locked {
 public:
  explicit Locked(HarnessLock& lock) noexcept : m_lock(lock) { m_lock.Enter(); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  ~Locked() { m_lock.Leave(); }

 private:
  HarnessLock& m_lock;
};

}  // namespace harness
