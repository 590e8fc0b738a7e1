#include "links/drop_names.h"

#include "win/text.h"

namespace qm {

UINT DropNameCount(HDROP drop) { return DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); }

std::string DropName(HDROP drop, UINT index) {
  // Read at full length: a name cut to MAX_PATH could name another, existing file.
  const UINT needed = DragQueryFileW(drop, index, nullptr, 0);
  if (needed == 0) return {};
  std::wstring name(static_cast<std::size_t>(needed) + 1, L'\0');
  const UINT length = DragQueryFileW(drop, index, name.data(), needed + 1);
  name.resize(length <= needed ? length : 0);
  return PathToNarrow(name);
}

}  // namespace qm
