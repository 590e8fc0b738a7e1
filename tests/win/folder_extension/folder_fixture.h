// Drives CFolderShellExtension as Explorer does: through the shipped DLL's
// class object, with its imports intercepted (ledger, NTFS model) and a
// scratch folder on drive D:.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/imports.h"
#include "harness/ledger.h"
#include "harness/ntfs_model.h"
#include "harness/shipped_dll.h"
#include "harness/test_files.h"
#include "win/com_ptr.h"
#include "win/shell_interface_ids.h"

namespace folder_test {

// The class, and the format identifier of its four properties.
inline constexpr CLSID kFolderClass = {0xA3D4F871, 0x62C5, 0x4B09, {0x8E, 0x7A, 0x15, 0xC9, 0xD2, 0xB0, 0xE4, 0x47}};

std::wstring Wide(const std::string& text);

// An SHCOLUMNDATA for `file` as the shell fills it.
SHCOLUMNDATA ItemOf(const std::wstring& file, DWORD flags = 0);

// What the shell sees of one GetItemData answer: "EMPTY", "UI4 3",
// "BSTR <text>", another type as "VT <n>", or a failure as "0x<status>".
// A failure must leave the VARIANT as it was.
std::wstring Shown(IColumnProvider* columns, const SHCOLUMNID& id, const SHCOLUMNDATA& item,
                   HRESULT* status = nullptr);

class FolderExtension : public ::testing::Test {
 protected:
  FolderExtension();
  ~FolderExtension() override;
  void TearDown() override;

  std::string At(const std::string& name) const { return scratch + "\\" + name; }

  qm::ComPtr<IColumnProvider> Create();
  // GetItemData of property `pid` of this class for `file`.
  std::wstring Shown(IColumnProvider* columns, DWORD pid, const std::string& file, HRESULT* status = nullptr);

  // A file with `names` names: `path` and path + ".2", ".3", ...
  void MakeFileWithNames(const std::string& path, int names);
  // An empty directory carrying a junction to `target` with no print name,
  // as the module writes one.
  void MakeSoftLink(const std::string& path, std::u16string_view target);

  harness::ShippedDll dll;
  harness::Imports imports{dll.module};
  struct LedgerFirst {
    explicit LedgerFirst(harness::Imports& imports) { harness::ledger::Install(imports); }
  } ledger_first{imports};
  harness::NtfsModel model{imports};
  std::string scratch;
};

}  // namespace folder_test
