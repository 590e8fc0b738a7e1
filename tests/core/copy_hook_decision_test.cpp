#include "core/copy_hook_decision.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"

namespace qm {
namespace {

namespace op = shell_operation;
using Action = CopyHookAction;

constexpr Status kNoMedium = static_cast<Status>(0x80070015u);

// A local NTFS junction or directory going into a local NTFS folder, changed
// by letters: d source is no directory, u source is not on a local drive, l
// its reparse point makes no link, i the destination is the source, p
// destination folder missing, q it is UNC, f it is FAT, m its volume has no
// medium, x the dialog cannot be shown. Every question is logged in order.
class FakeFacts : public CopyHookFacts {
 public:
  FakeFacts(std::string world, int answer) : m_world(std::move(world)), m_answer(answer) {}
  std::string log;

  bool SourceIsDirectory() override { return Note("dir", 'd'); }
  bool SourceIsOnLocalDrive() override { return Note("local", 'u'); }
  SourceLink ReadSourceLink() override { return Note("link", 'l') ? SourceLink::Junction : SourceLink::None; }
  bool DestinationIsSource() override { return !Note("same", 'i'); }
  bool DestinationParentIsDirectory() override { return Note("pdir", 'p'); }
  bool DestinationParentIsUnc() override { return !Note("punc", 'q'); }
  bool DestinationParentIsNtfs() override {
    const bool ntfs = Note("ntfs", 'f');
    if (Has('m')) RaiseStatus(kNoMedium);
    return ntfs;
  }
  int Ask(CopyHookDialog dialog, bool link_possible) override {
    static const char* const names[] = {"delete", "copy-link", "copy-dir", "move"};
    Note((std::string("ask:") + names[static_cast<int>(dialog)] + (link_possible ? "+" : "-")).c_str(), ' ');
    if (Has('x')) RaiseStatus(status::OutOfMemory);
    return m_answer;
  }

 private:
  bool Has(char letter) const { return m_world.find(letter) != std::string::npos; }
  bool Note(const char* question, char negation) {
    log += (log.empty() ? "" : " ") + std::string(question);
    return !Has(negation);
  }
  std::string m_world;
  int m_answer;
};

constexpr std::uint32_t kLink = op::ReparsePointAttribute | 0x10, kDir = 0x10;
constexpr Status kOk = status::Ok;

TEST(CopyHookDecision, AnswersActsAndAsksOnlyWhatItNeeds) {
  struct Row {
    unsigned operation, flags;
    bool window;
    std::uint32_t attributes;
    const char* world;
    int dialog_answer;
    Action action;
    int answer;
    Status failure;
    const char* questions;
  };
  const Row rows[] = {
      // Delete: only the link goes; a dialog that fails or gives no known answer cancels.
      {op::Delete, op::AllowUndo, false, kLink, "", 0, Action::RemoveLink, op::No, kOk, "dir link"},
      {op::Delete, 0, true, kLink, "", op::Cancel, Action::None, op::Cancel, kOk, "dir link ask:delete-"},
      {op::Delete, 0, true, kLink, "", -1, Action::None, op::Cancel, status::Fail, "dir link ask:delete-"},
      {op::Delete, 0, true, kLink, "x", 0, Action::None, op::Cancel, status::OutOfMemory, "dir link ask:delete-"},
      {op::Delete, 0, true, kLink, "l", 0, Action::None, op::Yes, kOk, "dir link"},
      {op::Delete, 0, true, kLink, "d", 0, Action::None, op::Yes, kOk, "dir"},
      {9, 0, true, kLink, "", 0, Action::None, op::Yes, kOk, ""},
      // Copy of a soft link: as a directory unless the user picks the link.
      {op::Copy, 0, false, kLink, "", 0, Action::None, op::Yes, kOk, "dir link pdir punc ntfs"},
      {op::Copy, 0, true, kLink, "", IDC_COPY_SOFT_LINK, Action::CopyLink, op::No, kOk,
       "dir link pdir punc ntfs same ask:copy-link+"},
      {op::Copy, 0, true, kLink, "f", op::Cancel, Action::None, op::Cancel, kOk,
       "dir link pdir punc ntfs same ask:copy-link-"},
      {op::Copy, 0, true, kLink, "m", 0, Action::None, op::Yes, kNoMedium, "dir link pdir punc ntfs"},
      // Copy of an ordinary directory: a link instead only when asked, from a local source to a local NTFS folder.
      {op::Copy, op::NoConfirmation, true, kDir, "", 0, Action::None, op::Yes, kOk, "dir"},
      {op::Copy, op::Silent, true, kDir, "", IDC_CREATE_SOFT_LINK, Action::LinkToSource, op::No, kOk,
       "dir local pdir punc ntfs same ask:copy-dir+"},
      {op::Copy, 0, true, kDir, "u", 0, Action::None, op::Yes, kOk, "dir local"},
      {op::Copy, 0, true, kDir, "q", 0, Action::None, op::Yes, kOk, "dir local pdir punc"},
      {op::Copy, 0, true, kDir, "p", 0, Action::None, op::Yes, kOk, "dir local pdir"},
      {op::Copy, 0, true, kDir, "x", 0, Action::None, op::Yes, status::OutOfMemory,
       "dir local pdir punc ntfs same ask:copy-dir+"},
      // Move of a soft link: the link moves where the destination can hold one, never onto itself.
      {op::Move, 0, false, kLink, "", 0, Action::MoveLink, op::No, kOk, "dir link same pdir punc ntfs"},
      {op::Move, 0, true, kLink, "f", IDC_MOVE_SOFT_LINK, Action::MoveLink, op::No, kOk,
       "dir link same pdir punc ntfs ask:move-"},
      {op::Move, 0, false, kLink, "m", 0, Action::None, op::Yes, kNoMedium, "dir link same pdir punc ntfs"},
      {op::Move, 0, false, kLink, "i", 0, Action::None, op::Yes, kOk, "dir link same"},
      {op::Move, 0, true, kDir, "", 0, Action::None, op::Yes, kOk, "dir"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(&row - rows));
    FakeFacts facts(row.world, row.dialog_answer);
    const CopyHookDecision decision = DecideCopyHook({row.operation, row.flags, row.window, row.attributes}, facts);
    EXPECT_EQ(decision.action, row.action);
    EXPECT_EQ(decision.answer, row.answer);
    EXPECT_EQ(decision.failure, row.failure);
    EXPECT_EQ(facts.log, row.questions);
  }
}

}  // namespace
}  // namespace qm
