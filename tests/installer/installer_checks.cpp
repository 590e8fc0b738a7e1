// The machine as the package leaves it, checked from a process of its own
// between the steps of msi-test.sh:
//   installer_checks.exe plant       InfoTip lists another program wrote
//   installer_checks.exe installed   after msiexec /i
//   installer_checks.exe removed     after msiexec /x
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "installed_state.h"
#include "win/com_ptr.h"

namespace installer_checks {
namespace {

constexpr CLSID kDirectoryClsid = {0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};
constexpr CLSID kFolderClsid = {0xA3D4F871, 0x62C5, 0x4B09, {0x8E, 0x7A, 0x15, 0xC9, 0xD2, 0xB0, 0xE4, 0x47}};

std::string Describe(const RegistryEntry& entry) {
  return std::string(entry.root == HKEY_LOCAL_MACHINE ? "HKLM\\" : "HKCR\\") + entry.key +
         (entry.key_only ? "" : " [" + (entry.value.empty() ? std::string("(default)") : entry.value) + "]");
}

TEST(Installed, BothFoldersHoldTheBuiltModulesAndWindowsInstallerListsTheProductPerMachine) {
  const std::string version = ProductVersion(BinFolder64() + "QuorvaneMarrowby.dll");
  ASSERT_FALSE(BinFolder32().empty()) << "QM_BIN32 names the 32-bit build's output folder";
  for (const auto& [installed, built] : {std::pair{Folder64(), BinFolder64()}, std::pair{Folder32(), BinFolder32()}}) {
    const std::vector<std::string> modules = PackagedModules(built);
    EXPECT_EQ(PackagedModules(installed), modules) << installed;
    EXPECT_GE(modules.size(), 2u) << "the DLL and at least one language module";
    for (const std::string& module : modules) {
      EXPECT_EQ(FileContent(installed + module), FileContent(built + module)) << installed + module;
    }
  }

  const std::vector<std::string> products = InstalledProducts();
  ASSERT_EQ(products.size(), 1u);
  EXPECT_EQ(PerMachineVersion(products[0]), version);
}

TEST(Installed, RegistrationWroteTheTreeForTheInstalledDllAndAddedToForeignInfoTipLists) {
  for (const RegistryEntry& entry : RegisteredEntries()) {
    if (entry.key_only) {
      EXPECT_TRUE(KeyExists(entry.root, entry.key)) << Describe(entry);
    } else {
      EXPECT_EQ(ReadString(entry.root, entry.key, entry.value), entry.data) << Describe(entry);
    }
  }
  for (const ForeignList& list : ForeignInfoTipLists()) {
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, list.class_key, "InfoTip"), std::string(list.text) + ";" + list.added_entry)
        << list.class_key;
  }
}

TEST(Installed, AnotherProcessCreatesBothClassesFromTheInstalledDll) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  struct Expected {
    const CLSID& clsid;
    std::vector<const IID*> interfaces;
  };
  for (const Expected& expected : {Expected{kDirectoryClsid, {&IID_IShellExtInit, &IID_IContextMenu}},
                                   Expected{kFolderClsid, {&IID_IColumnProvider}}}) {
    qm::ComPtr<IUnknown> object;
    ASSERT_EQ(CoCreateInstance(expected.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void()), S_OK);
    for (const IID* iid : expected.interfaces) {
      qm::ComPtr<IUnknown> answer;
      EXPECT_EQ(object->QueryInterface(*iid, answer.put_void()), S_OK);
    }
    // The object's code lives in the installed file.
    HMODULE module = nullptr;
    ASSERT_TRUE(
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           *reinterpret_cast<const char* const*>(object.get()), &module));
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    EXPECT_STRCASEEQ(path, (Folder64() + "QuorvaneMarrowby.dll").c_str());
  }
  CoUninitialize();
}

TEST(Installed, ThirtyTwoBitProgramsFindTheThirtyTwoBitDll) {
  if (!Has32BitSubsystem()) {
    GTEST_SKIP() << "this Wine has no 32-bit subsystem (no SysWOW64\\regsvr32.exe): "
                    "the package leaves the 32-bit DLL unregistered here";
  }
  for (const char* clsid : {"{5E2B7C40-1D93-4A6F-9C21-7B4E0A8D3F16}", "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}"}) {
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, std::string("CLSID\\") + clsid + "\\InprocServer32", "", KEY_WOW64_32KEY),
              Folder32() + "QuorvaneMarrowby.dll")
        << clsid;
  }
}

TEST(Removed, TheFilesFoldersAndProductAreGone) {
  for (const std::string& folder : {Folder64(), Folder32()}) {
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;
  }
  EXPECT_TRUE(InstalledProducts().empty());
}

TEST(Removed, EveryKeyAndValueRegistrationWroteIsGoneAndForeignInfoTipListsAreAsTheyWere) {
  for (const RegistryEntry& entry : RegisteredEntries()) {
    if (entry.key_only || entry.value.empty()) {
      EXPECT_FALSE(KeyExists(entry.root, entry.key)) << Describe(entry);
    } else {
      EXPECT_EQ(ReadString(entry.root, entry.key, entry.value), std::nullopt) << Describe(entry);
    }
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
  for (const ForeignList& list : ForeignInfoTipLists()) {
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, list.class_key, "InfoTip"), list.text) << list.class_key;
  }
}

}  // namespace
}  // namespace installer_checks

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const char* phase = argc > 1 ? argv[1] : "";
  if (std::strcmp(phase, "plant") == 0) {
    return installer_checks::PlantForeignInfoTipLists() ? 0 : 1;
  }
  if (std::strcmp(phase, "installed") == 0) {
    GTEST_FLAG_SET(filter, "Installed.*");
  } else if (std::strcmp(phase, "removed") == 0) {
    GTEST_FLAG_SET(filter, "Removed.*");
  } else {
    fprintf(stderr, "usage: installer_checks.exe plant|installed|removed\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
