// CF_HDROP blocks as another process may hand them over. Every name read lies
// inside the block past the header, is whole characters not ending in a
// terminator, and is followed by its terminator inside the block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/drop_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto list = qm::ParseDropBlock({data, size});
  for (const auto& name : list ? list->names : decltype(list->names){}) {
    const std::size_t unit = list->wide ? 2 : 1, end = static_cast<std::size_t>(name.data() - data) + name.size();
    if (name.empty() || name.size() % unit || name.data() < data + qm::kDropHeaderSize || end + unit > size ||
        (data[end] | data[end + unit - 1]) != 0 || (name[name.size() - unit] | name.back()) == 0)
      std::abort();
  }
  return 0;
}
