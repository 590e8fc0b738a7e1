// What the copy hook does with one item of a shell file operation: leave it to
// the shell, skip it after a link action of its own, or stop the operation.
// Decided from facts that are asked only when the decision depends on them.
#pragma once

#include <cstdint>

#include "core/status.h"

namespace qm {

// The shell's operations, flags and answers, by value.
namespace shell_operation {
constexpr unsigned Move = 1;
constexpr unsigned Copy = 2;
constexpr unsigned Delete = 3;
constexpr unsigned Rename = 4;

constexpr unsigned Silent = 0x4;
constexpr unsigned RenameOnCollision = 0x8;
constexpr unsigned NoConfirmation = 0x10;
constexpr unsigned AllowUndo = 0x40;
constexpr unsigned NoErrorUi = 0x400;

constexpr std::uint32_t ReparsePointAttribute = 0x400;

constexpr int Yes = 6;     // the shell carries on with the item
constexpr int No = 7;      // the shell skips the item
constexpr int Cancel = 2;  // the shell stops the whole operation
}  // namespace shell_operation

enum class CopyHookDialog { DeleteSoftLink, CopySoftLink, CopyDirectory, MoveSoftLink };

// What a source directory carrying a reparse point is to the hook.
enum class SourceLink {
  None,          // no reparse point, or another kind (a cloud placeholder, deduplication): a directory
  Junction,      // a mount point with a substitute name: deleted, copied and moved as a link
  SymbolicLink,  // deleted as a link; its copies and moves are left to the shell
};

// The questions the decision asks about the call's source and destination.
class CopyHookFacts {
 public:
  virtual ~CopyHookFacts() = default;
  virtual bool SourceIsDirectory() = 0;
  // A drive-letter path of a drive that is not a network drive.
  virtual bool SourceIsOnLocalDrive() = 0;
  // Reads the source's reparse data. May raise.
  virtual SourceLink ReadSourceLink() = 0;
  // The destination names the source itself, however spelled. May raise.
  virtual bool DestinationIsSource() = 0;
  // Of the destination's parent directory.
  virtual bool DestinationParentIsDirectory() = 0;
  virtual bool DestinationParentIsUnc() = 0;
  virtual bool DestinationParentIsNtfs() = 0;  // may raise
  // Asks the user (or takes the dialog's stored default): the id of the button
  // that ended the dialog, IDCANCEL (2) when closed. May raise.
  virtual int Ask(CopyHookDialog dialog, bool link_possible) = 0;
};

struct CopyHookCall {
  unsigned operation = 0;
  unsigned flags = 0;  // as the shell passed them
  bool has_window = false;
  std::uint32_t source_attributes = 0;
};

enum class CopyHookAction {
  None,
  RemoveLink,    // remove the source junction only
  CopyLink,      // a new junction at the destination with the source's substitute name
  LinkToSource,  // a new junction at the destination leading to the source
  MoveLink,      // CopyLink, then remove the source junction
};

struct CopyHookDecision {
  CopyHookAction action = CopyHookAction::None;
  int answer = shell_operation::Yes;  // once the action, if any, has succeeded
  Status failure = status::Ok;        // to show before answering: finding out or asking failed
};

// The flags with RenameOnCollision added unless the operation is silent.
unsigned EffectiveCopyHookFlags(unsigned flags);
// Dialogs are asked only with a window and without NoConfirmation.
bool IsInteractiveCopyHook(const CopyHookCall& call);

// A failure while finding out or asking leaves a copy or move to the shell and
// cancels a delete (letting the shell delete a junction could empty its
// target). A failure the facts raise is caught here and returned. A copy or
// move onto the source itself is always left to the shell.
CopyHookDecision DecideCopyHook(const CopyHookCall& call, CopyHookFacts& facts);

}  // namespace qm
