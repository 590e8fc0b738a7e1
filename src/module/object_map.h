// The object map: a fixed, ordered table with one row per COM class. The
// order is the order of registration; unregistration walks it again.
//
// A class contributes its row with ClassRow (see product_classes.cpp):
//
//   ClassRow<CFolderShellExtension>(kClsidFolderShellExtension, &UpdateFolderShellExtensionRegistration,
//                                   "Quorvane Marrowby Folder Shell Extension"),
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <span>

#include "module/class_factory.h"
#include "win/com_object.h"
#include "win/module_static.h"
#include "win/unique_resource.h"

namespace qm {

// Writes (true) or removes (false) a class's registry entries.
using RegistrationRoutine = HRESULT (*)(bool register_server);
// Makes the class object for an object creator, queried for the interface.
using ClassObjectCreator = HRESULT (*)(ObjectCreator creator, REFIID iid, void** out);

struct ObjectMapEntry {
  const CLSID* clsid = nullptr;
  RegistrationRoutine update_registration = nullptr;
  ClassObjectCreator create_class_object = nullptr;
  ObjectCreator create_object = nullptr;
  IUnknown* class_object = nullptr;  // cached from the first request until the map ends
  const char* description = nullptr;
  std::span<const CATID> categories;  // component categories the class implements
};

template <class T>
constexpr ObjectMapEntry ClassRow(const CLSID& clsid, RegistrationRoutine update_registration,
                                  const char* description, std::span<const CATID> categories = {}) {
  return {&clsid, update_registration, &ClassFactory::Create, &CreateComObject<T>, nullptr, description, categories};
}

// Closes a table of rows.
constexpr ObjectMapEntry EndOfObjectMap() { return {}; }

class ObjectMap {
 public:
  // `rows` ends with EndOfObjectMap(), which is not part of the map.
  template <std::size_t N>
  constexpr explicit ObjectMap(ObjectMapEntry (&rows)[N]) noexcept : m_entries(rows, N - 1) {}
  ObjectMap(const ObjectMap&) = delete;
  ObjectMap& operator=(const ObjectMap&) = delete;

  // Makes the map's lock; false when it cannot be made.
  bool Initialize() noexcept;
  // Releases the cached class objects and the lock; requests fail from then on.
  void Terminate() noexcept;

  // The class object of the first row with a class-object creator for
  // `clsid`, made once and cached, queried for `iid`.
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept;

  // Each row's registration routine and then its categories, in map order;
  // stops at the first failure and returns it. A row without a routine fails
  // with E_NOTIMPL.
  HRESULT RegisterClasses() noexcept;
  // Each row's categories and then its routine, in map order, likewise; but
  // an item found gone (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) stops
  // nothing: its status is returned once every row has run.
  HRESULT UnregisterClasses() noexcept;

  std::span<const ObjectMapEntry> entries() const noexcept { return m_entries; }

 private:
  HRESULT CachedClassObject(ObjectMapEntry& entry, IUnknown*& class_object) noexcept;

  std::span<ObjectMapEntry> m_entries;
  ModuleStatic<CriticalSection> m_lock;  // made by Initialize, gone with Terminate
  std::atomic<bool> m_initialized{false};
};

}  // namespace qm
