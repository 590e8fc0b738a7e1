#include "core/link_menu.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/status.h"

namespace qm {
namespace {

// A described file system that counts what it is asked.
class FakeFacts : public LinkMenuFacts {
 public:
  std::set<Path> directories, unc, fat;
  PathList clipboard;
  bool clipboard_has_files = false;
  int host_item = -1;
  std::map<Path, int> directory_questions;
  int volume_questions = 0, clipboard_reads = 0;

  bool IsDirectory(const Path& p) override {
    ++directory_questions[p];
    return directories.count(p) != 0;
  }
  bool IsUnc(const Path& p) override { return unc.count(p) != 0 || p.rfind("\\\\", 0) == 0; }
  bool IsNtfsVolume(const Path& p) override {
    ++volume_questions;
    if (p[0] == 'X') RaiseStatus(StatusFromWin32(21));  // no medium
    return fat.count(p.substr(0, 1)) == 0;
  }
  bool IsSameRoot(const Path& a, const Path& b) override { return a[0] == b[0]; }
  bool ReadClipboard(PathList& names) override {
    ++clipboard_reads;
    for (const auto& n : clipboard) names.Add(n);
    return clipboard_has_files;
  }
  int HostPasteItemPosition() override { return host_item; }
};

PathList List(std::initializer_list<const char*> paths) {
  PathList list;
  for (const char* p : paths) list.Add(p);
  return list;
}

TEST(LinkMenu, DraggedDirectoriesOfferSoftLinksAndFilesHardLinksOnTheSameDrive) {
  FakeFacts facts;
  facts.directories = {"D:\\Links", "D:\\Music", "D:\\Photos", "C:\\Music"};
  auto one = ChooseLinkMenuEntries("D:\\Links", List({"D:\\Music"}), 5, facts);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].command, LinkCommand::CreateSoftLinks);
  EXPECT_EQ(one[0].position, 5);
  EXPECT_EQ(one[0].text_index, 0u);

  auto two = ChooseLinkMenuEntries("D:\\Links", List({"D:\\Music", "C:\\Music"}), 0, facts);
  ASSERT_EQ(two.size(), 1u);
  EXPECT_EQ(two[0].text_index, 1u);  // directories of another drive still qualify

  auto files = ChooseLinkMenuEntries("D:\\Links", List({"D:\\a.txt", "D:\\b.txt", "D:\\c.txt"}), 2, facts);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].command, LinkCommand::CreateHardLinks);
  EXPECT_EQ(files[0].position, 2);
  EXPECT_EQ(files[0].text_index, 1u);

  EXPECT_TRUE(ChooseLinkMenuEntries("D:\\Links", List({"C:\\a.txt"}), 0, facts).empty());        // other drive
  EXPECT_TRUE(ChooseLinkMenuEntries("D:\\Links", List({"D:\\a.txt", "D:\\Music"}), 0, facts).empty());  // mix
  EXPECT_TRUE(ChooseLinkMenuEntries("D:\\Links", List({"\\\\srv\\share\\dir"}), 0, facts).empty());
  EXPECT_TRUE(ChooseLinkMenuEntries("D:\\Links", PathList(), 0, facts).empty());
}

TEST(LinkMenu, DropFolderMustBeALocalNtfsDirectory) {
  FakeFacts facts;
  facts.directories = {"E:\\Fat", "D:\\Music", "\\\\srv\\share"};
  facts.fat = {"E"};
  EXPECT_TRUE(ChooseLinkMenuEntries("E:\\Fat", List({"D:\\Music"}), 0, facts).empty());
  facts.volume_questions = 0;
  EXPECT_TRUE(ChooseLinkMenuEntries("\\\\srv\\share", List({"D:\\Music"}), 0, facts).empty());
  EXPECT_TRUE(ChooseLinkMenuEntries("D:\\nofolder", List({"D:\\Music"}), 0, facts).empty());
  EXPECT_EQ(facts.volume_questions, 0);
}

