#include "folder_extension/item_values.h"

#include <optional>
#include <string>

#include "core/infotip_text.h"
#include "core/status.h"
#include "folder_extension/column_descriptions.h"
#include "folder_extension/column_texts.h"
#include "folder_extension/item_path.h"
#include "resources/class_ids.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

UniqueBstr MakeBstr(const std::wstring& text) {
  UniqueBstr bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!bstr) RaiseStatus(status::OutOfMemory);
  return bstr;
}

// The infotip line of `pid` with the target or the count put in.
UniqueBstr InfoTip(DWORD pid, std::wstring_view target, std::optional<std::uint32_t> count) {
  const std::wstring format = LoadColumnText(pid, ColumnText::InfoTipFormat);
  return MakeBstr(FillInfoTipFormat<wchar_t>(format, target, count));
}

}  // namespace

void ReadItemValue(LinkFacts& facts, const SHCOLUMNID& column, const SHCOLUMNDATA& item, VARIANT& value) {
  const std::optional<Path> path = ItemPathFromShell(item.wszFile);
  if (!InlineIsEqualGUID(column.fmtid, kClsidFolderShellExtension)) RaiseStatus(status::ForeignPropertySet);
  if (column.pid >= kColumnPropertyCount) RaiseStatus(status::PropertyIdOutOfRange);

  UniqueBstr text;
  DWORD count = 0;
  if (path && (column.pid == kSoftLinkTarget || column.pid == kSoftLinkTargetTip)) {
    const std::wstring target = facts.SoftLinkTarget(*path);
    if (!target.empty()) text = column.pid == kSoftLinkTarget ? MakeBstr(target) : InfoTip(column.pid, target, {});
  } else if (path) {
    const DWORD links = facts.HardLinkCount(*path);
    if (links >= 2 && column.pid == kHardLinkCount) count = links;
    if (links >= 2 && column.pid == kHardLinkCountTip) text = InfoTip(column.pid, {}, links);
  }

  VariantInit(&value);
  if (text) {
    value.vt = VT_BSTR;
    value.bstrVal = text.release();
  } else if (count != 0) {
    value.vt = VT_UI4;
    value.ulVal = count;
  }
}

}  // namespace qm
