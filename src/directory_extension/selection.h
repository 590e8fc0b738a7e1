// The shell's selection as IShellExtInit::Initialize hands it over.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "core/path_list.h"

namespace qm {

// Fills `folder` with the full path of the folder `folder_list` names (empty
// without one) and `items` with the full paths of the data object's CF_HDROP
// names, in order; both start empty. Raises E_FAIL for a folder without a
// file-system path, E_INVALIDARG for a drop list in a medium other than
// global memory or one that does not lie inside its block, and the status
// when a full path cannot be made or a name does not convert exactly to the
// file code page (HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION)); the
// items read before stay in the list.
void ReadShellSelection(PCIDLIST_ABSOLUTE folder_list, IDataObject* data, Path& folder, PathList& items);

}  // namespace qm
