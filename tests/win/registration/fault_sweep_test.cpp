// Every call of a registration routine failed once in turn: the failure's
// status comes back (or, where the call has a fallback, the complete result),
// no key stays open, the "InfoTip" lists keep their foreign entries and other
// programs' property sheet handlers stay.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "directory_extension/directory_registration.h"
#include "folder_extension/folder_registration.h"
#include "harness/fault_sweep.h"
#include "harness/ledger.h"
#include "module_test_support.h"
#include "registry_state.h"

namespace registration_tests {
namespace {

using namespace std::string_literals;

constexpr HRESULT kInjected = HRESULT_FROM_WIN32(ERROR_IO_DEVICE);
constexpr char kForeignDirectoryList[] = "prop:Foreign.Name;";
constexpr char kForeignFileList[] = "prop:Type;Size";
// Another program's property sheets beside the directory class's.
constexpr const char* kForeignSheets[] = {"Directory\\shellex\\PropertySheetHandlers\\Foreign",
                                          "*\\shellex\\PropertySheetHandlers\\Foreign"};

bool StartsWith(const std::optional<RawValue>& value, const std::string& prefix) {
  return value && value->type == REG_SZ && value->bytes.compare(0, prefix.size(), prefix) == 0;
}

class RegistrationFaults : public ::testing::Test {
 protected:
  void SetUp() override { harness::ledger::Install(imports); }
  void TearDown() override { ResetRegistration(); }

  // `written` and `infotips` describe the registry after a successful run.
  // Returns the registry calls it failed.
  std::set<std::string> Sweep(HRESULT (*routine)(bool), bool register_server, const Registered& written,
                              const std::vector<std::string>& infotips) {
    const auto expected_success =
        ExpectedRegistration(written, module_tests::BinFolder() + "qm_testable.dll", infotips);
    std::set<std::string> passed;
    const auto faults = harness::SweepFaults(
        imports, [&] { return routine(register_server); },
        [&](const harness::Fault& fault, HRESULT status) {
          EXPECT_TRUE(StartsWith(ReadValue(HKEY_CLASSES_ROOT, "Directory", "InfoTip"), "prop:Foreign.Name"));
          EXPECT_TRUE(StartsWith(ReadValue(HKEY_CLASSES_ROOT, "*", "InfoTip"), kForeignFileList));
          for (const char* key : kForeignSheets) EXPECT_FALSE(ReadTree(HKEY_CLASSES_ROOT, key).empty()) << key;
          if (status == S_OK) {
            passed.insert(fault.name);
            EXPECT_EQ(ReadRegistration(), expected_success);
          } else {
            EXPECT_EQ(status, kInjected);
          }
        },
        {.prepare =
             [&] {
               ResetRegistration();
               WriteValue(HKEY_CLASSES_ROOT, "Directory", "InfoTip", {REG_SZ, kForeignDirectoryList + "\0"s});
               WriteValue(HKEY_CLASSES_ROOT, "*", "InfoTip", {REG_SZ, kForeignFileList + "\0"s});
               for (const char* key : kForeignSheets) CreateKey(HKEY_CLASSES_ROOT, key);
               if (!register_server) ASSERT_EQ(routine(true), S_OK);
             },
         // Cannot fail with the 39 characters it is given.
         .skip = {"StringFromGUID2"}});
    // The one registry call that may fail without failing the routine opens
    // a key that is then created; other calls that passed gave an answer
    // that serves as well (a DLL's module type, the system's code page).
    for (const std::string& name : passed)
      if (name.starts_with("Reg")) EXPECT_EQ(name, "RegOpenKeyExA");
    std::set<std::string> registry_calls;
    for (const harness::Fault& fault : faults)
      if (fault.name.starts_with("Reg")) registry_calls.insert(fault.name);
    return registry_calls;
  }

  harness::Imports imports{GetModuleHandleA("qm_testable.dll")};
  InfoTipSnapshot infotips;
};

TEST_F(RegistrationFaults, FolderClass) {
  EXPECT_EQ(Sweep(&qm::UpdateFolderShellExtensionRegistration, true, {.folder = true},
                  {InfoTipLine("Directory", kForeignDirectoryList + kFmtid + "1"),
                   InfoTipLine("*", kForeignFileList + (";" + kFmtid) + "3")}),
            (std::set<std::string>{"RegCreateKeyExA", "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA"}));
  EXPECT_EQ(Sweep(&qm::UpdateFolderShellExtensionRegistration, false, {},
                  {InfoTipLine("Directory", "prop:Foreign.Name"), InfoTipLine("*", kForeignFileList)}),
            (std::set<std::string>{"RegDeleteKeyA", "RegDeleteValueA", "RegEnumKeyExA", "RegOpenKeyExA",
                                   "RegQueryValueExA", "RegSetValueExA"}));
}

TEST_F(RegistrationFaults, DirectoryClass) {
  const std::vector<std::string> foreign = {InfoTipLine("Directory", kForeignDirectoryList),
                                            InfoTipLine("*", kForeignFileList)};
  EXPECT_EQ(Sweep(&qm::UpdateDirectoryShellExtensionRegistration, true, {.directory = true}, foreign),
            (std::set<std::string>{"RegCreateKeyExA", "RegOpenKeyExA", "RegSetValueExA"}));
  EXPECT_EQ(Sweep(&qm::UpdateDirectoryShellExtensionRegistration, false, {}, foreign),
            (std::set<std::string>{"RegDeleteKeyA", "RegDeleteValueA", "RegEnumKeyExA", "RegOpenKeyExA"}));
  for (const char* key : kForeignSheets) DeleteTree(HKEY_CLASSES_ROOT, key);
}

}  // namespace
}  // namespace registration_tests
