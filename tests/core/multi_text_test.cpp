#include "core/multi_text.h"

#include <gtest/gtest.h>

#include "core/path_list.h"
#include "core/status.h"

namespace qm {
namespace {

TEST(PickText, SplitsAtLineFeedsAndIsEmptyPastTheLast) {
  constexpr std::string_view entry = "Create S&oft Link Here\nCreate S&oft Links Here\n";
  EXPECT_EQ(PickText(entry, 0), "Create S&oft Link Here");
  EXPECT_EQ(PickText(entry, 1), "Create S&oft Links Here");
  EXPECT_EQ(PickText(entry, 2), "");
  EXPECT_EQ(PickText(entry, 9), "");
  EXPECT_EQ(PickText("Soft Link to %s", 0), "Soft Link to %s");
  EXPECT_EQ(PickText("Soft Link to %s", 1), "");
  EXPECT_EQ(PickText("a\n\nc", 2), "c");
}

TEST(Status, Win32ErrorsBecomeHresultsAndNegativeOrZeroPass) {
  EXPECT_EQ(static_cast<std::uint32_t>(StatusFromWin32(5)), 0x80070005u);
  EXPECT_EQ(static_cast<std::uint32_t>(StatusFromWin32(0x12345)), 0x80072345u);
  EXPECT_EQ(StatusFromWin32(0), 0);
  EXPECT_EQ(static_cast<std::uint32_t>(StatusFromWin32(0x80004005u)), 0x80004005u);
}

TEST(PathList, KeepsOrderAndRefusesBadIndexes) {
  PathList list;
  list.Add("C:\\a");
  list.Add("C:\\b");
  EXPECT_EQ(list[1], "C:\\b");
  try {
    (void)list[2];
    FAIL();
  } catch (const CAtlException& e) {
    EXPECT_EQ(e.status(), status::InvalidArg);
  }
}

}  // namespace
}  // namespace qm
