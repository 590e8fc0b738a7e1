#include "directory_extension/copy_hook_dialogs.h"

#include "ui/option_dialogs.h"
#include "win/module_instance.h"

namespace qm {

int AskCopyHookQuestion(HWND window, const CopyHookQuestion& question) {
  const HINSTANCE resources = ResourceModule();
  const Path& source = question.source;
  switch (question.dialog) {
    case CopyHookDialog::DeleteSoftLink:
      return DeleteSoftLinkDialog(resources, source, question.target, question.allow_undo).AskChoice(window);
    case CopyHookDialog::CopySoftLink:
      return CopySoftLinkDialog(resources, source, question.target, question.destination, question.link_possible)
          .AskChoice(window);
    case CopyHookDialog::CopyDirectory:
      return CopyDirectoryDialog(resources, source, question.destination).AskChoice(window);
    case CopyHookDialog::MoveSoftLink:
      return MoveSoftLinkDialog(resources, source, question.target, question.destination, question.link_possible)
          .AskChoice(window);
  }
  RaiseStatus(status::InvalidArg);
}

}  // namespace qm
