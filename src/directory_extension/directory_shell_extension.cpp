#include "directory_extension/directory_shell_extension.h"

#include "core/link_menu.h"
#include "directory_extension/link_commands.h"
#include "directory_extension/selection.h"
#include "resources/class_ids.h"
#include "win/boundary.h"
#include "win/module_instance.h"
#include "win/object_site.h"
#include "win/type_library.h"

namespace qm {

STDMETHODIMP CDirectoryShellExtension::QueryContextMenu(HMENU menu, UINT index_menu, UINT id_first, UINT id_last,
                                                        UINT) {
  return CallAtBoundary([&] {
    AddLinkMenuEntries(menu, index_menu, id_first, id_last, m_sFolderPath, m_ItemPathArray);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kLinkCommandCount);
  });
}

STDMETHODIMP CDirectoryShellExtension::InvokeCommand(CMINVOKECOMMANDINFO* info) {
  return InvokeLinkCommand(info, m_site.get(), m_sFolderPath, m_ItemPathArray);
}

STDMETHODIMP CDirectoryShellExtension::GetCommandString(UINT_PTR id, UINT type, UINT*, CHAR* name, UINT size) {
  return GetLinkCommandString(id, type, name, size);
}

STDMETHODIMP CDirectoryShellExtension::SetSite(IUnknown* site) {
  m_site = ComPtr<IUnknown>(site);
  return S_OK;
}

STDMETHODIMP CDirectoryShellExtension::GetSite(REFIID iid, void** out) { return QuerySite(m_site.get(), iid, out); }

STDMETHODIMP CDirectoryShellExtension::Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY) {
  return CallAtBoundary([&] { ReadShellSelection(folder, data, m_sFolderPath, m_ItemPathArray); });
}

STDMETHODIMP CDirectoryShellExtension::GetClassInfo(ITypeInfo** out) {
  return GetClassTypeInfo(MainModule(), kClsidDirectoryShellExtension, out);
}

}  // namespace qm
