// Choosing the name of a new link.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/status.h"
#include "link_test_support.h"
#include "links/unique_name.h"

namespace links_test {
namespace {

constexpr const char* kSoft = "Soft Link to %s";
constexpr const char* kHard = "Hard Link to %s";
constexpr const char* kNumbered = "%s (%d)";

class UniqueName : public PlainPlatform {
 protected:
  std::string Soft(bool skip = false) {
    return qm::MakeUniqueDestinationPath("E:\\Media\\Music", scratch, skip, kSoft, kNumbered, 2);
  }
};

TEST_F(UniqueName, PlainNameThenPatternThenNumbersUpTo99) {
  EXPECT_EQ(Soft(), At("Music"));
  EXPECT_EQ(Soft(true), At("Soft Link to Music"));  // even though Music is free
  MakeDirectory(At("Music"));
  EXPECT_EQ(Soft(), At("Soft Link to Music"));
  MakeDirectory(At("Soft Link to Music"));
  EXPECT_EQ(Soft(), At("Soft Link to Music (2)"));
  MakeFile(At("Soft Link to Music (2)"));  // files count as taken too
  EXPECT_EQ(Soft(true), At("Soft Link to Music (3)"));

  for (int n = 3; n <= 99; ++n) MakeDirectory(At("Soft Link to Music (" + std::to_string(n) + ")"));
  imports.ResetCounts();
  EXPECT_EQ(StatusOf([&] { Soft(); }), static_cast<HRESULT>(qm::status::NoFreeLinkName));
  // Music, the pattern and 2 to 99: number 100, though free, is never tried.
  EXPECT_EQ(imports.Calls("GetFileAttributesA"), 100u);
  EXPECT_EQ(StatusOf([&] { qm::MakeUniqueDestinationPath("E:\\Music", scratch, true, kSoft, kNumbered, 100); }),
            static_cast<HRESULT>(qm::status::NoFreeLinkName));
}

TEST_F(UniqueName, NumbersGoBeforeTheExtension) {
  MakeFile(At("Hard Link to notes.txt"));
  EXPECT_EQ(qm::MakeUniqueDestinationPath("E:\\Docs\\notes.txt", scratch, true, kHard, kNumbered, 2),
            At("Hard Link to notes (2).txt"));
  EXPECT_EQ(qm::MakeUniqueDestinationPath("E:\\Docs\\notes.txt", scratch, false, kHard, kNumbered, 2),
            At("notes.txt"));
}

TEST_F(UniqueName, PatternsFromALanguageModuleAreNeverReadAsPrintfFormats) {
  EXPECT_EQ(qm::MakeUniqueDestinationPath("E:\\Music", scratch, true, "%n%p%x %s 100%%", kNumbered, 2),
            At("%n%p%x Music 100%"));
  MakeDirectory(At("Music"));
  EXPECT_EQ(qm::MakeUniqueDestinationPath("E:\\Music", scratch, true, "%s", "%s [%d] %ls%n", 7), At("Music [7] %ls%n"));
}

TEST_F(UniqueName, ANameWhoseExistenceCannotBeToldIsNotTakenAsFree) {
  imports.FailCall("GetFileAttributesA", 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(StatusOf([&] { Soft(); }), E_ACCESSDENIED);
  // A destination too deep for the candidates: the limit is reported, not a cut path.
  const std::string deep = "D:\\" + std::string(240, 'd');
  EXPECT_EQ(StatusOf([&] { qm::MakeUniqueDestinationPath("E:\\Music", deep, true, kSoft, kNumbered, 2); }),
            HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
}

}  // namespace
}  // namespace links_test
