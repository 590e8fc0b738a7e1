// Growable list of paths in insertion order with checked indexing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qm {

using Path = std::string;  // 8-bit text in the conversion code page

class PathList {
 public:
  std::size_t size() const noexcept { return m_paths.size(); }
  bool empty() const noexcept { return m_paths.empty(); }

  // Raises E_OUTOFMEMORY when the list cannot grow.
  void Add(Path path);
  // Raises E_INVALIDARG for an index outside the list.
  const Path& operator[](std::size_t index) const;
  void Clear() noexcept { m_paths.clear(); }

  auto begin() const noexcept { return m_paths.begin(); }
  auto end() const noexcept { return m_paths.end(); }

 private:
  std::vector<Path> m_paths;
};

}  // namespace qm
