// The texts of the four columns: one string per property (113 to 116), its
// pieces separated by line feeds: title, description, infotip format.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

enum class ColumnText { Title = 0, Description = 1, InfoTipFormat = 2 };

// Piece `which` of the column string of property `pid` from the resource
// module, in UTF-16; empty when the module lacks the string or the piece.
// Other failures to load it are raised.
std::wstring LoadColumnText(UINT pid, ColumnText which);

}  // namespace qm
