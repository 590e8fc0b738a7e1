#include "folder_extension/item_path.h"

#include <cwchar>

#include "core/status.h"
#include "win/text.h"

namespace qm {

std::optional<Path> ItemPathFromShell(const WCHAR (&field)[MAX_PATH]) {
  const std::size_t length = wcsnlen(field, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return std::nullopt;
  try {
    return PathToNarrow(std::wstring_view(field, length));
  } catch (const CAtlException& e) {
    if (e.status() == HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION)) return std::nullopt;
    throw;
  }
}

}  // namespace qm
