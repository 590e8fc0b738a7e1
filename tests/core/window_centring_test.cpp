#include "core/window_centring.h"

#include <gtest/gtest.h>

#include <limits>

namespace qm {
namespace {

constexpr std::uint32_t kVisible = 0x10000000;
constexpr std::uint32_t kMinimised = 0x20000000;

TEST(WindowCentring, FrameFollowsChildStyleAndTheOwnersVisibility) {
  EXPECT_EQ(ChooseCentringFrame({true, true, 0}), CentringFrame::ReferenceClientInParent);
  EXPECT_EQ(ChooseCentringFrame({true, false, 0}), CentringFrame::None);
  EXPECT_EQ(ChooseCentringFrame({false, false, 0}), CentringFrame::WorkArea);
  EXPECT_EQ(ChooseCentringFrame({false, true, kVisible}), CentringFrame::ReferenceWindowInWorkArea);
  EXPECT_EQ(ChooseCentringFrame({false, true, 0}), CentringFrame::WorkArea);                       // hidden owner
  EXPECT_EQ(ChooseCentringFrame({false, true, kVisible | kMinimised}), CentringFrame::WorkArea);  // minimised owner
}

TEST(WindowCentring, CentresOnTheMidpointRoundingTowardZero) {
  const Rect area{-2000, -2000, 2000, 2000};
  // Only the window's size counts, not where it is now.
  EXPECT_EQ(CentredPosition({500, 500, 600, 550}, {100, 100, 500, 400}, area).x, 250);
  EXPECT_EQ(CentredPosition({500, 500, 600, 550}, {100, 100, 500, 400}, area).y, 225);
  // Odd sums and sizes: (-301 + 0) / 2 = -150 and 101 / 2 = 50, not -151 and 51.
  const Point p = CentredPosition({0, 0, 101, 51}, {-301, -99, 0, 0}, area);
  EXPECT_EQ(p.x, -200);
  EXPECT_EQ(p.y, -49 - 25);
}

TEST(WindowCentring, PushesBackInsideTheAreaLeftAndTopFirst) {
  const Rect area{0, 0, 1000, 800};
  const Rect box{0, 0, 300, 200};
  // Owner partly off the left and top edges.
  Point p = CentredPosition(box, {-400, -300, 100, 100}, area);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  // Owner partly off the right and bottom edges: right and bottom edges meet the area's.
  p = CentredPosition(box, {900, 700, 1300, 1000}, area);
  EXPECT_EQ(p.x, 700);
  EXPECT_EQ(p.y, 600);
  // A window larger than the area keeps its left and top edges on the area's.
  p = CentredPosition({0, 0, 1200, 900}, {400, 300, 600, 500}, area);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  // Inside the area nothing is pushed.
  p = CentredPosition(box, {100, 100, 500, 500}, area);
  EXPECT_EQ(p.x, 150);
  EXPECT_EQ(p.y, 200);
}

TEST(WindowCentring, ExtremeCoordinatesDoNotOverflow) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  const Rect everything{kMin, kMin, kMax, kMax};
  const Point p = CentredPosition({0, 0, 100, 100}, {kMax - 10, kMax - 10, kMax, kMax}, everything);
  EXPECT_EQ(p.x, kMax - 100);
  EXPECT_EQ(p.y, kMax - 100);
  const Point q = CentredPosition(everything, {0, 0, 10, 10}, {0, 0, 10, 10});
  EXPECT_EQ(q.x, 0);
  EXPECT_EQ(q.y, 0);
}

}  // namespace
}  // namespace qm
