// A C++ object that handles the messages of one window by replacing the
// window's procedure (subclassing). Derived classes override HandleMessage
// and pass what they leave alone to CallPreviousProcedure.
#pragma once

#include <windows.h>

namespace qm {

class CWindowObject {
 public:
  CWindowObject() noexcept = default;
  CWindowObject(const CWindowObject&) = delete;
  CWindowObject& operator=(const CWindowObject&) = delete;
  // Withdraws a pending entry and detaches from a window that still lives.
  virtual ~CWindowObject();

  // The window attached to, or null.
  HWND window() const noexcept { return m_window; }

  // Makes this object's message handling the procedure of `window`, a window
  // of this process. Raises E_UNEXPECTED when this object is already attached
  // or `window` already carries an object, else the failure of the call.
  void Attach(HWND window);
  // Puts the previous procedure back. False, and still attached, when another
  // procedure has been installed over this object's since.
  bool Detach() noexcept;

  // The object attached to `window`, or null.
  static CWindowObject* FromWindow(HWND window) noexcept;

  // Window class procedure: the first message of a window attaches the
  // current thread's newest pending object (window object registry) and is
  // handed to it; its previous procedure is DefWindowProcA.
  static LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Dialog procedure for DialogBoxParamA and CreateDialogParamA: the same for
  // dialogs; afterwards the object sees every message before the dialog
  // manager, whose default handling is its previous procedure.
  static INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  // Must not raise; what escapes counts as not handled and goes to the
  // previous procedure. The default passes every message on.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT CallPreviousProcedure(UINT message, WPARAM wparam, LPARAM lparam) const;
  // After the window's last message (WM_NCDESTROY), once detached and when no
  // message of it is still being handled. The object may delete itself here.
  virtual void OnFinalMessage() {}

 private:
  friend class WindowObjectRegistry;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void ReleaseWindow() noexcept;

  HWND m_window = nullptr;
  WNDPROC m_previous = nullptr;
  unsigned m_depth = 0;         // messages being handled, nested
  bool m_final_due = false;     // WM_NCDESTROY seen inside a nested message
  // Pending entry in the window object registry.
  CWindowObject* m_next_pending = nullptr;
  DWORD m_pending_thread = 0;
};

}  // namespace qm
