// CFolderShellExtension: the column handler Explorer loads for folders. It
// adds the soft link target and hard link count of each item to the details
// view and to infotips.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <ocidl.h>

#include "folder_extension/link_facts.h"
#include "win/com_object.h"
#include "win/com_ptr.h"
#include "win/shell_interface_ids.h"

namespace qm {

class CFolderShellExtension : public ComClass<IColumnProvider, IObjectWithSite, IProvideClassInfo> {
 public:
  CFolderShellExtension() = default;
  virtual ~CFolderShellExtension() = default;

  // IColumnProvider
  STDMETHODIMP Initialize(LPCSHCOLUMNINIT init) override;
  STDMETHODIMP GetColumnInfo(DWORD index, SHCOLUMNINFO* info) override;
  STDMETHODIMP GetItemData(LPCSHCOLUMNID column, LPCSHCOLUMNDATA item, VARIANT* value) override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) override;
  STDMETHODIMP GetSite(REFIID iid, void** out) override;

  // IProvideClassInfo
  STDMETHODIMP GetClassInfo(ITypeInfo** out) override;

 private:
  ComPtr<IUnknown> m_site;
  ComPtr<ITypeInfo> m_class_info;  // loaded on first use
  Path m_sFolderPath;              // the folder Initialize named; nothing reads it
  LinkFacts m_facts;               // latest soft link and file information per item
};

}  // namespace qm
