// The "Link" page that CDirectoryShellExtension adds to the Properties of a
// junction, a symbolic link or a file with several names.
#include "directory_extension/directory_shell_extension.h"
#include "directory_extension/item_link.h"
#include "directory_extension/link_page.h"
#include "win/boundary.h"

namespace qm {

STDMETHODIMP CDirectoryShellExtension::AddPages(LPFNSVADDPROPSHEETPAGE add, LPARAM parameter) {
  return CallAtBoundary([&] {
    if (!add) RaiseStatus(status::InvalidArg);
    // Properties of one item: no drop folder, one selected item.
    if (!m_sFolderPath.empty() || m_ItemPathArray.size() != 1) return;
    const Path& item = m_ItemPathArray[0];
    const ItemLink link = ReadItemLink(item);
    if (link.kind != ItemLink::Kind::None) AddLinkPage(item, link, add, parameter);
  });
}

STDMETHODIMP CDirectoryShellExtension::ReplacePage(EXPPS, LPFNSVADDPROPSHEETPAGE, LPARAM) { return E_NOTIMPL; }

}  // namespace qm
