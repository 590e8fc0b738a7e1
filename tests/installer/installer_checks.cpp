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
#include "registry_state.h"
#include "win/com_ptr.h"
#include "win/unique_resource.h"

namespace installer_checks {
namespace {

using registration_tests::ExpectedRegistration;
using registration_tests::InfoTipLine;
using registration_tests::kFmtid;
using registration_tests::ReadRegistration;

constexpr CLSID kDirectoryClsid = {0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};
constexpr CLSID kFolderClsid = {0xA3D4F871, 0x62C5, 0x4B09, {0x8E, 0x7A, 0x15, 0xC9, 0xD2, 0xB0, 0xE4, 0x47}};
constexpr char kForeignDirectoryList[] = "prop:System.ItemType;{F29F85E0-4FF9-1068-AB91-08002B27B3D9}4";
constexpr char kForeignFileList[] = "prop:Type;Size";

std::string InstalledDll() { return Folder64() + "QuorvaneMarrowby.dll"; }

TEST(Before, PlantForeignInfoTipLists) {
  for (const auto& [class_key, text] : {std::pair{"Directory", kForeignDirectoryList}, {"*", kForeignFileList}}) {
    registration_tests::WriteValue(HKEY_CLASSES_ROOT, class_key, "InfoTip", {REG_SZ, std::string(text) + '\0'});
  }
}

TEST(Installed, BothFoldersHoldTheBuiltModulesAndWindowsInstallerListsTheProductPerMachine) {
  ASSERT_FALSE(BinFolder32().empty()) << "QM_BIN32 names the 32-bit build's output folder";
  for (const auto& [installed, built] : {std::pair{Folder64(), BinFolder64()}, {Folder32(), BinFolder32()}}) {
    const auto modules = PackagedModules(built);
    EXPECT_GE(modules.size(), 2u) << "the DLL and at least one language module in " << built;
    EXPECT_TRUE(PackagedModules(installed) == modules) << installed << " does not hold the modules of " << built;
  }
  const std::vector<std::string> products = InstalledProducts();
  ASSERT_EQ(products.size(), 1u);
  EXPECT_EQ(PerMachineVersion(products[0]), ProductVersion(BinFolder64() + "QuorvaneMarrowby.dll"));
}

TEST(Installed, RegistrationWroteTheTreeForTheInstalledDllAndAddedToForeignInfoTipLists) {
  EXPECT_EQ(ReadRegistration(),
            ExpectedRegistration({.directory = true, .folder = true, .library = true}, InstalledDll(),
                                 {InfoTipLine("Directory", kForeignDirectoryList + (";" + kFmtid) + "1"),
                                  InfoTipLine("*", kForeignFileList + (";" + kFmtid) + "3")}));
}

TEST(Installed, AnotherProcessCreatesBothClassesFromTheInstalledDll) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  for (const auto& [clsid, interfaces] : {std::pair{kDirectoryClsid, std::vector{IID_IShellExtInit, IID_IContextMenu}},
                                          {kFolderClsid, std::vector{IID_IColumnProvider}}}) {
    qm::ComPtr<IUnknown> object;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.put_void()), S_OK);
    for (const IID& iid : interfaces) {
      qm::ComPtr<IUnknown> answer;
      EXPECT_EQ(object->QueryInterface(iid, answer.put_void()), S_OK);
    }
    // The object's code (its interface table) lives in the installed file.
    HMODULE module = nullptr;
    ASSERT_TRUE(
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           *reinterpret_cast<const char* const*>(object.get()), &module));
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    EXPECT_STRCASEEQ(path, InstalledDll().c_str());
  }
  CoUninitialize();
}

TEST(Installed, ThirtyTwoBitProgramsFindTheThirtyTwoBitDll) {
  if (!Has32BitSubsystem()) {
    GTEST_SKIP() << "this Wine has no 32-bit subsystem (no SysWOW64\\regsvr32.exe): "
                    "the package leaves the 32-bit DLL unregistered here";
  }
  for (const std::string& clsid : {qm::testing::kDirectoryClass.clsid, qm::testing::kFolderClass.clsid}) {
    char path[MAX_PATH] = {};
    LONG size = sizeof path;
    qm::UniqueRegKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsid).c_str(), 0, KEY_READ | KEY_WOW64_32KEY, key.put()),
              ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueA(key.get(), "InprocServer32", path, &size), ERROR_SUCCESS);
    EXPECT_EQ(path, Folder32() + "QuorvaneMarrowby.dll");
  }
}

TEST(Removed, TheFilesFoldersAndProductAreGone) {
  for (const std::string& folder : {Folder64(), Folder32()}) {
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;
  }
  EXPECT_TRUE(InstalledProducts().empty());
}

TEST(Removed, EveryKeyAndValueRegistrationWroteIsGoneAndForeignInfoTipListsAreAsTheyWere) {
  EXPECT_EQ(ReadRegistration(), ExpectedRegistration({}, InstalledDll(),
                                                     {InfoTipLine("Directory", kForeignDirectoryList),
                                                      InfoTipLine("*", kForeignFileList)}));
}

}  // namespace
}  // namespace installer_checks

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const char* phase = argc > 1 ? argv[1] : "";
  const char* suite = std::strcmp(phase, "plant") == 0       ? "Before.*"
                      : std::strcmp(phase, "installed") == 0 ? "Installed.*"
                      : std::strcmp(phase, "removed") == 0   ? "Removed.*"
                                                             : nullptr;
  if (!suite) {
    fprintf(stderr, "usage: installer_checks.exe plant|installed|removed\n");
    return 2;
  }
  GTEST_FLAG_SET(filter, suite);
  return RUN_ALL_TESTS();
}
