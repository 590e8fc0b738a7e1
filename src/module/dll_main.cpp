// The exported entry points. DllMain only records the module and makes its
// locks; the language choice waits for the first entry point that is served.
#include <windows.h>
#include <olectl.h>

#include "module/frame_tables.h"
#include "module/module_object.h"
#include "module/product_classes.h"
#include "registration/removal_steps.h"
#include "win/boundary.h"
#include "win/errors.h"
#include "win/module_instance.h"
#include "win/module_lock.h"
#include "win/type_library.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      qm::RegisterFrameTables(instance);
      qm::AttachModule(instance);
      return qm::ModuleInitializationFailed() ? FALSE : TRUE;
    case DLL_PROCESS_DETACH:
      // When the process ends (reserved is set) other threads may have died
      // holding locks; the system reclaims everything, so nothing is undone.
      if (!reserved) {
        qm::DetachModule();
        qm::DeregisterFrameTables();
      }
      return TRUE;
    default:
      return TRUE;
  }
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (const HRESULT chosen = qm::ChooseResourceModule(); FAILED(chosen)) {
    if (out) *out = nullptr;
    return chosen;
  }
  return qm::ProductObjectMap().GetClassObject(clsid, iid, out);
}

STDAPI DllCanUnloadNow() {
  if (const HRESULT chosen = qm::ChooseResourceModule(); FAILED(chosen)) return chosen;
  return qm::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return qm::CallAtBoundary([]() -> HRESULT {
    qm::RaiseIfFailed(qm::ChooseResourceModule());
    const HRESULT classes = qm::ProductObjectMap().RegisterClasses();
    if (FAILED(classes)) return classes;
    return qm::RegisterTypeLibrary(qm::MainModule());
  });
}

STDAPI DllUnregisterServer() {
  return qm::CallAtBoundary([]() -> HRESULT {
    qm::RaiseIfFailed(qm::ChooseResourceModule());
    const HRESULT classes = qm::ProductObjectMap().UnregisterClasses();
    if (classes == qm::kItemAlreadyGone) {
      // The other bitness took the keys both share: the type library goes
      // too, and the first failure is the one reported.
      qm::CallAtBoundary([] { qm::UnregisterTypeLibrary(qm::MainModule()); });
      return classes;
    }
    if (FAILED(classes)) return classes;
    qm::UnregisterTypeLibrary(qm::MainModule());
    return S_OK;
  });
}
