#include "core/path_list.h"

#include <new>
#include <stdexcept>

#include "core/status.h"

namespace qm {

void PathList::Add(Path path) {
  try {
    m_paths.push_back(std::move(path));
  } catch (const std::bad_alloc&) {
    RaiseStatus(status::OutOfMemory);
  } catch (const std::length_error&) {
    RaiseStatus(status::OutOfMemory);
  }
}

const Path& PathList::operator[](std::size_t index) const {
  if (index >= m_paths.size()) RaiseStatus(status::InvalidArg);
  return m_paths[index];
}

}  // namespace qm
