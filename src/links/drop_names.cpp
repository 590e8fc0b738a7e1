#include "links/drop_names.h"

#include "core/status.h"
#include "win/text.h"

namespace qm {

DropNames::DropNames(HGLOBAL block) : m_lock(block), m_list(ParseDropBlock(m_lock.bytes())) {}

Path DropNames::operator[](std::size_t index) const {
  if (index >= size()) RaiseStatus(status::InvalidArg);
  const std::span<const std::uint8_t> name = m_list->names[index];
  if (!m_list->wide) return PathFromAnsi({reinterpret_cast<const char*>(name.data()), name.size()});
  std::wstring wide(name.size() / 2, L'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<wchar_t>(name[2 * i] | (name[2 * i + 1] << 8));
  return PathToNarrow(wide);
}

}  // namespace qm
