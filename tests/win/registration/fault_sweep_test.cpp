// Every call of a registration routine failed once in turn: the failure's
// status comes back (or, where the call has a fallback, the complete result),
// no key stays open, and the "InfoTip" lists keep their foreign entries.
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

bool StartsWith(const std::optional<RawValue>& value, const std::string& prefix) {
  return value && value->type == REG_SZ && value->bytes.compare(0, prefix.size(), prefix) == 0;
}

class RegistrationFaults : public ::testing::Test {
 protected:
  void SetUp() override { harness::ledger::Install(imports); }
  void TearDown() override { ResetRegistration(); }

  // `written` and `infotips` describe the registry after a successful run.
  void Sweep(HRESULT (*routine)(bool), bool register_server, const Registered& written,
             const std::vector<std::string>& infotips) {
    const auto expected_success =
        ExpectedRegistration(written, module_tests::BinFolder() + "qm_testable.dll", infotips);
    std::set<std::string> passed;
    harness::SweepFaults(
        imports, [&] { return routine(register_server); },
        [&](const harness::Fault& fault, HRESULT status) {
          EXPECT_TRUE(StartsWith(ReadValue(HKEY_CLASSES_ROOT, "Directory", "InfoTip"), "prop:Foreign.Name"));
          EXPECT_TRUE(StartsWith(ReadValue(HKEY_CLASSES_ROOT, "*", "InfoTip"), kForeignFileList));
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
               if (!register_server) ASSERT_EQ(routine(true), S_OK);
             },
         // Cannot fail with the 39 characters it is given.
         .skip = {"StringFromGUID2"}});
    // Only calls with a fallback may fail without failing the routine: a key
    // that cannot be opened is created, a module type that cannot be read is
    // a DLL's, a locale's code page that cannot be read is the system's.
    for (const std::string& name : passed)
      EXPECT_TRUE(name == "RegOpenKeyExA" || name == "SHGetFileInfoA" || name == "GetLocaleInfoA" ||
                  name == "IsDBCSLeadByte")
          << name;
  }

  harness::Imports imports{GetModuleHandleA("qm_testable.dll")};
  InfoTipSnapshot infotips;
};

TEST_F(RegistrationFaults, FolderClass) {
  Sweep(&qm::UpdateFolderShellExtensionRegistration, true, {.folder = true},
        {InfoTipLine("Directory", kForeignDirectoryList + kFmtid + "1"),
         InfoTipLine("*", kForeignFileList + (";" + kFmtid) + "3")});
  Sweep(&qm::UpdateFolderShellExtensionRegistration, false, {},
        {InfoTipLine("Directory", "prop:Foreign.Name"), InfoTipLine("*", kForeignFileList)});
}

TEST_F(RegistrationFaults, DirectoryClass) {
  const std::vector<std::string> foreign = {InfoTipLine("Directory", kForeignDirectoryList),
                                            InfoTipLine("*", kForeignFileList)};
  Sweep(&qm::UpdateDirectoryShellExtensionRegistration, true, {.directory = true}, foreign);
  Sweep(&qm::UpdateDirectoryShellExtensionRegistration, false, {}, foreign);
}

}  // namespace
}  // namespace registration_tests
