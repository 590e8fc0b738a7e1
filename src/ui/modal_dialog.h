// A modal dialog whose messages a C++ object handles: the object is attached
// to the dialog window before its first message.
#pragma once

#include <windows.h>

#include "ui/window_object.h"

namespace qm {

class CModalDialog : public CWindowObject {
 public:
  // Runs dialog template `template_id` of `resources` modally over `parent`
  // (may be null) and returns the value it was ended with. Raises the failure
  // when the dialog cannot be made (template or control class missing, parent
  // gone): a dialog that was never shown gives no answer.
  INT_PTR RunModal(HINSTANCE resources, int template_id, HWND parent);

 protected:
  // WM_INITDIALOG; true gives the first tab stop the focus.
  virtual bool OnInitDialog() = 0;
  // WM_COMMAND; true when handled, false for the default handling.
  virtual bool OnCommand(int id, int notification) = 0;
  void EndDialog(INT_PTR result);

 private:
  // A failure raised by the handlers is shown over the dialog, which stays
  // open; the message then gets the default handling.
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) final;
};

}  // namespace qm
