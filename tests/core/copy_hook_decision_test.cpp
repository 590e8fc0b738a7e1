#include "core/copy_hook_decision.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

namespace op = shell_operation;
namespace choice = option_choice;
using Action = CopyHookAction;

constexpr Status kNoMedium = static_cast<Status>(0x80070015u);

// A described source and destination; every question is logged in order.
struct World {
  bool directory = true, unc = false, link = true;
  bool parent_directory = true, parent_unc = false, ntfs = true;
  Status volume_failure = status::Ok;
  int answer = 0;  // what the dialog ends with
  Status dialog_failure = status::Ok;
};

class FakeFacts : public CopyHookFacts {
 public:
  explicit FakeFacts(const World& world) : m_world(world) {}
  std::string log;

  bool SourceIsDirectory() override { return Note("dir", m_world.directory); }
  bool SourceIsUnc() override { return Note("unc", m_world.unc); }
  bool ReadSourceLink() override { return Note("link", m_world.link); }
  bool DestinationParentIsDirectory() override { return Note("pdir", m_world.parent_directory); }
  bool DestinationParentIsUnc() override { return Note("punc", m_world.parent_unc); }
  bool DestinationParentIsNtfs() override {
    Note("ntfs", true);
    if (m_world.volume_failure) RaiseStatus(m_world.volume_failure);
    return m_world.ntfs;
  }
  int Ask(CopyHookDialog dialog, bool link_possible) override {
    static const char* const names[] = {"delete", "copy-link", "copy-dir", "move"};
    Note(std::string("ask:") + names[static_cast<int>(dialog)] + (link_possible ? "+" : "-"), true);
    if (m_world.dialog_failure) RaiseStatus(m_world.dialog_failure);
    return m_world.answer;
  }

 private:
  bool Note(const std::string& question, bool answer) {
    log += (log.empty() ? "" : " ") + question;
    return answer;
  }
  World m_world;
};

World With(void (*change)(World&)) {
  World world;
  change(world);
  return world;
}

constexpr unsigned kUi = 0;  // with a window, asking allowed
constexpr std::uint32_t kLink = op::ReparsePointAttribute | 0x10;
constexpr std::uint32_t kDirectory = 0x10;