TEST(LinkMenu, AsksTheVolumeOnceAndEachItemAtMostOnce) {
  FakeFacts facts;
  facts.directories = {"D:\\Links", "D:\\a", "D:\\b", "D:\\c"};
  ChooseLinkMenuEntries("D:\\Links", List({"D:\\a", "D:\\b", "D:\\c"}), 0, facts);
  EXPECT_EQ(facts.volume_questions, 1);
  for (const char* p : {"D:\\a", "D:\\b", "D:\\c"}) EXPECT_EQ(facts.directory_questions[p], 1) << p;

  facts.directory_questions.clear();
  ChooseLinkMenuEntries("D:\\Links", List({"D:\\x.txt", "D:\\y.txt"}), 0, facts);
  EXPECT_EQ(facts.directory_questions["D:\\x.txt"], 1);
  EXPECT_EQ(facts.directory_questions["D:\\y.txt"], 1);

  // A first source on a server rules out both kinds untested; the walk ends
  // at the first answer that contradicts the first.
  facts.directory_questions.clear();
  EXPECT_TRUE(ChooseLinkMenuEntries("D:\\Links", List({"\\\\srv\\share\\a", "D:\\a"}), 0, facts).empty());
  EXPECT_TRUE(ChooseLinkMenuEntries("D:\\Links", List({"D:\\a", "D:\\x.txt", "D:\\b"}), 0, facts).empty());
  EXPECT_EQ(facts.directory_questions, (std::map<Path, int>{{"D:\\Links", 2}, {"D:\\a", 1}, {"D:\\x.txt", 1}}));
}

TEST(LinkMenu, PasteNeedsOneSelectedDirectoryAndFilesOnTheClipboard) {
  FakeFacts facts;
  facts.directories = {"D:\\Target", "D:\\Other", "D:\\Music"};
  facts.clipboard_has_files = true;
  facts.clipboard = List({"D:\\a.txt", "D:\\b.txt"});
  facts.host_item = 3;
  auto hard = ChooseLinkMenuEntries("", List({"D:\\Target"}), 9, facts);
  ASSERT_EQ(hard.size(), 1u);
  EXPECT_EQ(hard[0].command, LinkCommand::PasteHardLinks);
  EXPECT_EQ(hard[0].position, 4);  // right after the host's paste item
  EXPECT_EQ(hard[0].text_index, 1u);

  facts.host_item = -1;
  facts.clipboard = List({"D:\\Music"});
  auto soft = ChooseLinkMenuEntries("", List({"D:\\Target"}), 9, facts);
  ASSERT_EQ(soft.size(), 1u);
  EXPECT_EQ(soft[0].command, LinkCommand::PasteSoftLinks);
  EXPECT_EQ(soft[0].position, 9);
  EXPECT_EQ(soft[0].text_index, 0u);

  facts.clipboard_reads = 0;
  EXPECT_TRUE(ChooseLinkMenuEntries("", List({"D:\\Target", "D:\\Other"}), 0, facts).empty());
  EXPECT_EQ(facts.clipboard_reads, 0);
  facts.clipboard_has_files = false;
  EXPECT_TRUE(ChooseLinkMenuEntries("", List({"D:\\Target"}), 0, facts).empty());
  facts.clipboard_has_files = true;
  facts.clipboard = PathList();
  EXPECT_TRUE(ChooseLinkMenuEntries("", List({"D:\\Target"}), 0, facts).empty());
}

TEST(LinkMenu, VolumeFailuresTravelOnBeforeAnythingIsChosen) {
  FakeFacts facts;
  facts.directories = {"X:\\Links", "D:\\Music"};
  EXPECT_THROW(ChooseLinkMenuEntries("X:\\Links", List({"D:\\Music"}), 0, facts), CAtlException);
}

}  // namespace
}  // namespace qm
