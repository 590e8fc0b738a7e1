// The four columns the folder extension offers, one per property of its own
// property set (the class identifier is the format identifier; the property
// identifier is the column index).
#pragma once

#include <windows.h>
#include <shlobj.h>

namespace qm {

// Property identifiers.
enum ColumnProperty : DWORD {
  kSoftLinkTarget = 0,       // column "Soft Link Target"
  kSoftLinkTargetTip = 1,    // infotip line naming the target
  kHardLinkCount = 2,        // column "Hard Links"
  kHardLinkCountTip = 3,     // infotip line with the count
  kColumnPropertyCount = 4,
};

// Fills `info` with the description of column `index` and returns true; for
// an index past the last column, leaves only the zeroed structure with the
// property key, VT_BSTR and a width of 20, and returns false.
bool DescribeColumn(DWORD index, SHCOLUMNINFO& info);

}  // namespace qm
