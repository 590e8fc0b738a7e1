#include "core/infotip_text.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(FillInfoTipFormat, FillsOnlyItsOwnPlaceholders) {
  const std::u16string_view target = u"D:\\Dāta";
  EXPECT_EQ(FillInfoTipFormat<char16_t>(u"Soft Link Target: %ls", target), u"Soft Link Target: D:\\Dāta");
  EXPECT_EQ(FillInfoTipFormat<char16_t>(u"%d of %d, 100%%", {}, 4294967295u), u"4294967295 of 4294967295, 100%");
  // A language module's mistakes stay visible instead of reading arguments.
  EXPECT_EQ(FillInfoTipFormat<char16_t>(u"%s %x %n %d %", target), u"%s %x %n %d %");
}

}  // namespace
}  // namespace qm
