// The shipped DLL loaded into a test, and its class objects as Explorer
// gets them.
#pragma once

#include <windows.h>

#include "win/com_ptr.h"

namespace harness {

class ShippedDll {
 public:
  ShippedDll();  // QuorvaneMarrowby.dll beside the test program
  ~ShippedDll();
  ShippedDll(const ShippedDll&) = delete;
  ShippedDll& operator=(const ShippedDll&) = delete;

  // The class object of `clsid` from DllGetClassObject; empty (and the test
  // failed) when there is none.
  qm::ComPtr<IClassFactory> ClassObject(const CLSID& clsid) const;

  HMODULE module = nullptr;
};

}  // namespace harness
