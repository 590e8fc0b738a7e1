#include "core/link_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/name_pattern.h"
#include "core/nt_path.h"
#include "core/volume_root.h"

namespace qm {
namespace {

std::vector<std::string> All(const std::string& name, bool skip, const LinkNamePatterns& patterns) {
  LinkNameCandidates candidates(name, skip, patterns);
  std::vector<std::string> out;
  while (auto next = candidates.Next()) out.push_back(*next);
  EXPECT_FALSE(candidates.Next().has_value());
  return out;
}

const LinkNamePatterns kSoft{"Soft Link to %s", "%s (%d)", 2};
const LinkNamePatterns kHard{"Hard Link to %s", "%s (%d)", 2};

TEST(LinkNames, PlainThenPatternThenNumbersTwoToNinetyNine) {
  const auto names = All("Music", false, kSoft);
  ASSERT_EQ(names.size(), 100u);
  EXPECT_EQ(names[0], "Music");
  EXPECT_EQ(names[1], "Soft Link to Music");
  EXPECT_EQ(names[2], "Soft Link to Music (2)");
  EXPECT_EQ(names.back(), "Soft Link to Music (99)");

  const auto skipped = All("Music", true, kSoft);
  ASSERT_EQ(skipped.size(), 99u);
  EXPECT_EQ(skipped[0], "Soft Link to Music");
  EXPECT_EQ(std::count(skipped.begin(), skipped.end(), "Music"), 0);

  EXPECT_EQ(All("Music", true, {"Soft Link to %s", "%s (%d)", 99}).size(), 2u);
  EXPECT_EQ(All("Music", true, {"Soft Link to %s", "%s (%d)", 100}).size(), 1u);
  EXPECT_EQ(All("Music", false, {"Soft Link to %s", "%s (%d)", 1000}).size(), 2u);
}

TEST(LinkNames, NumbersGoBeforeTheSourcesExtension) {
  const auto names = All("notes.txt", true, kHard);
  EXPECT_EQ(names[0], "Hard Link to notes.txt");
  EXPECT_EQ(names[1], "Hard Link to notes (2).txt");
  EXPECT_EQ(names.back(), "Hard Link to notes (99).txt");
  // Only the last period counts, and not when a space follows it.
  EXPECT_EQ(All("archive.tar.gz", true, kHard)[1], "Hard Link to archive.tar (2).gz");
  EXPECT_EQ(All("v1.0 final", true, kSoft)[1], "Soft Link to v1.0 final (2)");
  // A pattern that puts text after the name: the extension is still added last.
  EXPECT_EQ(All("a.txt", true, {"%s - Link", "%s (%d)", 2})[1], "a.txt - Link (2).txt");
}

TEST(FileNameExtension, FromTheLastPeriodUnlessASpaceFollows) {
  EXPECT_EQ(FileNameExtension("notes.txt"), ".txt");
  EXPECT_EQ(FileNameExtension("Music"), "");
  EXPECT_EQ(FileNameExtension(".profile"), ".profile");
  EXPECT_EQ(FileNameExtension("a.b c"), "");
  EXPECT_EQ(FileNameExtension("a b.c"), ".c");
  EXPECT_EQ(FileNameExtension("trailing."), ".");
}

TEST(NamePattern, SubstitutesOnlyNameNumberAndPercent) {
  EXPECT_EQ(FormatNamePattern("Soft Link to %s", "Music"), "Soft Link to Music");
  EXPECT_EQ(FormatNamePattern("%s (%d)", "Music", 42), "Music (42)");
  EXPECT_EQ(FormatNamePattern("%d. %s, %s", "x", -7), "-7. x, x");
  EXPECT_EQ(FormatNamePattern("100%% %s", "x"), "100% x");
  // Foreign conversions stay literal and consume nothing.
  EXPECT_EQ(FormatNamePattern("%n%x%p%08s%ls%S %s", "x", 3), "%n%x%p%08s%ls%S x");
  EXPECT_EQ(FormatNamePattern("(%d) %s", "x"), "(%d) x");
  EXPECT_EQ(FormatNamePattern("ends with %", "x"), "ends with %");
  // The substituted text is not read as a pattern.
  EXPECT_EQ(FormatNamePattern("%s", "%s%d%n", 1), "%s%d%n");
}

TEST(NtPath, PrefixAddedRootLosesBackslashPrefixedNamesKept) {
  EXPECT_EQ(SubstituteNameForTarget(u"D:\\Data"), u"\\??\\D:\\Data");
  EXPECT_EQ(SubstituteNameForTarget(u"C:\\"), u"\\??\\C:");
  EXPECT_EQ(SubstituteNameForTarget(u"D:\\Data\\"), u"\\??\\D:\\Data\\");
  EXPECT_EQ(SubstituteNameForTarget(u"\\??\\D:\\Data\\"), u"\\??\\D:\\Data\\");
  EXPECT_EQ(SubstituteNameForTarget(u"\\??\\C:\\"), u"\\??\\C:\\");
  EXPECT_EQ(SubstituteNameForTarget(u"\u00e9:\\"), u"\\??\\\u00e9:");

  EXPECT_EQ(TargetOfSubstituteName(u"\\??\\D:\\Data"), u"D:\\Data");
  EXPECT_EQ(TargetOfSubstituteName(u"\\??\\C:"), u"C:");
  EXPECT_EQ(TargetOfSubstituteName(u"\\??\\C:\\"), u"C:\\");
  EXPECT_EQ(TargetOfSubstituteName(u"\\\\?\\D:\\Data"), u"\\\\?\\D:\\Data");
  EXPECT_EQ(TargetOfSubstituteName(u"\\??"), u"\\??");
  EXPECT_EQ(TargetOfSubstituteName(u""), u"");
}

TEST(VolumeRoot, OnlyDriveLetterPathsAreAskedAbout) {
  EXPECT_EQ(VolumeRootOf("c:\\x"), "c:\\");
  EXPECT_EQ(VolumeRootOf("D:\\"), "D:\\");
  EXPECT_FALSE(VolumeRootOf("C:"));
  EXPECT_FALSE(VolumeRootOf("C:x"));
  EXPECT_FALSE(VolumeRootOf("\\\\server\\share\\dir"));
  EXPECT_FALSE(VolumeRootOf("dir\\sub"));
  EXPECT_FALSE(VolumeRootOf("C:/x"));
  EXPECT_FALSE(VolumeRootOf(""));

  EXPECT_TRUE(IsNtfsFileSystemName("NTFS"));
  EXPECT_TRUE(IsNtfsFileSystemName("ntfs"));
  EXPECT_TRUE(IsNtfsFileSystemName("nTfS"));
  EXPECT_FALSE(IsNtfsFileSystemName("FAT32"));
  EXPECT_FALSE(IsNtfsFileSystemName("NTFS5"));
  EXPECT_FALSE(IsNtfsFileSystemName(""));
}

}  // namespace
}  // namespace qm
