// The file names that Explorer's Copy or Cut put on the clipboard.
#pragma once

#include "core/path_list.h"

namespace qm {

// Appends the clipboard's CF_HDROP names, in their order, to `list`.
// Returns false when the clipboard offers no CF_HDROP (the list is then
// unchanged), also when the block's list does not lie inside the block; true
// otherwise, also for a drop list without names. Raises the
// last error when the clipboard cannot be opened, E_OUTOFMEMORY when the list
// cannot grow, and HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION) for a name
// the file code page cannot hold; the clipboard is closed on every path.
bool GetClipboardFileList(PathList& list);

}  // namespace qm
