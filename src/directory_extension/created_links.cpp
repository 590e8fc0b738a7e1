#include "directory_extension/created_links.h"

#include "core/growing.h"

namespace qm {

void CreatedLinks::Reserve(std::size_t count, std::size_t length) {
  m_paths.Reserve(count, length);
  GrowOrRaise([&] { m_files.reserve(count); });
}

void CreatedLinks::Add(std::string_view path, const std::optional<WIN32_FILE_ATTRIBUTE_DATA>& file) {
  GrowOrRaise([&] { m_files.push_back(file); });
  try {
    m_paths.Add(path);
  } catch (...) {
    m_files.pop_back();
    throw;
  }
}

}  // namespace qm
