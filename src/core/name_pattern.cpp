#include "core/name_pattern.h"

#include <charconv>

namespace qm {

std::string FormatNamePattern(std::string_view pattern, std::string_view text, std::optional<int> number) {
  std::string out;
  out.reserve(pattern.size() + text.size());
  AppendNamePattern(out, pattern, text, number);
  return out;
}

void AppendNamePattern(std::string& out, std::string_view pattern, std::string_view text, std::optional<int> number) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] != '%' || (next != 's' && next != '%' && (next != 'd' || !number))) {
      out += pattern[i];
      continue;
    }
    if (next == 's') out += text;
    else if (next == '%') out += '%';
    else {
      char digits[16];
      out.append(digits, std::to_chars(digits, digits + sizeof digits, *number).ptr);
    }
    ++i;
  }
}

}  // namespace qm
