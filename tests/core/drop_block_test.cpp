#include "core/drop_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

// A DROPFILES header naming `first` and `wide`, then `text` (each character
// widened to two bytes when wide), as another process may write it.
std::vector<std::uint8_t> Block(std::uint32_t first, bool wide, const std::string& text) {
  std::vector<std::uint8_t> block(kDropHeaderSize, 0);
  for (int i = 0; i < 4; ++i) block[i] = static_cast<std::uint8_t>(first >> (8 * i));
  block[16] = wide;
  for (const char c : text) {
    block.push_back(static_cast<std::uint8_t>(c));
    if (wide) block.push_back(0);
  }
  return block;
}

TEST(DropBlock, NamesAreReadOnlyWhenTheWholeListLiesInsideTheBlock) {
  using namespace std::string_literals;
  const struct {
    std::vector<std::uint8_t> block;
    std::vector<std::string> names;  // the low bytes of wide names; {"<none>"} for a block refused
  } rows[] = {
      {Block(20, true, "C:\\a\0D:\\bc\0\0"s), {"C:\\a", "D:\\bc"}},
      {Block(20, false, "C:\\\xE9\0\0"s), {"C:\\\xE9"}},
      {Block(24, true, "xxC:\\a\0\0"s), {"C:\\a"}},  // the list may start past the header
      {Block(20, true, "\0"s), {}},
      {Block(20, false, "\0"s), {}},
      {Block(20, true, ""), {"<none>"}},          // no room for the ending name
      {Block(19, true, "C:\\a\0\0"s), {"<none>"}},  // inside the header
      {Block(0x10000, true, "C:\\a\0\0"s), {"<none>"}},
      {Block(20, true, "C:\\a"), {"<none>"}},       // a name without terminator
      {Block(20, false, "C:\\a\0"s), {"<none>"}},   // a list without its ending name
      {[] {  // half of a wide ending name
         auto block = Block(20, true, "C:\\a\0"s);
         block.push_back(0);
         return block;
       }(),
       {"<none>"}},
      {std::vector<std::uint8_t>(19, 0), {"<none>"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    const auto parsed = ParseDropBlock(row.block);
    std::vector<std::string> names;
    if (!parsed) names.push_back("<none>");
    for (const auto& name : parsed ? parsed->names : decltype(parsed->names){}) {
      std::string text;
      for (std::size_t i = 0; i < name.size(); i += parsed->wide ? 2 : 1) text += static_cast<char>(name[i]);
      names.push_back(text);
    }
    EXPECT_EQ(names, row.names);
  }
}

}  // namespace
}  // namespace qm
