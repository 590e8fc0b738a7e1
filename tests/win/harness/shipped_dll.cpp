#include "harness/shipped_dll.h"

#include "harness/ledger.h"
#include "harness/test_files.h"

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

GUID CoclassOf(IProvideClassInfo* info) {
  qm::ComPtr<ITypeInfo> type;
  TYPEATTR* attributes = nullptr;
  GUID coclass = GUID_NULL;
  if (SUCCEEDED(info->GetClassInfo(type.put())) && SUCCEEDED(type->GetTypeAttr(&attributes))) {
    if (attributes->typekind == TKIND_COCLASS) coclass = attributes->guid;
    type->ReleaseTypeAttr(attributes);
  }
  EXPECT_NE(coclass, GUID_NULL) << "no coclass";
  return coclass;
}

ShippedDllTest::LedgerFirst::LedgerFirst(Imports& imports) { ledger::Install(imports); }

ShippedDllTest::ShippedDllTest() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  scratch = std::string("D:\\") + test->test_suite_name() + "." + test->name();
  RemoveTree(scratch);
  MakeDirectory(scratch);
  ledger::Forget();
  imports.ResetCounts();
}

void ShippedDllTest::TearDown() {
  for (const auto& open : ledger::Open()) ADD_FAILURE() << "still open: " << open;
  for (const auto& stray : ledger::StrayReleases()) ADD_FAILURE() << "stray release: " << stray;
}

ShippedDllTest::~ShippedDllTest() { RemoveTree(scratch); }

}  // namespace harness
