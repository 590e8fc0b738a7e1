// COM objects from an interface table, with aggregation.
//
// A class derives from ComClass with its interfaces in order and implements
// only their own methods; IUnknown comes from the templates:
//
//   class CExample : public qm::ComClass<IShellExtInit, IContextMenu> {
//    public:
//     STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY) override {
//       return qm::CallAtBoundary([&] { ... });   // raised failures become the status
//     }
//     ...
//    protected:
//     ~CExample() = default;
//   };
//
// - QueryInterface answers the listed interfaces (each needs a __uuidof; see
//   __CRT_UUID_DECL for those mingw-w64 lacks) and IUnknown with the first.
// - qm::CreateComObject<CExample> is the object creator of the class's object
//   map row: it makes a ComObject<CExample> (plain, non-atomic reference
//   count), or with an outer unknown an AggregatedComObject<CExample> whose
//   inner unknown owns the object and whose interfaces forward IUnknown to the
//   outer one. A constructor that raises gives E_OUTOFMEMORY.
// - Every instance holds one module lock from construction to destruction.
// - To hand itself out, an object calls QueryInterface through one of its
//   interfaces: `static_cast<IContextMenu*>(this)->QueryInterface(...)`; not
//   from its constructor, which runs before the IUnknown part exists.
#pragma once

#include <unknwn.h>

#include <new>

#include "win/module_lock.h"

namespace qm {

template <class First, class... Rest>
class ComClass : private ModuleLockHolder, public First, public Rest... {
 public:
  ComClass(const ComClass&) = delete;
  ComClass& operator=(const ComClass&) = delete;

 protected:
  ComClass() = default;
  ~ComClass() = default;

  // The interface pointer for `iid`, or null; IUnknown is the first interface.
  void* FindInterface(REFIID iid) noexcept {
    if (InlineIsEqualGUID(iid, IID_IUnknown)) return static_cast<IUnknown*>(static_cast<First*>(this));
    void* found = nullptr;
    (Match<First>(iid, found) || ... || Match<Rest>(iid, found));
    return found;
  }

 private:
  template <class Interface>
  bool Match(REFIID iid, void*& found) noexcept {
    if (!InlineIsEqualGUID(iid, __uuidof(Interface))) return false;
    found = static_cast<Interface*>(this);
    return true;
  }
};

// The plain form: its own reference count, used by one apartment.
template <class T>
class ComObject final : public T {
 public:
  IUnknown* Identity() noexcept { return static_cast<IUnknown*>(this->FindInterface(IID_IUnknown)); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = this->FindInterface(iid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG m_references = 0;
};

// The aggregated form: the outer unknown holds the inner one, which owns the
// object; every interface of the class forwards IUnknown to the outer unknown.
template <class T>
class AggregatedComObject final : public T {
 public:
  explicit AggregatedComObject(IUnknown* outer) : m_outer(outer), m_inner(*this) {}

  IUnknown* InnerUnknown() noexcept { return &m_inner; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return m_outer->QueryInterface(iid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return m_outer->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_outer->Release(); }

 private:
  class Inner final : public IUnknown {
   public:
    explicit Inner(AggregatedComObject& owner) noexcept : m_owner(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
      if (!out) return E_POINTER;
      *out = InlineIsEqualGUID(iid, IID_IUnknown) ? static_cast<IUnknown*>(this) : m_owner.FindInterface(iid);
      if (!*out) return E_NOINTERFACE;
      static_cast<IUnknown*>(*out)->AddRef();
      return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override {
      const ULONG left = --m_references;
      if (left == 0) delete &m_owner;
      return left;
    }

   private:
    AggregatedComObject& m_owner;
    ULONG m_references = 0;
  };

  IUnknown* m_outer;  // not counted: the outer object owns this one
  Inner m_inner;
};

// Makes an instance, aggregated when `outer` is given, and queries it for `iid`.
using ObjectCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

// The object creator of class T.
template <class T>
HRESULT CreateComObject(IUnknown* outer, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer && !InlineIsEqualGUID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  IUnknown* object = nullptr;
  try {
    if (outer)
      object = (new AggregatedComObject<T>(outer))->InnerUnknown();
    else
      object = (new ComObject<T>())->Identity();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  object->AddRef();
  const HRESULT result = object->QueryInterface(iid, out);
  object->Release();  // the object goes when the query failed
  return result;
}

}  // namespace qm
