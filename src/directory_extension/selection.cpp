#include "directory_extension/selection.h"

#include "core/status.h"
#include "links/drop_names.h"
#include "links/path_queries.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace qm {

void ReadShellSelection(PCIDLIST_ABSOLUTE folder_list, IDataObject* data, Path& folder, PathList& items) {
  folder.clear();
  items.Clear();
  if (folder_list) {
    // Without its path the drop folder would read as a context menu's selection.
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(folder_list, path)) RaiseStatus(status::Fail);
    folder = GetFullPath(PathToNarrow(path));
  }
  if (!data) return;
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  StorageMedium medium;
  if (FAILED(data->GetData(&format, medium.put()))) return;
  if (medium.get().tymed != TYMED_HGLOBAL) RaiseStatus(status::InvalidArg);
  const DropNames names(medium.get().hGlobal);
  if (!names.valid()) RaiseStatus(status::InvalidArg);
  for (std::size_t index = 0; index < names.size(); ++index) items.Add(GetFullPath(names[index]));
}

}  // namespace qm
