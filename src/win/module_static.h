// Storage for a module-wide object that only reset() destroys. The runtime
// runs a DLL's static destructors also while the process ends, when nothing
// may be freed or unregistered; the module resets these when it is unloaded.
#pragma once

#include <memory>
#include <utility>

namespace qm {

template <class T>
class ModuleStatic {
 public:
  constexpr ModuleStatic() noexcept {}
  ModuleStatic(const ModuleStatic&) = delete;
  ModuleStatic& operator=(const ModuleStatic&) = delete;
  ~ModuleStatic() {}  // the object, if any, is left to the system

  template <class... Args>
  T& emplace(Args&&... args) {
    reset();
    T* made = std::construct_at(&m_storage.object, std::forward<Args>(args)...);
    m_has_object = true;
    return *made;
  }
  void reset() noexcept {
    if (!std::exchange(m_has_object, false)) return;
    std::destroy_at(&m_storage.object);
  }

  explicit operator bool() const noexcept { return m_has_object; }
  T& operator*() noexcept { return m_storage.object; }
  T* operator->() noexcept { return &m_storage.object; }

 private:
  union Storage {
    constexpr Storage() noexcept : none() {}
    ~Storage() {}
    char none;
    T object;
  } m_storage;
  bool m_has_object = false;
};

}  // namespace qm
