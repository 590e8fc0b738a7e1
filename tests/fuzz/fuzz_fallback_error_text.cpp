// Fallback error text formats from language modules: "Error 0x%08x".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/error_text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// Input: 4 bytes of status, then the format.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t status = 0;
  std::memcpy(&status, data, 4);
  const std::string_view format(reinterpret_cast<const char*>(data + 4), size - 4);

  const std::string text = qm::FormatFallbackErrorText(format, status);
  if (format.find('%') == std::string_view::npos) Check(text == format);
  // A placeholder is at least 2 bytes and becomes 8; "%%" shrinks.
  Check(text.size() <= format.size() + 6);
  qm::NeedsInsertArguments(format);
  qm::NeedsInsertArguments(text);
  return 0;
}
