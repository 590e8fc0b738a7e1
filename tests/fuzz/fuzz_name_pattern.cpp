// Name patterns from language modules: "Soft Link to %s", "%s (%d)".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/link_names.h"
#include "core/name_pattern.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// Input: 4 bytes of number, then name pattern, numbered pattern and source
// name separated by NUL bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  int number = 0;
  std::memcpy(&number, data, 4);
  std::string_view rest(reinterpret_cast<const char*>(data + 4), size - 4);
  std::string_view parts[3];
  for (auto& part : parts) {
    const auto end = rest.find('\0');
    part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const auto [name_format, numbered_format, name] = parts;

  const std::string formatted = qm::FormatNamePattern(name_format, name, number);
  if (name_format.find('%') == std::string_view::npos) Check(formatted == name_format);
  // Each pattern byte yields at most the longest substitution.
  Check(formatted.size() <= name_format.size() * (name.size() + 12) + 1);

  const int first = number % 200;
  qm::LinkNameCandidates candidates(std::string(name), (number & 1) != 0,
                                    {std::string(name_format), std::string(numbered_format), first});
  int offered = 0;
  while (candidates.Next()) Check(++offered <= 2 + std::max(0, qm::kLinkNumberLimit - first));
  return 0;
}
