#include "harness/shipped_dll.h"

#include <gtest/gtest.h>

namespace harness {

ShippedDll::ShippedDll() { module = LoadLibraryA("QuorvaneMarrowby.dll"); }

ShippedDll::~ShippedDll() {
  if (module) FreeLibrary(module);
}

qm::ComPtr<IClassFactory> ShippedDll::ClassObject(const CLSID& clsid) const {
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(module, "DllGetClassObject"));
  qm::ComPtr<IClassFactory> factory;
  if (!get || FAILED(get(clsid, IID_IClassFactory, factory.put_void()))) ADD_FAILURE() << "no class object";
  return factory;
}

}  // namespace harness
