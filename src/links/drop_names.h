// Reading the names of a CF_HDROP drop handle.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace qm {

UINT DropNameCount(HDROP drop);

// Name `index` of the drop as a path for the 8-bit file functions, read in
// its wide form and whole however long it is; empty when the drop cannot
// deliver it. A name the file code page cannot hold exactly raises
// HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION).
std::string DropName(HDROP drop, UINT index);

}  // namespace qm
