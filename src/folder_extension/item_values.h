// The value of one column property for one item, as IColumnProvider::GetItemData
// delivers it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "folder_extension/link_facts.h"

namespace qm {

// Reads the item's soft link record or file information afresh into
// `facts` and puts the property's value into `value` (initialised first,
// without releasing what it held): the target as VT_BSTR, the count as
// VT_UI4 when the file has two names or more, the infotip lines as VT_BSTR,
// and VT_EMPTY when there is nothing to show or the file system cannot
// tell. Raises 0xA20108F4 for another property set and 0xA2010914 for a
// property it does not have; `value` is untouched then.
void ReadItemValue(LinkFacts& facts, const SHCOLUMNID& column, const SHCOLUMNDATA& item, VARIANT& value);

}  // namespace qm
