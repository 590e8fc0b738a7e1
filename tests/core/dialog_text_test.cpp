#include "core/dialog_text.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(DialogText, PiecesFillTheirPlaceholdersInOrder) {
  struct Case {
    std::u16string_view format;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"delete '%s', a soft link to '%s'.", u"delete 'D:\\L', a soft link to 'D:\\T'."},
      {u"%s%s", u"D:\\LD:\\T"},
      {u"only '%s'", u"only 'D:\\L'"},
      {u"100%% of '%s'", u"100% of 'D:\\L'"},
      // Placeholders beyond the pieces stay empty; other conversions are text.
      {u"%s %s %s %d %x", u"D:\\L D:\\T  %d %x"},
      {u"trailing %", u"trailing %"},
      {u"%%s", u"%s"},
      {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(FillTextPieces(c.format, {u"D:\\L", u"D:\\T"}), c.expected);
  // A piece is never read as a format itself.
  EXPECT_EQ(FillTextPieces(u"'%s'", {u"%s %% %n"}), u"'%s %% %n'");
}

TEST(DialogText, AmpersandsAreDoubledForStaticControls) {
  EXPECT_EQ(ShowAmpersands(u"D:\\Tom & Jerry\\&&"), u"D:\\Tom && Jerry\\&&&&");
  EXPECT_EQ(ShowAmpersands(u"plain"), u"plain");
}

TEST(DialogText, LongPathsAreCutAroundTheirLastComponent) {
  struct Case {
    std::u16string_view path;
    std::size_t max_length;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"C:\\short\\name", 20, u"C:\\short\\name"},
      {u"C:\\a\\b\\c\\d\\e\\file.txt", 16, u"C:\\a...\\file.txt"},
      {u"C:\\folder\\averyveryverylongname", 16, u"...yverylongname"},
      {u"nobackslashatallhere", 10, u"...allhere"},
      {u"C:\\abc", 2, u".."},
  };
  for (const Case& c : cases) {
    const std::u16string cut = CutPathToLength(c.path, c.max_length);
    EXPECT_EQ(cut, c.expected) << c.max_length;
    EXPECT_LE(cut.size(), c.max_length);
  }
}

}  // namespace
}  // namespace qm
