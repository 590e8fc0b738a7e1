#include "core/name_pattern.h"

namespace qm {

std::string FormatNamePattern(std::string_view pattern, std::string_view text, std::optional<int> number) {
  std::string out;
  out.reserve(pattern.size() + text.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] != '%' || (next != 's' && next != '%' && (next != 'd' || !number))) {
      out += pattern[i];
      continue;
    }
    if (next == 's') out += text;
    else if (next == '%') out += '%';
    else out += std::to_string(*number);
    ++i;
  }
  return out;
}

}  // namespace qm
