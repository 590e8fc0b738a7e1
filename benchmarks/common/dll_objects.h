// Objects of a loaded server DLL, made as the shell makes them: its class
// object from DllGetClassObject, then CreateInstance.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "win/com_ptr.h"

namespace figures {

template <class Interface>
qm::ComPtr<Interface> Create(HMODULE dll, const CLSID& clsid) {
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(dll, "DllGetClassObject"));
  qm::ComPtr<IClassFactory> factory;
  qm::ComPtr<Interface> object;
  if (!get || FAILED(get(clsid, IID_IClassFactory, factory.put_void())) ||
      FAILED(factory->CreateInstance(nullptr, __uuidof(Interface), object.put_void()))) {
    std::fprintf(stderr, "no object from the DLL\n");
    std::exit(1);
  }
  return object;
}

}  // namespace figures
