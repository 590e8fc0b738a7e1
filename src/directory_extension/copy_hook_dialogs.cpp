#include "directory_extension/copy_hook_dialogs.h"

#include "core/status.h"

namespace qm {

// The option dialogs are not part of the module yet: asking fails, which
// leaves a copy or move to the shell and cancels a delete.
int AskCopyHookQuestion(HWND, const CopyHookQuestion&) { RaiseStatus(static_cast<Status>(0x80004001u)); }

}  // namespace qm
