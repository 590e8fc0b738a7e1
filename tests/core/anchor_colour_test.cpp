#include "core/anchor_colour.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

TEST(AnchorColour, OnlyThreeDecimalComponentsUpTo255NameAColour) {
  struct Case {
    std::string text;
    std::optional<Rgb> colour;
  };
  const Case cases[] = {
      {"255,0,0", Rgb{255, 0, 0}},
      {"0,0,255", Rgb{0, 0, 255}},
      {"128, 0 ,128", Rgb{128, 0, 128}},
      {std::string("1,2,3\0junk", 10), Rgb{1, 2, 3}},  // read up to the terminator
      {"007,08,9", Rgb{7, 8, 9}},
      {"red", std::nullopt},
      {"", std::nullopt},
      {"256,0,0", std::nullopt},
      {"-1,0,0", std::nullopt},
      {"1,2", std::nullopt},
      {"1,2,3,4", std::nullopt},
      {"1,,3", std::nullopt},
      {"1,2,3x", std::nullopt},
      {"99999999999,0,0", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseAnchorColour(c.text), c.colour) << c.text;
}

}  // namespace
}  // namespace qm
