// Drives CFolderShellExtension as Explorer does, through the shipped DLL's
// class object, and shows each answer as the shell sees it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "harness/shipped_dll.h"
#include "harness/test_files.h"
#include "win/shell_interface_ids.h"

namespace folder_test {

// The class, and the format identifier of its four properties.
inline constexpr CLSID kFolderClass = {0xA3D4F871, 0x62C5, 0x4B09, {0x8E, 0x7A, 0x15, 0xC9, 0xD2, 0xB0, 0xE4, 0x47}};

std::wstring Wide(const std::string& text);
SHCOLUMNDATA ItemOf(const std::wstring& file, DWORD flags = 0);

// One GetItemData answer as the shell sees it: "EMPTY", "UI4 3" or
// "BSTR <text>" with S_OK; otherwise the status ("0x<status>"), followed by
// " VT <n>" when the VARIANT is not empty.
std::wstring Shown(IColumnProvider* columns, const SHCOLUMNID& id, const SHCOLUMNDATA& item);

class FolderExtension : public harness::ShippedDllTest {
 protected:
  qm::ComPtr<IColumnProvider> Create();
  std::wstring Shown(IColumnProvider* columns, DWORD pid, const std::string& file) {
    return folder_test::Shown(columns, {kFolderClass, pid}, ItemOf(Wide(file)));
  }
  // A file of `names` names: `path`, path + ".2", path + ".3", ...
  void MakeFileWithNames(const std::string& path, int names);
  // A junction whose substitute name is `target`, without a print name.
  void MakeSoftLink(const std::string& path, std::u16string_view target);
};

}  // namespace folder_test
