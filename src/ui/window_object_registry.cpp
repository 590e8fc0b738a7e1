#include "ui/window_object_registry.h"

#include "core/status.h"
#include "win/module_static.h"
#include "win/unique_resource.h"

namespace qm {

// The list is threaded through the objects themselves, newest first, so
// entering an object cannot fail for want of memory.
class WindowObjectRegistry {
 public:
  static bool Initialize() noexcept {
    if (s_lock) return s_lock->ok();
    s_lock.emplace();
    if (s_lock->ok()) return true;
    s_lock.reset();
    return false;
  }

  static void Uninitialize() noexcept {
    if (!s_lock) return;
    {
      CriticalSectionLock hold(*s_lock);
      while (s_newest) Unlink(&s_newest);
    }
    s_lock.reset();
  }

  static CriticalSection& Lock() {
    if (!s_lock) RaiseStatus(status::Unexpected);
    return *s_lock;
  }

  static void Add(CWindowObject& object) {
    CriticalSectionLock hold(Lock());
    if (object.m_pending_thread != 0 || object.m_window) RaiseStatus(status::Unexpected);
    object.m_pending_thread = GetCurrentThreadId();
    object.m_next_pending = s_newest;
    s_newest = &object;
  }

  static CWindowObject* Take() noexcept {
    if (!s_lock) return nullptr;
    CriticalSectionLock hold(*s_lock);
    const DWORD thread = GetCurrentThreadId();
    for (CWindowObject** link = &s_newest; *link; link = &(*link)->m_next_pending)
      if ((*link)->m_pending_thread == thread) return Unlink(link);
    return nullptr;
  }

  static void Withdraw(CWindowObject& object) noexcept {
    if (!s_lock) return;
    CriticalSectionLock hold(*s_lock);
    for (CWindowObject** link = &s_newest; *link; link = &(*link)->m_next_pending)
      if (*link == &object) {
        Unlink(link);
        return;
      }
  }

 private:
  static CWindowObject* Unlink(CWindowObject** link) noexcept {
    CWindowObject* object = *link;
    *link = object->m_next_pending;
    object->m_next_pending = nullptr;
    object->m_pending_thread = 0;
    return object;
  }

  static inline ModuleStatic<CriticalSection> s_lock;
  static inline CWindowObject* s_newest = nullptr;
};

bool InitializeWindowObjectRegistry() noexcept { return WindowObjectRegistry::Initialize(); }
void UninitializeWindowObjectRegistry() noexcept { WindowObjectRegistry::Uninitialize(); }
void AddPendingWindowObject(CWindowObject& object) { WindowObjectRegistry::Add(object); }
CWindowObject* TakePendingWindowObject() noexcept { return WindowObjectRegistry::Take(); }
void WithdrawPendingWindowObject(CWindowObject& object) noexcept { WindowObjectRegistry::Withdraw(object); }

WindowObjectRegistryLock::WindowObjectRegistryLock() : m_section(WindowObjectRegistry::Lock()) { m_section.Enter(); }
WindowObjectRegistryLock::~WindowObjectRegistryLock() { m_section.Leave(); }

}  // namespace qm
