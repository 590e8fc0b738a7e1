// The "InfoTip" list editing and the handler keys' removal, called in the
// test module: what reaches the registry, and the statuses of what cannot be
// done. The whole tree is read back after Wine's regsvr32 (regsvr32_test).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "directory_extension/directory_registration.h"
#include "folder_extension/infotip_registration.h"
#include "harness/imports.h"
#include "registry_state.h"
#include "resources/class_ids.h"
#include "win/boundary.h"

namespace registration_tests {
namespace {

using namespace std::string_literals;

constexpr char kScratchClass[] = "QuorvaneMarrowby.InfoTipTest";
const std::string F = kFmtid;

RawValue Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

class Routines : public ::testing::Test {
 protected:
  void SetUp() override { ResetRegistration(); }
  void TearDown() override { ResetRegistration(); }
  InfoTipSnapshot infotips;
};

TEST_F(Routines, InfoTipValuesBecomeStringListsAndStayAsTheyWereWhenUnreadable) {
  static constexpr int kPid1[] = {1};
  struct Row {
    const char* what;
    std::optional<RawValue> before;
    bool add;
    HRESULT status;
    std::optional<RawValue> after;
  };
  const RawValue dword{REG_DWORD, std::string("\5\0\0\0", 4)};
  // The list text itself is the core's; here: what reaches the registry.
  const Row rows[] = {
      {"fresh value", std::nullopt, true, S_OK, Sz("prop:" + F + "1")},
      {"not a list", Sz("Type;Size"), true, static_cast<HRESULT>(0xA2010279), Sz("Type;Size")},
      {"unterminated", RawValue{REG_SZ, "prop:Type"}, true, HRESULT_FROM_WIN32(ERROR_INVALID_DATA),
       RawValue{REG_SZ, "prop:Type"}},
      {"unterminated", RawValue{REG_SZ, "prop:" + F + "1"}, false, HRESULT_FROM_WIN32(ERROR_INVALID_DATA),
       RawValue{REG_SZ, "prop:" + F + "1"}},
      {"expandable", RawValue{REG_EXPAND_SZ, "prop:Type;" + F + "1\0"s}, false, S_OK, Sz("prop:Type")},
      {"not a string", dword, true, S_OK, Sz("prop:" + F + "1")},
      {"not a string", dword, false, S_OK, dword},
      {"empty text", Sz(""), false, S_OK, std::nullopt},
      {"not a list", Sz("Type;" + F + "1"), false, S_OK, Sz("Type;" + F + "1")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.what) + (row.add ? ", add" : ", remove"));
    DeleteTree(HKEY_CLASSES_ROOT, kScratchClass);
    CreateKey(HKEY_CLASSES_ROOT, kScratchClass);
    if (row.before) WriteValue(HKEY_CLASSES_ROOT, kScratchClass, "InfoTip", *row.before);
    const HRESULT status = qm::CallAtBoundary([&] {
      if (row.add)
        qm::AddInfoTipProperties(kScratchClass, qm::kClsidFolderShellExtension, kPid1);
      else
        qm::RemoveInfoTipProperties(kScratchClass, qm::kClsidFolderShellExtension);
    });
    EXPECT_EQ(status, row.status);
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, kScratchClass, "InfoTip"), row.after);
  }
  // A class key that may not be changed, or does not exist, is left alone.
  const auto before = ReadValue(HKEY_CLASSES_ROOT, kScratchClass, "InfoTip");
  harness::Imports imports(GetModuleHandleA("qm_testable.dll"));
  imports.FailCall("RegOpenKeyExA", 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(qm::CallAtBoundary([] { qm::AddInfoTipProperties(kScratchClass, qm::kClsidFolderShellExtension, kPid1); }),
            S_OK);
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, kScratchClass, "InfoTip"), before);
  DeleteTree(HKEY_CLASSES_ROOT, kScratchClass);
  EXPECT_EQ(qm::CallAtBoundary([] { qm::AddInfoTipProperties(kScratchClass, qm::kClsidFolderShellExtension, kPid1); }),
            S_OK);
  EXPECT_TRUE(ReadTree(HKEY_CLASSES_ROOT, kScratchClass).empty());
}

TEST_F(Routines, AMissingShellexParentIsSkippedAndAMissingItemIsNot) {
  const std::vector<std::string> untouched = ReadRegistration();
  ASSERT_EQ(qm::UpdateDirectoryShellExtensionRegistration(true), S_OK);
  DeleteTree(HKEY_CLASSES_ROOT, "Drive\\shellex");
  EXPECT_EQ(qm::UpdateDirectoryShellExtensionRegistration(false), S_OK);
  EXPECT_EQ(ReadRegistration(), untouched);

  // An item already gone (as the other bitness's unregistration leaves the
  // handler keys both share) is reported, and the rest is removed all the same.
  for (const char* gone : {"approval", "handlers"}) {
    SCOPED_TRACE(gone);
    ASSERT_EQ(qm::UpdateDirectoryShellExtensionRegistration(true), S_OK);
    if (gone == std::string("approval"))
      DeleteValue(HKEY_LOCAL_MACHINE, kApprovedKey, qm::testing::kDirectoryClass.clsid.c_str());
    else
      for (const char* kind : {"ContextMenuHandlers", "CopyHookHandlers", "DragDropHandlers"})
        DeleteTree(HKEY_CLASSES_ROOT, std::string("Directory\\shellex\\") + kind + "\\" + kDirectoryName);
    EXPECT_EQ(qm::UpdateDirectoryShellExtensionRegistration(false), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ReadRegistration(), untouched);
  }
}

}  // namespace
}  // namespace registration_tests
