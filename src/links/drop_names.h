// Reading the names of a CF_HDROP drop handle.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace qm {

UINT DropNameCount(HDROP drop);

// Name `index` of the drop, read whole however long it is; empty when the
// drop cannot deliver it.
std::string DropName(HDROP drop, UINT index);

}  // namespace qm
