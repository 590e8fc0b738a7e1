#include "ui/modal_dialog.h"

#include <optional>

#include "ui/dialog_messages.h"
#include "ui/window_object_registry.h"
#include "win/errors.h"

namespace qm {

INT_PTR CModalDialog::RunModal(HINSTANCE resources, int template_id, HWND parent) {
  const PendingWindowObject pending(*this);
  SetLastError(ERROR_SUCCESS);
  const INT_PTR result =
      DialogBoxParamA(resources, MAKEINTRESOURCEA(template_id), parent, &CWindowObject::StartDialogProc, 0);
  // 0 (a parent that is no window) and -1 are how the system says that the
  // dialog could not be made.
  if (result == 0 || result == -1) RaiseLastError();
  return result;
}

void CModalDialog::EndDialog(INT_PTR result) {
  if (!::EndDialog(window(), result)) RaiseLastError();
}

LRESULT CModalDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  std::optional<LRESULT> handled;
  HandleDialogMessage(window(), [&] {
    if (message == WM_INITDIALOG)
      handled = OnInitDialog() ? TRUE : FALSE;
    else if (message == WM_COMMAND && OnCommand(LOWORD(wparam), HIWORD(wparam)))
      handled = 0;
  });
  return handled ? *handled : CallPreviousProcedure(message, wparam, lparam);
}

}  // namespace qm
