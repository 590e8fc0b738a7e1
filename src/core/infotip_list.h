// Property lists of "InfoTip" values: "prop:" followed by entries separated
// by ";". An entry of a property set is its format identifier in registry
// form (38 characters) directly followed by the property identifier.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qm {

// Appends an entry of `fmtid` for each of `pids` that the list does not name
// yet, in order; an empty text becomes "prop:" first. Raises 0xA2010279 and
// leaves `text` as it was when it is not empty and not a property list.
void MergeInfoTipPropertyList(std::string& text, std::string_view fmtid, std::span<const int> pids);

// Removes every entry of `fmtid`, whatever its property identifier, with the
// separators that went with it, and trailing separators. Other entries keep
// their text, order and separators. A list left without entries is "prop:";
// a list that held only entries of `fmtid` becomes empty. Text that is not a
// property list is left as it is.
void StripInfoTipPropertyList(std::string& text, std::string_view fmtid);

}  // namespace qm
