#include "core/replacement_map.h"

#include <algorithm>

#include "core/status.h"

namespace qm {
namespace {

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(x) == FoldCase(y);
         });
}

// Length of the character that starts at `i`: 2 for a lead byte with a byte after it.
std::size_t CharacterLength(std::string_view text, std::size_t i, LeadBytePredicate is_lead_byte) {
  return is_lead_byte && i + 1 < text.size() && is_lead_byte(static_cast<unsigned char>(text[i])) ? 2 : 1;
}

}  // namespace

void ReplacementMap::Add(std::string_view name, std::string_view value) { m_pairs.emplace_back(name, value); }

const std::string* ReplacementMap::Find(std::string_view name) const {
  for (const auto& [key, value] : m_pairs)
    if (EqualIgnoringCase(key, name)) return &value;
  return nullptr;
}

std::string ExpandMarkers(std::string_view text, const ReplacementMap& map, LeadBytePredicate is_lead_byte) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '%') {
      const std::size_t length = CharacterLength(text, i, is_lead_byte);
      out.append(text, i, length);
      i += length;
      continue;
    }
    std::size_t end = i + 1;
    while (end < text.size() && text[end] != '%') end += CharacterLength(text, end, is_lead_byte);
    if (end >= text.size()) RaiseStatus(status::Fail);
    const std::string_view name = text.substr(i + 1, end - i - 1);
    if (name.empty()) {
      out += '%';
    } else {
      if (name.size() >= kMaxMarkerName) RaiseStatus(status::Fail);
      const std::string* value = map.Find(name);
      if (!value) RaiseStatus(status::Fail);
      out += *value;
    }
    i = end + 1;
  }
  return out;
}

}  // namespace qm
