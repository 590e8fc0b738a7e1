// Replacement markers in registration script strings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/replacement_map.h"
#include "core/status.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; }

}  // namespace

// Input: one byte choosing single- or double-byte text, then the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  qm::ReplacementMap map;
  map.Add("Module", "C:\\Program Files\\Q\\QuorvaneMarrowby.dll");
  map.Add("APPID", "");
  map.Add("FriendlyName", "%Module% 100%");  // values are never expanded again

  std::string expanded;
  try {
    expanded = qm::ExpandMarkers(text, map, data[0] & 1 ? &IsLeadByte : nullptr);
  } catch (const qm::CAtlException& e) {
    Check(e.status() == qm::status::Fail);
    Check(text.find('%') != std::string_view::npos);
    return 0;
  }
  if (text.find('%') == std::string_view::npos) Check(expanded == text);
  // Each marker takes at least two bytes and yields at most the longest value.
  Check(expanded.size() <= text.size() * 20);
  return 0;
}
