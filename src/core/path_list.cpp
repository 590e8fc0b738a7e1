#include "core/path_list.h"

#include "core/growing.h"
#include "core/status.h"

namespace qm {

void PathList::Add(Path path) {
  GrowOrRaise([&] { m_paths.push_back(std::move(path)); });
}

const Path& PathList::operator[](std::size_t index) const {
  if (index >= m_paths.size()) RaiseStatus(status::InvalidArg);
  return m_paths[index];
}

}  // namespace qm
