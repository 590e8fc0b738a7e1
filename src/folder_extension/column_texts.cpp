#include "folder_extension/column_texts.h"

#include "core/multi_text.h"
#include "core/status.h"
#include "resources/resource_ids.h"
#include "win/module_instance.h"
#include "win/text.h"

namespace qm {
namespace {

bool IsMissingResource(Status status) {
  return status == StatusFromWin32(ERROR_RESOURCE_DATA_NOT_FOUND) ||
         status == StatusFromWin32(ERROR_RESOURCE_TYPE_NOT_FOUND) ||
         status == StatusFromWin32(ERROR_RESOURCE_NAME_NOT_FOUND) ||
         status == StatusFromWin32(ERROR_RESOURCE_LANG_NOT_FOUND);
}

}  // namespace

std::wstring LoadColumnText(UINT pid, ColumnText which) {
  std::string entry;
  try {
    entry = LoadResourceString(IDS_COLUMN_SOFT_LINK_TARGET + pid);
  } catch (const CAtlException& e) {
    if (!IsMissingResource(e.status())) throw;
  }
  return ToWide(PickText(entry, static_cast<std::size_t>(which)));
}

}  // namespace qm
