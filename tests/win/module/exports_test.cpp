// The shipped DLL as a client sees it: through its exported entry points.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "harness/imports.h"
#include "module_test_support.h"
#include "win/type_library.h"

namespace {

using module_tests::BinFolder;
using module_tests::Library;

using GetClassObjectFunction = HRESULT WINAPI(REFCLSID, REFIID, void**);
using ServerFunction = HRESULT WINAPI();

constexpr CLSID kDirectoryClsid = {0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};
constexpr CLSID kUnknownClsid = {0x3C0B9A5F, 0x7E2D, 0x4F18, {0x9A, 0x64, 0x21, 0x5D, 0x8C, 0x03, 0xB7, 0xE9}};
constexpr char kLibraryKey[] = "TypeLib\\{D7C1A5E2-3B84-4F60-B2D9-6E0F4A91C358}";

std::string DefaultValue(const std::string& key) {
  char value[MAX_PATH * 2] = {};
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return "(missing)";
  return value;
}

bool KeyExists(const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

TEST(Exports, UnknownClassesAndMissingPointersAreRefused) {
  Library dll(BinFolder() + "QuorvaneMarrowby.dll");
  ASSERT_NE(dll.get(), nullptr);
  auto* get_class_object = dll.Export<GetClassObjectFunction>("DllGetClassObject");
  auto* can_unload_now = dll.Export<ServerFunction>("DllCanUnloadNow");
  ASSERT_TRUE(get_class_object && can_unload_now);

  void* out = &out;
  EXPECT_EQ(get_class_object(kUnknownClsid, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(get_class_object(kUnknownClsid, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(can_unload_now(), S_OK);
}

TEST(Exports, TheTypeLibraryRoundTrips) {
  Library dll(BinFolder() + "QuorvaneMarrowby.dll");
  ASSERT_NE(dll.get(), nullptr);
  ASSERT_FALSE(KeyExists(kLibraryKey)) << "type library registered before the test";

  ASSERT_EQ(qm::RegisterTypeLibrary(dll.get()), S_OK);
  const std::string version = std::string(kLibraryKey) + "\\1.0";
  EXPECT_EQ(DefaultValue(version), "Quorvane Marrowby Module 1.0 Type Library");
  EXPECT_EQ(DefaultValue(version + (sizeof(void*) == 8 ? "\\409\\win64" : "\\409\\win32")), dll.path());
  EXPECT_EQ(DefaultValue(version + "\\HELPDIR"), BinFolder());
  EXPECT_EQ(qm::UnregisterTypeLibrary(dll.get()), S_OK);
  EXPECT_FALSE(KeyExists(kLibraryKey));
}

std::set<void*> g_entered, g_deleted;  // critical sections the DLL's own calls touched

TEST(Exports, UnloadingReleasesTheClassObjectItHandedOutAndDeletesTheLocksItUsed) {
  const HMODULE dll = LoadLibraryA((BinFolder() + "QuorvaneMarrowby.dll").c_str());
  ASSERT_NE(dll, nullptr);
  harness::Imports imports(dll);
  imports.Replace("EnterCriticalSection", +[](LPCRITICAL_SECTION s) WINAPI {
    g_entered.insert(s);
    EnterCriticalSection(s);
  });
  imports.Replace("DeleteCriticalSection", +[](LPCRITICAL_SECTION s) WINAPI {
    g_deleted.insert(s);
    DeleteCriticalSection(s);
  });
  auto* get_class_object = reinterpret_cast<GetClassObjectFunction*>(GetProcAddress(dll, "DllGetClassObject"));
  IClassFactory* factory = nullptr;
  ASSERT_EQ(get_class_object(kDirectoryClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  factory->Release();  // the module keeps its own reference
  // The object map's lock and the class object's own section (destroyed only
  // when the module releases it).
  EXPECT_GE(g_entered.size(), 2u);
  FreeLibrary(dll);
  imports.ModuleUnloaded();
  for (void* section : g_entered) EXPECT_EQ(g_deleted.count(section), 1u) << section;
}

TEST(Exports, AReloadedModuleStartsFresh) {
  // A copy of the test module, whose lock count the test can raise directly.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string copy = std::string(temp) + "qm_reloaded_" + std::to_string(GetCurrentProcessId()) + ".dll";
  ASSERT_TRUE(CopyFileA((BinFolder() + "qm_testable.dll").c_str(), copy.c_str(), FALSE));
  {
    Library first(copy);
    ASSERT_NE(first.get(), nullptr);
    auto* lock_module = first.Export<LONG()>("_ZN2qm10LockModuleEv");
    ASSERT_NE(lock_module, nullptr);
    EXPECT_EQ(lock_module(), 1);
    EXPECT_EQ(first.Export<ServerFunction>("DllCanUnloadNow")(), S_FALSE);
  }
  {
    Library second(copy);
    ASSERT_NE(second.get(), nullptr);
    EXPECT_EQ(second.Export<ServerFunction>("DllCanUnloadNow")(), S_OK);
  }
  DeleteFileA(copy.c_str());
}

}  // namespace
