// The "InfoTip" property lists of file classes under HKEY_CLASSES_ROOT, where
// Explorer finds the lines of an item's tooltip. A list a user or another
// program wrote keeps its other entries, and a failed read or write leaves it
// exactly as it was.
#pragma once

#include <windows.h>

#include <span>

namespace qm {

// Adds an entry of `fmtid` for each of `pids` that the list of `class_key`
// does not name yet; a missing value (or one of another type) becomes a new
// list. Nothing when the key does not exist or may not be changed. Raises 0xA2010279 for a value
// that is not a property list, 0x8007000D for string data without its
// terminator, and registry errors.
void AddInfoTipProperties(const char* class_key, REFGUID fmtid, std::span<const int> pids);

// Removes every entry of `fmtid` from the list of `class_key`, deleting a
// value left without entries. Nothing when the key or a string value is
// missing, or the key may not be changed. Raises as above.
void RemoveInfoTipProperties(const char* class_key, REFGUID fmtid);

}  // namespace qm
