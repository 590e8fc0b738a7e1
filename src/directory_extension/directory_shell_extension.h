// CDirectoryShellExtension: the class Explorer creates for directories and
// drives. One object answers the menu, drag-and-drop, copy hook, icon overlay
// and site roles, and the "Link" page of the Properties of links.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <ocidl.h>

#include "core/path_list.h"
#include "win/com_object.h"
#include "win/com_ptr.h"
#include "win/shell_interface_ids.h"

namespace qm {

class CDirectoryShellExtension
    : public ComClass<IContextMenu, ICopyHookA, ICopyHookW, IShellIconOverlayIdentifier, IObjectWithSite,
                      IShellExtInit, IProvideClassInfo, IShellPropSheetExt> {
 public:
  CDirectoryShellExtension() = default;
  virtual ~CDirectoryShellExtension() = default;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index_menu, UINT id_first, UINT id_last, UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
  STDMETHODIMP GetCommandString(UINT_PTR id, UINT type, UINT* reserved, CHAR* name, UINT size) override;

  // ICopyHookA, ICopyHookW (copy_hook.cpp)
  STDMETHODIMP_(UINT) CopyCallback(HWND window, UINT operation, UINT flags, LPCSTR source, DWORD source_attributes,
                                   LPCSTR destination, DWORD destination_attributes) override;
  STDMETHODIMP_(UINT) CopyCallback(HWND window, UINT operation, UINT flags, LPCWSTR source, DWORD source_attributes,
                                   LPCWSTR destination, DWORD destination_attributes) override;

  // IShellIconOverlayIdentifier (icon_overlay.cpp)
  STDMETHODIMP IsMemberOf(LPCWSTR path, DWORD attributes) override;
  STDMETHODIMP GetOverlayInfo(LPWSTR icon_file, int size, int* index, DWORD* flags) override;
  STDMETHODIMP GetPriority(int* priority) override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) override;
  STDMETHODIMP GetSite(REFIID iid, void** out) override;

  // IShellExtInit
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY program_key) override;

  // IProvideClassInfo
  STDMETHODIMP GetClassInfo(ITypeInfo** out) override;

  // IShellPropSheetExt (property_sheet.cpp)
  STDMETHODIMP AddPages(LPFNSVADDPROPSHEETPAGE add, LPARAM parameter) override;
  STDMETHODIMP ReplacePage(EXPPS page, LPFNSVADDPROPSHEETPAGE replace, LPARAM parameter) override;

 private:
  ComPtr<IUnknown> m_site;
  Path m_sFolderPath;         // the drop folder; empty for a context menu
  PathList m_ItemPathArray;   // the dragged or selected items, in order
};

}  // namespace qm
