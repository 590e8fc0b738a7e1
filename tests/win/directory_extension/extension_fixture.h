// Drives CDirectoryShellExtension as Explorer does: through the shipped DLL's
// class object, with its imports intercepted (ledger, NTFS model, recorded
// change notifications and message boxes) and a scratch folder on drive D:.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/imports.h"
#include "harness/ledger.h"
#include "harness/ntfs_model.h"
#include "harness/shipped_dll.h"
#include "harness/test_files.h"
#include "shell_fakes.h"
#include "win/com_ptr.h"

namespace extension_test {

inline const GUID kIidCopyHookA = {0x000214EF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const GUID kIidCopyHookW = {0x000214FC, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

using harness::Exists;
using harness::MakeDirectory;
using harness::MakeFile;
using harness::RemoveTree;
DWORD LinkCount(const std::string& path);
// GetDriveTypeA for a machine whose drive E: is a network drive.
DWORD WINAPI NetworkDriveE(LPCSTR root);
std::wstring Wide(const std::string& text);

// What the module told the shell and the user.
struct Observed {
  std::vector<std::string> notified;  // "<event> <path>" per SHChangeNotify
  std::vector<std::string> boxes;     // text of each message box
};
Observed& observed();

// Records change notifications and message boxes besides the fixture's
// ledger and NTFS model.
class DirectoryExtension : public harness::ShippedDllTest {
 protected:
  DirectoryExtension();

  std::wstring WideAt(const std::wstring& name) const { return Wide(scratch) + L"\\" + name; }

  // A new object, initialised with a drop folder (empty: none) and items.
  qm::ComPtr<IContextMenu> Create();
  HRESULT Initialize(IContextMenu* menu, const std::string& folder, const std::vector<std::string>& items);
  HRESULT Initialize(IContextMenu* menu, const std::wstring& folder, const std::vector<std::wstring>& items);
  qm::ComPtr<IContextMenu> Dropped(const std::string& folder, const std::vector<std::string>& items);
  qm::ComPtr<IContextMenu> ContextMenuOn(const std::vector<std::string>& items);

  // QueryContextMenu on a fresh menu holding `host_items` (identifiers) and
  // the texts it ends up with, "<id>:<text>" in menu order.
  std::vector<std::string> MenuOf(IContextMenu* menu, UINT index_menu = 0, UINT id_first = 100,
                                  std::vector<UINT> host_items = {}, HRESULT* result = nullptr, UINT id_count = 100);

  HRESULT Invoke(IContextMenu* menu, UINT offset, HWND window = nullptr, DWORD mask = 0);
};

}  // namespace extension_test
