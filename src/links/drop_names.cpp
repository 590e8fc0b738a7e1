#include "links/drop_names.h"

#include <string>

#include "core/status.h"
#include "win/text.h"

namespace qm {

DropNames::DropNames(HGLOBAL block) : m_lock(block), m_list(ParseDropBlock(m_lock.bytes())) {}

Path DropNames::operator[](std::size_t index) const {
  if (index >= size()) RaiseStatus(status::InvalidArg);
  const std::span<const std::uint8_t> name = m_list->names[index];
  if (!m_list->wide) return PathFromAnsi({reinterpret_cast<const char*>(name.data()), name.size()});
  // A name of path length is read into a buffer of the stack, a longer one whole.
  wchar_t local[MAX_PATH];
  std::wstring long_name;
  const std::size_t length = name.size() / 2;
  wchar_t* wide = local;
  if (length > MAX_PATH) {
    long_name.resize(length);
    wide = long_name.data();
  }
  for (std::size_t i = 0; i < length; ++i) wide[i] = static_cast<wchar_t>(name[2 * i] | (name[2 * i + 1] << 8));
  return PathToNarrow(std::wstring_view(wide, length));
}

}  // namespace qm
