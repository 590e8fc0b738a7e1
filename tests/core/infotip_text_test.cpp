#include "core/infotip_text.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(FillInfoTipFormat, FillsOnlyItsOwnPlaceholders) {
  struct Row {
    std::u16string_view format;
    std::optional<std::uint32_t> number;
    std::u16string_view expected;
  };
  const Row rows[] = {
      {u"Soft Link Target: %ls", {}, u"Soft Link Target: D:\\Dāta"},
      {u"Hard Link Count: %d", 3u, u"Hard Link Count: 3"},
      {u"%d of %d", 4294967295u, u"4294967295 of 4294967295"},
      {u"%ls and %ls", {}, u"D:\\Dāta and D:\\Dāta"},
      {u"100%% %ls", {}, u"100% D:\\Dāta"},
      // A language module's mistakes stay visible instead of reading arguments.
      {u"Target: %s %x %n %", {}, u"Target: %s %x %n %"},
      {u"Count: %d", {}, u"Count: %d"},
      {u"", 7u, u""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(FillInfoTipFormat<char16_t>(row.format, u"D:\\Dāta", row.number), row.expected)
        << std::string(row.format.begin(), row.format.end());
}

}  // namespace
}  // namespace qm
