// What the dialogs and property pages share in handling their messages.
#pragma once

#include <windows.h>

#include <utility>

#include "ui/error_message.h"
#include "win/boundary.h"

namespace qm {

// Runs `handle` for one message of `dialog`: a failure it raises is shown
// over the dialog (one without a status as E_FAIL), and the caller treats
// the message as not handled.
template <class Handle>
void HandleDialogMessage(HWND dialog, Handle&& handle) {
  const HRESULT status = CallAtBoundary(std::forward<Handle>(handle), E_FAIL);
  if (FAILED(status)) ShowErrorMessage(dialog, status);
}

// Control `id` of `dialog`; raises the last error when it has none.
HWND DialogItem(HWND dialog, int id);

}  // namespace qm
