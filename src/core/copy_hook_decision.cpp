#include "core/copy_hook_decision.h"

#include <new>

#include "resources/resource_ids.h"

namespace qm {
namespace {

CopyHookDecision LeaveToShell() { return {}; }
CopyHookDecision Act(CopyHookAction action) { return {action, shell_operation::No, status::Ok}; }
CopyHookDecision StopOperation() { return {CopyHookAction::None, shell_operation::Cancel, status::Ok}; }

// The dialog's button for `action` acts, its Cancel stops, anything else
// leaves the item to the shell.
CopyHookDecision FromChoice(int choice, int acting_choice, CopyHookAction action) {
  if (choice == acting_choice) return Act(action);
  if (choice == shell_operation::Cancel) return StopOperation();
  return LeaveToShell();
}

// In this order, stopping at the first false.
bool LinkPossibleAtDestination(CopyHookFacts& facts) {
  return facts.DestinationParentIsDirectory() && !facts.DestinationParentIsUnc() && facts.DestinationParentIsNtfs();
}

// Runs `examine`; when finding out or asking fails, the answer is `fallback`
// carrying the failure to show.
template <class Examine>
CopyHookDecision Examined(Examine&& examine, CopyHookDecision fallback) {
  try {
    return examine();
  } catch (const CAtlException& e) {
    fallback.failure = e.status();
  } catch (const std::bad_alloc&) {
    fallback.failure = status::OutOfMemory;
  }
  return fallback;
}

CopyHookDecision DecideDelete(const CopyHookCall& call, CopyHookFacts& facts) {
  return Examined(
      [&] {
        if (facts.ReadSourceLink() == SourceLink::None) return LeaveToShell();
        if (!IsInteractiveCopyHook(call)) return Act(CopyHookAction::RemoveLink);
        const int choice = facts.Ask(CopyHookDialog::DeleteSoftLink, false);
        if (choice == IDC_DELETE_SOFT_LINK) return Act(CopyHookAction::RemoveLink);
        if (choice == shell_operation::Cancel) return StopOperation();
        RaiseStatus(status::Fail);  // the dialog has no such button: it was not shown
      },
      StopOperation());
}

CopyHookDecision DecideCopySoftLink(const CopyHookCall& call, CopyHookFacts& facts) {
  return Examined(
      [&] {
        if (facts.ReadSourceLink() != SourceLink::Junction) return LeaveToShell();
        const bool possible = LinkPossibleAtDestination(facts);
        if (!IsInteractiveCopyHook(call) || facts.DestinationIsSource()) return LeaveToShell();
        return FromChoice(facts.Ask(CopyHookDialog::CopySoftLink, possible), IDC_COPY_SOFT_LINK,
                          CopyHookAction::CopyLink);
      },
      LeaveToShell());
}

CopyHookDecision DecideCopyDirectory(const CopyHookCall& call, CopyHookFacts& facts) {
  if (!IsInteractiveCopyHook(call)) return LeaveToShell();
  return Examined(
      [&] {
        if (!facts.SourceIsOnLocalDrive() || !LinkPossibleAtDestination(facts) || facts.DestinationIsSource())
          return LeaveToShell();
        return FromChoice(facts.Ask(CopyHookDialog::CopyDirectory, true), IDC_CREATE_SOFT_LINK,
                          CopyHookAction::LinkToSource);
      },
      LeaveToShell());
}

CopyHookDecision DecideMove(const CopyHookCall& call, CopyHookFacts& facts) {
  return Examined(
      [&] {
        if (facts.ReadSourceLink() != SourceLink::Junction || facts.DestinationIsSource()) return LeaveToShell();
        const bool possible = LinkPossibleAtDestination(facts);
        int choice = possible ? IDC_MOVE_SOFT_LINK : IDC_MOVE_AS_DIRECTORY;
        if (IsInteractiveCopyHook(call)) choice = facts.Ask(CopyHookDialog::MoveSoftLink, possible);
        return FromChoice(choice, IDC_MOVE_SOFT_LINK, CopyHookAction::MoveLink);
      },
      LeaveToShell());
}

}  // namespace

unsigned EffectiveCopyHookFlags(unsigned flags) {
  return (flags & shell_operation::Silent) ? flags : flags | shell_operation::RenameOnCollision;
}

bool IsInteractiveCopyHook(const CopyHookCall& call) {
  return call.has_window && !(call.flags & shell_operation::NoConfirmation);
}

CopyHookDecision DecideCopyHook(const CopyHookCall& call, CopyHookFacts& facts) {
  const unsigned operation = call.operation;
  if (operation != shell_operation::Move && operation != shell_operation::Copy &&
      operation != shell_operation::Delete)
    return LeaveToShell();
  if (!facts.SourceIsDirectory()) return LeaveToShell();
  const bool soft_link = (call.source_attributes & shell_operation::ReparsePointAttribute) != 0;
  if (operation == shell_operation::Copy)
    return soft_link ? DecideCopySoftLink(call, facts) : DecideCopyDirectory(call, facts);
  if (!soft_link) return LeaveToShell();
  return operation == shell_operation::Delete ? DecideDelete(call, facts) : DecideMove(call, facts);
}

}  // namespace qm
