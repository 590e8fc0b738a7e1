// Owning pointer for COM interfaces.
#pragma once

#include <unknwn.h>

#include <utility>

namespace qm {

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a new reference on `p`.
  explicit ComPtr(T* p) noexcept : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Adopts a reference the caller already owns.
  static ComPtr Attach(T* p) noexcept {
    ComPtr result;
    result.m_p = p;
    return result;
  }

  T* get() const noexcept { return m_p; }
  T* operator->() const noexcept { return m_p; }
  explicit operator bool() const noexcept { return m_p != nullptr; }

  void reset() noexcept {
    if (T* old = std::exchange(m_p, nullptr)) old->Release();
  }
  T* detach() noexcept { return std::exchange(m_p, nullptr); }
  T** put() noexcept {
    reset();
    return &m_p;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  // QueryInterface into another owning pointer; the status is returned.
  template <class U>
  HRESULT As(ComPtr<U>& out, REFIID iid = __uuidof(U)) const noexcept {
    if (!m_p) {
      out.reset();
      return E_POINTER;
    }
    return m_p->QueryInterface(iid, out.put_void());
  }

 private:
  T* m_p = nullptr;
};

}  // namespace qm
