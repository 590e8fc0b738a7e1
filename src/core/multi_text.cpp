#include "core/multi_text.h"

namespace qm {

std::string_view PickText(std::string_view entry, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t skipped = 0; skipped < index; ++skipped) {
    const auto feed = entry.find('\n', start);
    if (feed == std::string_view::npos) return {};
    start = feed + 1;
  }
  const auto end = entry.find('\n', start);
  return entry.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace qm
