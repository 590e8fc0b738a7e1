// Reading the names of a CF_HDROP block, which another process wrote.
#pragma once

#include <windows.h>

#include <optional>

#include "core/drop_block.h"
#include "core/path_list.h"
#include "win/unique_resource.h"

namespace qm {

// The block stays locked while the names are read. Its list is checked
// against the block's size before any name is read.
class DropNames {
 public:
  explicit DropNames(HGLOBAL block);

  // False when the block cannot be locked or its list does not lie inside it.
  bool valid() const noexcept { return m_list.has_value(); }
  std::size_t size() const noexcept { return m_list ? m_list->names.size() : 0; }

  // Name `index` as a path for the 8-bit file functions, whole however long
  // it is. A name the file code page cannot hold exactly raises
  // HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION).
  Path operator[](std::size_t index) const;

 private:
  GlobalMemoryLock m_lock;
  std::optional<DropBlockNames> m_list;
};

}  // namespace qm
