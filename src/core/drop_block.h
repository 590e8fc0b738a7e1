// The CF_HDROP block another process hands over: a DROPFILES header, then
// the names, each terminated, and an empty name that ends the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qm {

// pFiles, the drop point, fNC and fWide.
constexpr std::size_t kDropHeaderSize = 20;

struct DropBlockNames {
  bool wide = false;
  // Each name's bytes inside the block, without its terminator: UTF-16LE
  // when wide, else 8-bit text in the writer's ANSI code page.
  std::vector<std::span<const std::uint8_t>> names;
};

// The names of `block` (its whole size as the system allocated it), or
// nothing when the list does not lie inside it: a block shorter than the
// header, a name offset inside the header or past the end, or a name or the
// ending empty name that runs past the end.
std::optional<DropBlockNames> ParseDropBlock(std::span<const std::uint8_t> block);

}  // namespace qm
