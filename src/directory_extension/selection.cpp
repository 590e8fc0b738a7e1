#include "directory_extension/selection.h"

#include "links/drop_names.h"
#include "links/path_queries.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace qm {

void ReadShellSelection(PCIDLIST_ABSOLUTE folder_list, IDataObject* data, Path& folder, PathList& items) {
  folder.clear();
  if (folder_list) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(folder_list, path)) folder = GetFullPath(PathToNarrow(path));
  }
  items.Clear();
  if (!data) return;
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  StorageMedium medium;
  if (FAILED(data->GetData(&format, medium.put()))) return;
  const auto drop = static_cast<HDROP>(medium.get().hGlobal);
  const UINT count = DropNameCount(drop);
  for (UINT index = 0; index < count; ++index) {
    const std::string name = DropName(drop, index);
    if (!name.empty()) items.Add(GetFullPath(name));
  }
}

}  // namespace qm