TEST(CopyHookDecision, AnswersActsAndAsksOnlyWhatItNeeds) {
  struct Row {
    const char* name;
    unsigned operation;
    unsigned flags;
    bool window;
    std::uint32_t attributes;
    World world;
    Action action;
    int answer;
    Status failure;
    const char* questions;
  };
  const Row rows[] = {
      // Delete: only the link goes; a failure to ask cancels rather than let the shell delete a junction.
      {"silent delete", op::Delete, kUi, false, kLink, {}, Action::RemoveLink, op::No, 0, "dir"},
      {"unconfirmed delete", op::Delete, op::NoConfirmation, true, kLink, {}, Action::RemoveLink, op::No, 0, "dir"},
      {"delete confirmed", op::Delete, kUi, true, kLink, With([](World& w) { w.answer = choice::DeleteSoftLink; }),
       Action::RemoveLink, op::No, 0, "dir ask:delete-"},
      {"delete cancelled", op::Delete, kUi, true, kLink, With([](World& w) { w.answer = choice::Cancel; }),
       Action::None, op::Cancel, 0, "dir ask:delete-"},
      {"delete dialog not shown", op::Delete, kUi, true, kLink, With([](World& w) { w.answer = -1; }), Action::None,
       op::Cancel, status::Fail, "dir ask:delete-"},
      {"delete dialog fails", op::Delete, kUi, true, kLink,
       With([](World& w) { w.dialog_failure = status::OutOfMemory; }), Action::None, op::Cancel, status::OutOfMemory,
       "dir ask:delete-"},
      {"delete plain directory", op::Delete, kUi, true, kDirectory, {}, Action::None, op::Yes, 0, "dir"},
      {"delete file", op::Delete, kUi, true, kLink, With([](World& w) { w.directory = false; }), Action::None, op::Yes,
       0, "dir"},
      {"rename link", op::Rename, kUi, true, kLink, {}, Action::None, op::Yes, 0, ""},
      {"unknown operation", 9, kUi, true, kLink, {}, Action::None, op::Yes, 0, ""},

      // Copy of a soft link: as a directory unless the user picks the link.
      {"silent link copy", op::Copy, kUi, false, kLink, {}, Action::None, op::Yes, 0, "dir link pdir punc ntfs"},
      {"link copied as link", op::Copy, kUi, true, kLink, With([](World& w) { w.answer = choice::CopySoftLink; }),
       Action::CopyLink, op::No, 0, "dir link pdir punc ntfs ask:copy-link+"},
      {"link copy to FAT", op::Copy, kUi, true, kLink,
       With([](World& w) { w.ntfs = false, w.answer = choice::CopyAsDirectory; }), Action::None, op::Yes, 0,
       "dir link pdir punc ntfs ask:copy-link-"},
      {"link copy cancelled", op::Copy, kUi, true, kLink, With([](World& w) { w.answer = choice::Cancel; }),
       Action::None, op::Cancel, 0, "dir link pdir punc ntfs ask:copy-link+"},
      {"link copy, no medium", op::Copy, kUi, true, kLink, With([](World& w) { w.volume_failure = kNoMedium; }),
       Action::None, op::Yes, kNoMedium, "dir link pdir punc ntfs"},
      {"copy of another reparse point", op::Copy, kUi, true, kLink, With([](World& w) { w.link = false; }),
       Action::None, op::Yes, 0, "dir link"},

      // Copy of an ordinary directory: a link instead only when asked.
      {"unconfirmed directory copy", op::Copy, op::NoConfirmation, true, kDirectory, {}, Action::None, op::Yes, 0, "dir"},
      {"directory linked", op::Copy, kUi, true, kDirectory, With([](World& w) { w.answer = choice::CreateSoftLink; }),
       Action::LinkToSource, op::No, 0, "dir unc pdir punc ntfs ask:copy-dir+"},
      {"directory copied", op::Copy, kUi, true, kDirectory, With([](World& w) { w.answer = choice::CopyDirectory; }),
       Action::None, op::Yes, 0, "dir unc pdir punc ntfs ask:copy-dir+"},
      {"copy from UNC", op::Copy, kUi, true, kDirectory, With([](World& w) { w.unc = true; }), Action::None, op::Yes,
       0, "dir unc"},
      {"copy to UNC", op::Copy, kUi, true, kDirectory, With([](World& w) { w.parent_unc = true; }), Action::None,
       op::Yes, 0, "dir unc pdir punc"},
      {"copy to a missing folder", op::Copy, kUi, true, kDirectory,
       With([](World& w) { w.parent_directory = false; }), Action::None, op::Yes, 0, "dir unc pdir"},
      {"copy dialog fails", op::Copy, kUi, true, kDirectory,
       With([](World& w) { w.dialog_failure = status::OutOfMemory; }), Action::None, op::Yes, status::OutOfMemory,
       "dir unc pdir punc ntfs ask:copy-dir+"},

      // Move of a soft link: the link moves where the destination can hold one.
      {"silent link move", op::Move, kUi, false, kLink, {}, Action::MoveLink, op::No, 0, "dir link pdir punc ntfs"},
      {"silent link move to FAT", op::Move, kUi, false, kLink, With([](World& w) { w.ntfs = false; }), Action::None,
       op::Yes, 0, "dir link pdir punc ntfs"},
      {"hidden move dialog to FAT", op::Move, kUi, true, kLink,
       With([](World& w) { w.ntfs = false, w.answer = choice::MoveSoftLink; }), Action::MoveLink, op::No, 0,
       "dir link pdir punc ntfs ask:move-"},
      {"moved as directory", op::Move, kUi, true, kLink, With([](World& w) { w.answer = choice::MoveAsDirectory; }),
       Action::None, op::Yes, 0, "dir link pdir punc ntfs ask:move+"},
      {"move, no medium", op::Move, kUi, false, kLink, With([](World& w) { w.volume_failure = kNoMedium; }),
       Action::None, op::Yes, kNoMedium, "dir link pdir punc ntfs"},
      {"move of another reparse point", op::Move, kUi, true, kLink, With([](World& w) { w.link = false; }),
       Action::None, op::Yes, 0, "dir link"},
      {"move of a plain directory", op::Move, kUi, true, kDirectory, {}, Action::None, op::Yes, 0, "dir"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeFacts facts(row.world);
    const CopyHookDecision decision =
        DecideCopyHook({row.operation, row.flags, row.window, row.attributes}, facts);
    EXPECT_EQ(decision.action, row.action);
    EXPECT_EQ(decision.answer, row.answer);
    EXPECT_EQ(decision.failure, row.failure);
    EXPECT_EQ(facts.log, row.questions);
  }
}

TEST(CopyHookDecision, RenamesOnCollisionUnlessSilentAndAsksOnlyWithAWindowAndConfirmation) {
  EXPECT_EQ(EffectiveCopyHookFlags(0), op::RenameOnCollision);
  EXPECT_EQ(EffectiveCopyHookFlags(op::AllowUndo), op::AllowUndo | op::RenameOnCollision);
  EXPECT_EQ(EffectiveCopyHookFlags(op::Silent), op::Silent);
  EXPECT_EQ(EffectiveCopyHookFlags(op::Silent | op::RenameOnCollision), op::Silent | op::RenameOnCollision);
  EXPECT_TRUE(IsInteractiveCopyHook({op::Copy, op::Silent, true, 0}));
  EXPECT_FALSE(IsInteractiveCopyHook({op::Copy, 0, false, 0}));
  EXPECT_FALSE(IsInteractiveCopyHook({op::Copy, op::NoConfirmation, true, 0}));
}

}  // namespace
}  // namespace qm
