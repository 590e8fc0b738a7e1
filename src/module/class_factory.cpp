#include "module/class_factory.h"

#include <new>

#include "win/module_lock.h"

namespace qm {

HRESULT ClassFactory::Create(ObjectCreator creator, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* factory = new (std::nothrow) ClassFactory(creator);
  if (!factory) return E_OUTOFMEMORY;
  if (!factory->m_section.ok()) {
    delete factory;
    return E_OUTOFMEMORY;
  }
  factory->AddRef();
  const HRESULT result = factory->QueryInterface(iid, out);
  factory->Release();
  return result;
}

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (!InlineIsEqualGUID(iid, IID_IUnknown) && !InlineIsEqualGUID(iid, IID_IClassFactory)) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

// The module lock follows the clients' references: taken at the second
// reference, given back when only the map's remains.
STDMETHODIMP_(ULONG) ClassFactory::AddRef() {
  CriticalSectionLock hold(m_section);
  const LONG count = InterlockedIncrement(&m_references);
  if (count == 2) LockModule();
  return static_cast<ULONG>(count);
}

STDMETHODIMP_(ULONG) ClassFactory::Release() {
  LONG count;
  {
    CriticalSectionLock hold(m_section);
    count = InterlockedDecrement(&m_references);
    if (count == 1) UnlockModule();
  }
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer && !InlineIsEqualGUID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return m_creator(outer, iid, out);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock)
    LockModule();
  else
    UnlockModule();
  return S_OK;
}

}  // namespace qm
