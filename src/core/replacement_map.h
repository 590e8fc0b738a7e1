// Replacement markers of registration scripts: "%Name%" becomes the value the
// map holds for Name, "%%" becomes "%".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/lead_byte.h"

namespace qm {

class ReplacementMap {
 public:
  // Copies both; a later pair of the same name is never found.
  void Add(std::string_view name, std::string_view value);
  // The value of the first pair whose name equals `name` without regard to
  // (ASCII) letter case; null when there is none.
  const std::string* Find(std::string_view name) const;

 private:
  std::vector<std::pair<std::string, std::string>> m_pairs;
};

// Names of this many characters or more are refused.
inline constexpr std::size_t kMaxMarkerName = 32;

// `text` with every marker replaced. Raises E_FAIL for a "%" without a
// closing one, a name too long, or a name the map lacks. A double-byte
// character is never split, so its trail byte is never read as "%".
std::string ExpandMarkers(std::string_view text, const ReplacementMap& map, LeadBytePredicate is_lead_byte = nullptr);

}  // namespace qm
