// The machine as the package leaves it, checked from a process of its own
// between the steps of msi-test.sh, of each bitness (the registry in the view
// of that bitness, where Windows 7 and later keep some keys per view and
// share the others):
//   installer_checks.exe plant       InfoTip lists another program wrote
//   installer_checks.exe installed   after msiexec /i
//   installer_checks.exe removed     after msiexec /x
//   installer_checks.exe unregistered  the registry alone, after a rollback
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

constexpr REGSAM kOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

std::string InstalledDll() { return OwnFolder() + "QuorvaneMarrowby.dll"; }

TEST(Before, PlantForeignInfoTipLists) {
  for (const auto& [class_key, text] : {std::pair{"Directory", kForeignDirectoryList}, {"*", kForeignFileList}}) {
    registration_tests::WriteValue(HKEY_CLASSES_ROOT, class_key, "InfoTip", {REG_SZ, std::string(text) + '\0'});
  }
}

TEST(Installed, BothFoldersHoldTheBuiltModulesAndWindowsInstallerListsTheProductPerMachine) {
  ASSERT_FALSE(BinFolder32().empty()) << "QM_BIN32 names the 32-bit build's output folder";
  for (const auto& [installed, built] : {std::pair{OwnFolder(), OwnBinFolder()}, {Folder32(), BinFolder32()}}) {
    const auto modules = PackagedModules(built);
    EXPECT_GE(modules.size(), 2u) << "the DLL and at least one language module in " << built;
    EXPECT_TRUE(PackagedModules(installed) == modules) << installed << " does not hold the modules of " << built;
  }
  const std::vector<std::string> products = InstalledProducts();
  ASSERT_EQ(products.size(), 1u);
  EXPECT_EQ(PerMachineVersion(products[0]), ProductVersion(OwnBinFolder() + "QuorvaneMarrowby.dll"));
}

TEST(Installed, RegistrationWroteTheTreeForTheInstalledDllAndAddedToForeignInfoTipLists) {
  EXPECT_EQ(ReadRegistration(kOwnView),
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

TEST(Removed, TheFilesFoldersAndProductAreGone) {
  for (const std::string& folder : {OwnFolder(), Folder32()}) {
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;
  }
  EXPECT_TRUE(InstalledProducts().empty());
}

TEST(Removed, EveryKeyAndValueRegistrationWroteIsGoneAndForeignInfoTipListsAreAsTheyWere) {
  EXPECT_EQ(ReadRegistration(kOwnView), ExpectedRegistration({}, InstalledDll(),
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
                      : std::strcmp(phase, "unregistered") == 0 ? "Removed.EveryKey*"
                                                             : nullptr;
  if (!suite) {
    fprintf(stderr, "usage: installer_checks.exe plant|installed|removed|unregistered\n");
    return 2;
  }
  GTEST_FLAG_SET(filter, suite);
  return RUN_ALL_TESTS();
}
