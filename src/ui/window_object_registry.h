// The window object registry: window objects waiting, per thread, for the
// first message of the window that is about to be made for them.
#pragma once

#include <windows.h>

#include "ui/window_object.h"
#include "win/unique_resource.h"

namespace qm {

// Call while the DLL loads, after the COM module record and before the module
// object; false when the registry's lock cannot be made (refuse the load).
bool InitializeWindowObjectRegistry() noexcept;
// Call while the DLL unloads, in reverse order of the above.
void UninitializeWindowObjectRegistry() noexcept;

// Enters `object` as pending for the current thread, newest first. Raises
// E_UNEXPECTED when the registry is not initialised or `object` is pending or
// attached already.
void AddPendingWindowObject(CWindowObject& object);
// Takes the current thread's newest pending object out of the list; null when
// the thread has none.
CWindowObject* TakePendingWindowObject() noexcept;
// Takes `object` out of the list if it is still pending there.
void WithdrawPendingWindowObject(CWindowObject& object) noexcept;

// Holds the registry's lock, the module-wide lock of the window code (also for
// registering window classes). Raises E_UNEXPECTED when not initialised.
class WindowObjectRegistryLock {
 public:
  WindowObjectRegistryLock();
  WindowObjectRegistryLock(const WindowObjectRegistryLock&) = delete;
  WindowObjectRegistryLock& operator=(const WindowObjectRegistryLock&) = delete;
  ~WindowObjectRegistryLock();

 private:
  CriticalSection& m_section;
};

// Keeps `object` pending for the current thread while in scope: enter it
// before making its window, and a window that never came leaves no entry.
class PendingWindowObject {
 public:
  explicit PendingWindowObject(CWindowObject& object) : m_object(object) { AddPendingWindowObject(object); }
  PendingWindowObject(const PendingWindowObject&) = delete;
  PendingWindowObject& operator=(const PendingWindowObject&) = delete;
  ~PendingWindowObject() { WithdrawPendingWindowObject(m_object); }

 private:
  CWindowObject& m_object;
};

}  // namespace qm
