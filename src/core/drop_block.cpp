#include "core/drop_block.h"

namespace qm {
namespace {

std::uint32_t Get32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

bool IsTerminator(std::span<const std::uint8_t> unit) {
  for (const std::uint8_t byte : unit)
    if (byte != 0) return false;
  return true;
}

}  // namespace

std::optional<DropBlockNames> ParseDropBlock(std::span<const std::uint8_t> block) {
  if (block.size() < kDropHeaderSize) return std::nullopt;
  const std::size_t first = Get32(block, 0);
  if (first < kDropHeaderSize || first > block.size()) return std::nullopt;
  DropBlockNames list;
  list.wide = Get32(block, 16) != 0;
  const std::size_t unit = list.wide ? 2 : 1;
  std::size_t start = first;
  for (std::size_t at = first; unit <= block.size() - at; at += unit) {
    if (!IsTerminator(block.subspan(at, unit))) continue;
    if (at == start) return list;  // the empty name ends the list
    list.names.push_back(block.subspan(start, at - start));
    start = at + unit;
  }
  return std::nullopt;
}

}  // namespace qm
