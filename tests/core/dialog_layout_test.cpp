#include "core/dialog_layout.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(DialogLayout, ATextThatNeedsMoreLinesGrowsAndPushesWhatLiesBelowIt) {
  const Rect text{63, 18, 396, 45};  // 27 high
  const std::vector<Rect> siblings = {
      {15, 15, 45, 47},     // icon beside the text: stays
      {63, 54, 396, 81},    // explanation below: moves
      {63, 45, 200, 60},    // starts exactly at the old bottom edge: moves
      {63, 44, 200, 60},    // starts one pixel above it: stays
      {18, 135, 306, 150},  // check box at the bottom: moves
  };
  struct Case {
    std::int32_t measured_width, measured_height, growth;
    Rect text;
  };
  const Case cases[] = {
      {320, 40, 13, {63, 18, 383, 60}},  // three lines: grows to the measured size plus 2
      {333, 27, 0, text},                // fits exactly: nothing changes
      {333, 13, 0, text},                // one line: never shrinks
  };
  for (const Case& c : cases) {
    const TextGrowth plan = PlanTextGrowth(text, c.measured_width, c.measured_height, siblings);
    EXPECT_EQ(plan.growth, c.growth);
    EXPECT_EQ(plan.text.left, c.text.left);
    EXPECT_EQ(plan.text.top, c.text.top);
    EXPECT_EQ(plan.text.right, c.text.right);
    EXPECT_EQ(plan.text.bottom, c.text.bottom);
    const std::vector<bool> moves = c.growth ? std::vector<bool>{false, true, true, false, true}
                                             : std::vector<bool>(siblings.size(), false);
    EXPECT_EQ(plan.moves, moves);
  }
}

}  // namespace
}  // namespace qm
