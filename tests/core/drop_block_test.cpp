#include "core/drop_block.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

using namespace std::string_literals;

// A DROPFILES header naming `first` and `wide`, then `text` (each character
// widened when wide), as another process may write it.
std::string Block(char first, bool wide, const std::string& text) {
  std::string block = std::string(1, first) + std::string(15, '\0') + std::string(1, wide) + std::string(3, '\0');
  for (const char c : text) block += wide ? std::string{c, '\0'} : std::string{c};
  return block;
}

TEST(DropBlock, NamesAreReadOnlyWhenTheWholeListLiesInsideTheBlock) {
  const struct {
    std::string block;
    int names;  // -1: refused
  } rows[] = {
      {Block(20, true, "C:\\a\0D:\\bc\0\0"s), 2},   {Block(20, false, "C:\\\xE9\0\0"s), 1},
      {Block(24, true, "xxC:\\a\0\0"s), 1},         {Block(20, true, "\0"s), 0},
      {Block(20, false, "\0"s), 0},                 {Block(20, true, ""), -1},  // no room for the ending name
      {Block(19, true, "C:\\a\0\0"s), -1},          {Block(127, true, "C:\\a\0\0"s), -1},
      {Block(20, true, "C:\\a"), -1},               {Block(20, false, "C:\\a\0"s), -1},  // no ending name
      {Block(20, true, "C:\\a\0"s) + "\0"s, -1},    {std::string(19, '\0'), -1},
  };
  for (const auto& row : rows) {
    const auto list = ParseDropBlock({reinterpret_cast<const std::uint8_t*>(row.block.data()), row.block.size()});
    EXPECT_EQ(list ? static_cast<int>(list->names.size()) : -1, row.names) << &row - rows;
  }
}

}  // namespace
}  // namespace qm
