#include "core/anchor_colour.h"

namespace qm {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads one component at `at`, leaving `at` after its trailing blanks.
std::optional<std::uint8_t> ReadComponent(std::string_view text, std::size_t& at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  unsigned value = 0;
  std::size_t digits = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
    value = value * 10 + static_cast<unsigned>(text[at] - '0');
    if (value > 255) return std::nullopt;
  }
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (digits == 0) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

}  // namespace

std::optional<Rgb> ParseAnchorColour(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::uint8_t parts[3] = {};
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (at >= text.size() || text[at] != ',') return std::nullopt;
      ++at;
    }
    const auto part = ReadComponent(text, at);
    if (!part) return std::nullopt;
    parts[i] = *part;
  }
  if (at != text.size()) return std::nullopt;
  return Rgb{parts[0], parts[1], parts[2]};
}

}  // namespace qm
