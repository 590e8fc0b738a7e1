#include "directory_extension/created_links.h"

#include <new>
#include <stdexcept>

#include "win/errors.h"

namespace qm {

void CreatedLinks::Reserve(std::size_t count, std::size_t length) {
  m_paths.Reserve(count, length);
  try {
    m_files.reserve(count);
  } catch (const std::bad_alloc&) {
    RaiseStatus(status::OutOfMemory);
  } catch (const std::length_error&) {
    RaiseStatus(status::OutOfMemory);
  }
}

void CreatedLinks::Add(std::string_view path, const std::optional<WIN32_FILE_ATTRIBUTE_DATA>& file) {
  try {
    m_files.push_back(file);
  } catch (const std::bad_alloc&) {
    RaiseStatus(status::OutOfMemory);
  }
  try {
    m_paths.Add(path);
  } catch (...) {
    m_files.pop_back();
    throw;
  }
}

}  // namespace qm
