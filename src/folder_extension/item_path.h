// The 8-bit form of a path the shell hands over in a fixed MAX_PATH field.
#pragma once

#include <windows.h>

#include <optional>

#include "core/path_list.h"

namespace qm {

// Nothing when the 8-bit file functions cannot name the item: the field
// holds no terminator (the path is longer than MAX_PATH), it is empty, or a
// character has no exact form in the code page. Other conversion failures
// are raised.
std::optional<Path> ItemPathFromShell(const WCHAR (&field)[MAX_PATH]);

}  // namespace qm
