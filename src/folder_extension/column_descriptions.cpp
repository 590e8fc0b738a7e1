#include "folder_extension/column_descriptions.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "folder_extension/column_texts.h"
#include "resources/class_ids.h"

namespace qm {
namespace {

struct ColumnLayout {
  VARTYPE vt;
  DWORD fmt;
  UINT chars;
  DWORD flags;
};

// The infotip lines carry 0x101, TYPE_STR | HIDDEN (SECONDARYUI would be
// 0x80): hidden from the column chooser, since they exist for infotips only.
constexpr DWORD kInfoTipOnly = SHCOLSTATE_TYPE_STR | SHCOLSTATE_HIDDEN;

constexpr ColumnLayout kLayouts[kColumnPropertyCount] = {
    {VT_BSTR, LVCFMT_LEFT, 40, SHCOLSTATE_TYPE_STR},
    {VT_BSTR, LVCFMT_LEFT, 50, kInfoTipOnly},
    {VT_I4, LVCFMT_RIGHT, 5, SHCOLSTATE_TYPE_INT},  // values come as VT_UI4
    {VT_BSTR, LVCFMT_LEFT, 15, kInfoTipOnly},
};

// Copies `text` into the zeroed text field at `offset` of `info` (the
// structure is byte-packed), holding `capacity` characters: a text too long
// is cut one character short, so the field stays terminated.
void CopyTerminated(SHCOLUMNINFO& info, std::size_t offset, std::size_t capacity, const std::wstring& text) {
  const std::size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(reinterpret_cast<unsigned char*>(&info) + offset, text.data(), length * sizeof(WCHAR));
}

}  // namespace

bool DescribeColumn(DWORD index, SHCOLUMNINFO& info) {
  std::memset(&info, 0, sizeof info);
  info.scid.fmtid = kClsidFolderShellExtension;
  info.scid.pid = index;
  info.vt = VT_BSTR;
  info.fmt = LVCFMT_LEFT;
  info.cChars = 20;
  if (index >= kColumnPropertyCount) return false;
  const ColumnLayout& layout = kLayouts[index];
  info.vt = layout.vt;
  info.fmt = layout.fmt;
  info.cChars = layout.chars;
  info.csFlags = layout.flags;
  CopyTerminated(info, offsetof(SHCOLUMNINFO, wszTitle), MAX_COLUMN_NAME_LEN,
                 LoadColumnText(index, ColumnText::Title));
  CopyTerminated(info, offsetof(SHCOLUMNINFO, wszDescription), MAX_COLUMN_DESC_LEN,
                 LoadColumnText(index, ColumnText::Description));
  return true;
}

}  // namespace qm
