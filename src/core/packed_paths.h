// Many paths kept end to end in one growing buffer, in insertion order: a
// list that costs a few blocks however many paths it holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class PackedPaths {
 public:
  std::size_t size() const noexcept { return m_ends.size(); }
  bool empty() const noexcept { return m_ends.empty(); }

  // Room for `count` paths of `length` characters before the buffers grow.
  // Raises E_OUTOFMEMORY as Add does.
  void Reserve(std::size_t count, std::size_t length);
  // Raises E_OUTOFMEMORY when the list cannot grow.
  void Add(std::string_view path);
  // Path `index`, followed by a terminator in the buffer. Raises
  // E_INVALIDARG for an index outside the list.
  std::string_view operator[](std::size_t index) const;

 private:
  std::string m_text;
  std::vector<std::size_t> m_ends;  // of each path, before its terminator
};

}  // namespace qm
