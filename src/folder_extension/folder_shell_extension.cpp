#include "folder_extension/folder_shell_extension.h"

#include "folder_extension/column_descriptions.h"
#include "folder_extension/item_path.h"
#include "folder_extension/item_values.h"
#include "resources/class_ids.h"
#include "win/boundary.h"
#include "win/module_instance.h"
#include "win/object_site.h"
#include "win/type_library.h"

namespace qm {

STDMETHODIMP CFolderShellExtension::Initialize(LPCSHCOLUMNINIT init) {
  if (!init) return E_INVALIDARG;
  return CallAtBoundary([&] { m_sFolderPath = ItemPathFromShell(init->wszFolder).value_or(Path()); });
}

STDMETHODIMP CFolderShellExtension::GetColumnInfo(DWORD index, SHCOLUMNINFO* info) {
  if (!info) return E_INVALIDARG;
  return CallAtBoundary([&] { return DescribeColumn(index, *info) ? S_OK : S_FALSE; });
}

STDMETHODIMP CFolderShellExtension::GetItemData(LPCSHCOLUMNID column, LPCSHCOLUMNDATA item, VARIANT* value) {
  if (!column || !item) return E_INVALIDARG;
  if (!value) return E_POINTER;
  return CallAtBoundary([&] { ReadItemValue(m_facts, *column, *item, *value); });
}

STDMETHODIMP CFolderShellExtension::SetSite(IUnknown* site) {
  m_site = ComPtr<IUnknown>(site);
  return S_OK;
}

STDMETHODIMP CFolderShellExtension::GetSite(REFIID iid, void** out) { return QuerySite(m_site.get(), iid, out); }

STDMETHODIMP CFolderShellExtension::GetClassInfo(ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_class_info) {
    const HRESULT loaded = GetClassTypeInfo(MainModule(), kClsidFolderShellExtension, m_class_info.put());
    if (FAILED(loaded)) return loaded;
  }
  *out = ComPtr<ITypeInfo>(m_class_info).detach();
  return S_OK;
}

}  // namespace qm
