// Item id lists of new links for the shell's change notifications and the
// view's selection.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/path_list.h"
#include "win/com_ptr.h"
#include "win/unique_resource.h"

namespace qm {

// The links of a command share a folder: its item id list and shell folder
// are made once, and each link's own id is parsed from its name and the
// file data read when it was made, without asking the file system again (a
// bind context carrying the data, as for the shell's simple ids). A link
// whose data or folder is not at hand is parsed from its whole path.
class LinkItems {
 public:
  // The absolute id list of `path`, valid until the next call; null when none
  // can be made. Never raises.
  PCIDLIST_ABSOLUTE ItemOf(std::string_view path, const std::optional<WIN32_FILE_ATTRIBUTE_DATA>& file) noexcept;

 private:
  void UseFolder(std::string_view folder);
  PCIDLIST_ABSOLUTE FromData(std::string_view name, const WIN32_FILE_ATTRIBUTE_DATA& file);

  bool m_has_folder = false;
  Path m_folder;
  UniqueItemIdList m_folder_item;
  ComPtr<IShellFolder> m_shell_folder;
  ComPtr<IFileSystemBindData> m_data;
  ComPtr<IBindCtx> m_bind;
  std::wstring m_wide;
  std::vector<std::uint8_t> m_item;
  UniqueItemIdList m_parsed;
};

}  // namespace qm
