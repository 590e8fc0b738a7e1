// The option dialog a copy hook decision asks.
#pragma once

#include <windows.h>

#include <string>

#include "core/copy_hook_decision.h"
#include "core/path_list.h"

namespace qm {

struct CopyHookQuestion {
  CopyHookDialog dialog;
  const Path& source;
  const std::wstring& target;  // the soft link's target; empty for a plain directory
  const Path& destination;
  bool link_possible;
  bool allow_undo;  // the deletion goes to the recycle bin
};

// The choice the dialog ends with, or its stored default while it is hidden.
// Raises when the dialog cannot be shown.
int AskCopyHookQuestion(HWND window, const CopyHookQuestion& question);

}  // namespace qm
