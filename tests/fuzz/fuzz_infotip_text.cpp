// Infotip formats from language modules: "Soft Link Target: %ls".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/infotip_text.h"

// Input: 4 bytes of number, then the format as UTF-16 code units; the text
// put in is the format itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t number = 0;
  std::memcpy(&number, data, 4);
  std::u16string format((size - 4) / 2, u'\0');
  std::memcpy(format.data(), data + 4, format.size() * 2);
  const std::u16string filled = qm::FillInfoTipFormat<char16_t>(format, format, number);
  // Each format unit yields at most the text or ten digits.
  if (filled.size() > format.size() * (format.size() + 10)) std::abort();
  if (format.find(u'%') == std::u16string::npos && filled != format) std::abort();
  return 0;
}
