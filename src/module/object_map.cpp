#include "module/object_map.h"

#include <comcat.h>

#include "registration/removal_steps.h"
#include "win/com_ptr.h"

namespace qm {
namespace {

HRESULT UpdateCategories(const ObjectMapEntry& entry, bool register_server) {
  if (entry.categories.empty()) return S_OK;
  ComPtr<ICatRegister> categories;
  const HRESULT created = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_ICatRegister, categories.put_void());
  if (FAILED(created)) return created;
  auto* ids = const_cast<CATID*>(entry.categories.data());
  const auto count = static_cast<ULONG>(entry.categories.size());
  return register_server ? categories->RegisterClassImplCategories(*entry.clsid, count, ids)
                         : categories->UnRegisterClassImplCategories(*entry.clsid, count, ids);
}

}  // namespace

bool ObjectMap::Initialize() noexcept {
  if (m_initialized.load()) return true;
  m_lock.emplace();
  if (!m_lock->ok()) {
    m_lock.reset();
    return false;
  }
  m_initialized.store(true);
  return true;
}

void ObjectMap::Terminate() noexcept {
  if (!m_initialized.exchange(false)) return;
  for (ObjectMapEntry& entry : m_entries) {
    if (IUnknown* cached = std::atomic_ref(entry.class_object).exchange(nullptr)) cached->Release();
  }
  m_lock.reset();
}

HRESULT ObjectMap::CachedClassObject(ObjectMapEntry& entry, IUnknown*& class_object) noexcept {
  std::atomic_ref cached(entry.class_object);
  class_object = cached.load();
  if (class_object) return S_OK;
  CriticalSectionLock hold(*m_lock);
  class_object = cached.load();  // made by another thread meanwhile?
  if (class_object) return S_OK;
  IUnknown* made = nullptr;
  const HRESULT result = entry.create_class_object(entry.create_object, IID_IUnknown, reinterpret_cast<void**>(&made));
  if (FAILED(result)) return result;
  if (!made) return CLASS_E_CLASSNOTAVAILABLE;
  cached.store(made);
  class_object = made;
  return S_OK;
}

HRESULT ObjectMap::GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept {
  if (!m_initialized.load()) return E_UNEXPECTED;
  if (!out) return E_POINTER;
  *out = nullptr;
  for (ObjectMapEntry& entry : m_entries) {
    if (!entry.create_class_object || !InlineIsEqualGUID(*entry.clsid, clsid)) continue;
    IUnknown* class_object = nullptr;
    if (const HRESULT made = CachedClassObject(entry, class_object); FAILED(made)) return made;
    const HRESULT result = class_object->QueryInterface(iid, out);
    if (result == S_OK && !*out) return CLASS_E_CLASSNOTAVAILABLE;
    return result;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ObjectMap::RegisterClasses() noexcept {
  for (const ObjectMapEntry& entry : m_entries) {
    if (!entry.update_registration) return E_NOTIMPL;
    HRESULT result = entry.update_registration(true);
    if (FAILED(result)) return result;
    result = UpdateCategories(entry, true);
    if (FAILED(result)) return result;
  }
  return S_OK;
}

HRESULT ObjectMap::UnregisterClasses() noexcept {
  return CallAtBoundary([this] {
    RemovalSteps steps;
    for (const ObjectMapEntry& entry : m_entries) {
      if (!entry.update_registration) RaiseStatus(E_NOTIMPL);
      steps.Run([&] { RaiseIfFailed(UpdateCategories(entry, false)); });
      steps.Run([&] { RaiseIfFailed(entry.update_registration(false)); });
    }
    steps.Finish();
  });
}

}  // namespace qm
