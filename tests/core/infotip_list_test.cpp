#include "core/infotip_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/status.h"

namespace qm {
namespace {

constexpr char kF[] = "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}";
const std::string F = kF;
const std::string f = "{a3d4f871-62c5-4b09-8e7a-15c9d2b0e447}";

TEST(InfoTipList, MergeAddsOnlyThePropertiesNotNamedYet) {
  struct Row {
    std::string before;
    std::vector<int> pids;
    std::string after;
  };
  const Row rows[] = {
      {"", {1}, "prop:" + F + "1"},
      {"prop:Type;Size", {3}, "prop:Type;Size;" + F + "3"},
      {"prop:Type;", {3}, "prop:Type;" + F + "3"},
      {"prop:", {1}, "prop:" + F + "1"},
      {"prop:Name:", {1}, "prop:Name:;" + F + "1"},
      {"prop:Type;" + F + "1", {1}, "prop:Type;" + F + "1"},
      {"PROP:" + f + "3;Size", {3}, "PROP:" + f + "3;Size"},
      {"prop:" + F + ",1", {1}, "prop:" + F + ",1"},
      {"prop:" + F + " 1\t", {1}, "prop:" + F + " 1\t"},
      {"prop:Type;;" + F + "3;;", {3}, "prop:Type;;" + F + "3;;"},
      {"prop:" + F + "0", {1}, "prop:" + F + "0;" + F + "1"},
      {"prop:" + F + "1x;" + F + " ,1", {1}, "prop:" + F + "1x;" + F + " ,1;" + F + "1"},
      {"prop:" + F + "3", {1, 3}, "prop:" + F + "3;" + F + "1"},
      {"prop:" + F.substr(0, 37) + "1", {1}, "prop:" + F.substr(0, 37) + "1;" + F + "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.before);
    std::string text = row.before;
    MergeInfoTipPropertyList(text, F, row.pids);
    EXPECT_EQ(text, row.after);
  }
}

TEST(InfoTipList, MergeRefusesTextThatIsNotAPropertyListAndLeavesIt) {
  for (const std::string before : {"Type;Size", "pro", " prop:Type"}) {
    std::string text = before;
    try {
      const int pid = 1;
      MergeInfoTipPropertyList(text, F, {&pid, 1});
      ADD_FAILURE() << before;
    } catch (const CAtlException& e) {
      EXPECT_EQ(static_cast<std::uint32_t>(e.status()), 0xA2010279u);
    }
    EXPECT_EQ(text, before);
  }
}

TEST(InfoTipList, StripRemovesEverySetEntryAndKeepsTheRest) {
  struct Row {
    std::string before;
    std::string after;  // empty: the value is deleted
  };
  const Row rows[] = {
      {"prop:Type;" + F + "1;Size", "prop:Type;Size"},
      {"prop:" + F + "1;Size;Type", "prop:Size;Type"},
      {"prop:" + F + "1", ""},
      {"prop:" + f + "3;Type;" + F + "1;" + F + " 0;" + F, "prop:Type"},
      {"prop:A;;" + F + "1;B", "prop:A;B"},
      {"prop:A;;B;" + F + "3", "prop:A;;B"},
      {"prop:Type;Size;", "prop:Type;Size"},
      {"prop:", "prop:"},
      {"prop:;;", "prop:"},
      {"prop:" + F + "1;;", "prop:"},
      {"Type;" + F + "1", "Type;" + F + "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.before);
    std::string text = row.before;
    StripInfoTipPropertyList(text, F);
    EXPECT_EQ(text, row.after);
  }
}

}  // namespace
}  // namespace qm
