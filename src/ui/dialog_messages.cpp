#include "ui/dialog_messages.h"

#include "win/errors.h"

namespace qm {

HWND DialogItem(HWND dialog, int id) {
  const HWND item = GetDlgItem(dialog, id);
  if (!item) RaiseLastError();
  return item;
}

}  // namespace qm
