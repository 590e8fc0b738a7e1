// A page that an extension adds to a property sheet of the shell (the
// Properties dialog), its messages handled by a C++ object.
//
//   qm::CPropertyPage::Add(std::make_unique<MyPage>(...), ResourceModule(), IDD_MY_PAGE, add, lparam);
//
// The page belongs to the sheet: the object lives as long as the page does
// (until PSPCB_RELEASE), holding a module lock and its own copies of what it
// shows, whether or not the user ever opens it.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <memory>

#include "ui/window_object.h"
#include "win/module_lock.h"
#include "win/unique_resource.h"

namespace qm {

class CPropertyPage : public CWindowObject {
 public:
  // Makes a page for `page` from template `template_id` of `resources`, with
  // version 6 of the common controls (the module's manifest context, as the
  // shell's sheets use them), and hands it to `add`. A page the sheet refuses
  // is destroyed again. Raises when none can be made.
  static void Add(std::unique_ptr<CPropertyPage> page, HINSTANCE resources, int template_id,
                  LPFNADDPROPSHEETPAGE add, LPARAM add_parameter);

 protected:
  CPropertyPage() = default;

  // WM_INITDIALOG; true gives the first tab stop the focus.
  virtual bool OnInitDialog() = 0;
  // WM_COMMAND; true when handled, false for the default handling.
  virtual bool OnCommand(int id, int notification) = 0;
  // The sheet's OK or Apply. What it raises is shown, and the sheet keeps
  // the changes unapplied and this page open (PSNRET_INVALID).
  virtual void OnApply() = 0;
  // Enables the sheet's Apply for this page.
  void MarkChanged();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) final;
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  static UINT CALLBACK PageCallback(HWND, UINT message, PROPSHEETPAGEW* page);

  ModuleLockHolder m_module_lock;
  UniqueActivationContext m_context;  // the page's dialog is made in it
};

}  // namespace qm
