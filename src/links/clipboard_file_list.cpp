#include "links/clipboard_file_list.h"

#include <windows.h>
#include <shellapi.h>

#include "links/drop_names.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

bool ClipboardOffersFileList() {
  // An error during the walk reads as a clipboard without a file list.
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
    if (format == CF_HDROP) return true;
  return false;
}

}  // namespace

bool GetClipboardFileList(PathList& list) {
  ClipboardOpen clipboard;
  clipboard.Open(nullptr);
  if (!ClipboardOffersFileList()) return false;
  const auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  const UINT count = drop ? DropNameCount(drop) : 0;
  for (UINT index = 0; index < count; ++index) {
    std::string name = DropName(drop, index);
    if (!name.empty()) list.Add(std::move(name));
  }
  return true;
}

}  // namespace qm
