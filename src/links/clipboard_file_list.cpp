#include "links/clipboard_file_list.h"

#include <windows.h>

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
  const HANDLE block = GetClipboardData(CF_HDROP);
  if (!block) return true;
  const DropNames names(block);
  if (!names.valid()) return false;
  for (std::size_t index = 0; index < names.size(); ++index) list.Add(names[index]);
  return true;
}

}  // namespace qm
