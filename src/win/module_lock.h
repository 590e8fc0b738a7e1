// The module's lock count: live objects, class objects that clients hold and
// server locks. DllCanUnloadNow answers S_OK at 0.
#pragma once

#include <windows.h>

namespace qm {

// Atomic; each returns the new count.
LONG LockModule() noexcept;
LONG UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;

// One module lock for as long as the holder lives.
class ModuleLockHolder {
 public:
  ModuleLockHolder() noexcept { LockModule(); }
  ModuleLockHolder(const ModuleLockHolder&) = delete;
  ModuleLockHolder& operator=(const ModuleLockHolder&) = delete;
  ~ModuleLockHolder() { UnlockModule(); }
};

}  // namespace qm
