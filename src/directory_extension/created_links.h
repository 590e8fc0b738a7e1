// The links one menu command made, in creation order, each with its file's
// attributes, times and size as they were read when it was made.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

#include "core/packed_paths.h"

namespace qm {

class CreatedLinks {
 public:
  std::size_t size() const noexcept { return m_paths.size(); }
  bool empty() const noexcept { return m_paths.empty(); }

  // Room for `count` links whose paths are about `length` characters long.
  void Reserve(std::size_t count, std::size_t length);
  // Raises E_OUTOFMEMORY when the list cannot grow; nothing is added then.
  void Add(std::string_view path, const std::optional<WIN32_FILE_ATTRIBUTE_DATA>& file);

  std::string_view path(std::size_t index) const { return m_paths[index]; }
  // Nothing when the file could not be read.
  const std::optional<WIN32_FILE_ATTRIBUTE_DATA>& file(std::size_t index) const { return m_files.at(index); }

 private:
  PackedPaths m_paths;
  std::vector<std::optional<WIN32_FILE_ATTRIBUTE_DATA>> m_files;
};

}  // namespace qm
