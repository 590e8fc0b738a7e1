#include "core/packed_paths.h"

#include "core/growing.h"
#include "core/status.h"

namespace qm {

void PackedPaths::Reserve(std::size_t count, std::size_t length) {
  GrowOrRaise([&] {
    m_text.reserve(count * (length + 1));
    m_ends.reserve(count);
  });
}

void PackedPaths::Add(std::string_view path) {
  const std::size_t begin = m_text.size();
  GrowOrRaise([&] {
    m_ends.push_back(begin + path.size());
    try {
      m_text.append(path).push_back('\0');
    } catch (...) {
      // Nothing of the path stays.
      m_ends.pop_back();
      m_text.resize(begin);
      throw;
    }
  });
}

std::string_view PackedPaths::operator[](std::size_t index) const {
  if (index >= m_ends.size()) RaiseStatus(status::InvalidArg);
  const std::size_t begin = index == 0 ? 0 : m_ends[index - 1] + 1;
  return std::string_view(m_text).substr(begin, m_ends[index] - begin);
}

}  // namespace qm
