// CF_HDROP blocks as another process may hand them over.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/drop_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> block(data, size);
  const auto list = qm::ParseDropBlock(block);
  if (!list) return 0;
  const std::size_t unit = list->wide ? 2 : 1;
  for (const auto& name : list->names) {
    // Inside the block past the header, not empty, whole units without a terminator.
    if (name.data() < data + qm::kDropHeaderSize || name.data() + name.size() + unit > data + size) std::abort();
    if (name.empty() || name.size() % unit != 0) std::abort();
    for (std::size_t i = 0; i < name.size(); i += unit)
      if (name[i] == 0 && (unit == 1 || name[i + 1] == 0)) std::abort();
  }
  return 0;
}
