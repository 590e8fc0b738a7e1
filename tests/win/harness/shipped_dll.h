// The shipped DLL loaded into a test, its class objects as Explorer gets
// them, and a fixture that drives it with its imports intercepted.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "harness/imports.h"
#include "harness/ntfs_model.h"
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

// The coclass whose type information `info` hands out; GUID_NULL (and the
// test failed) when there is none.
GUID CoclassOf(IProvideClassInfo* info);

// The shipped DLL with the ledger and then the NTFS model on its imports,
// and a fresh scratch folder D:\<suite>.<test>. A test fails when the DLL
// leaves anything open or releases what it never opened.
class ShippedDllTest : public ::testing::Test {
 protected:
  ShippedDllTest();
  ~ShippedDllTest() override;
  void TearDown() override;

  std::string At(const std::string& name) const { return scratch + "\\" + name; }

  ShippedDll dll;
  Imports imports{dll.module};

 private:
  struct LedgerFirst {
    explicit LedgerFirst(Imports& imports);
  } m_ledger_first{imports};

 protected:
  NtfsModel model{imports};
  std::string scratch;
};

}  // namespace harness
