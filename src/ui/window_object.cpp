#include "ui/window_object.h"

#include "core/status.h"
#include "ui/window_object_registry.h"
#include "win/errors.h"

namespace qm {
namespace {

// The window property that leads from a window to its object.
constexpr char kObjectProperty[] = "QuorvaneMarrowby.WindowObject";

WNDPROC CurrentProcedure(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// Messages whose dialog procedure result is the message's result itself
// rather than DWLP_MSGRESULT.
bool ReturnsDirectlyFromDialogProc(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  }
}

}  // namespace

CWindowObject::~CWindowObject() {
  WithdrawPendingWindowObject(*this);
  // When a procedure installed over ours keeps ours in the chain, its messages
  // find no object and get the default handling.
  if (m_window && !Detach()) RemovePropA(m_window, kObjectProperty);
}

void CWindowObject::Attach(HWND window) {
  if (m_window || FromWindow(window)) RaiseStatus(status::Unexpected);
  if (!SetPropA(window, kObjectProperty, this)) RaiseLastError();
  SetLastError(0);
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowObject::WindowProc)));
  if (!previous) {
    const DWORD error = GetLastError();
    RemovePropA(window, kObjectProperty);
    RaiseStatus(error != 0 ? StatusFromWin32(error) : status::Fail);
  }
  m_window = window;
  m_previous = previous;
}

bool CWindowObject::Detach() noexcept {
  if (!m_window) return true;
  if (CurrentProcedure(m_window) != &CWindowObject::WindowProc) return false;
  ReleaseWindow();
  return true;
}

void CWindowObject::ReleaseWindow() noexcept {
  if (CurrentProcedure(m_window) == &CWindowObject::WindowProc)
    SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
  RemovePropA(m_window, kObjectProperty);
  m_window = nullptr;
  m_previous = nullptr;
}

CWindowObject* CWindowObject::FromWindow(HWND window) noexcept {
  return window ? static_cast<CWindowObject*>(GetPropA(window, kObjectProperty)) : nullptr;
}

LRESULT CWindowObject::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return CallPreviousProcedure(message, wparam, lparam);
}

LRESULT CWindowObject::CallPreviousProcedure(UINT message, WPARAM wparam, LPARAM lparam) const {
  return CallWindowProcA(m_previous, m_window, message, wparam, lparam);
}

LRESULT CALLBACK CWindowObject::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  CWindowObject* const object = FromWindow(window);
  if (!object) return DefWindowProcA(window, message, wparam, lparam);
  const WNDPROC previous = object->m_previous;
  ++object->m_depth;
  LRESULT result;
  try {
    result = object->HandleMessage(message, wparam, lparam);
  } catch (...) {
    result = CallWindowProcA(previous, window, message, wparam, lparam);
  }
  --object->m_depth;
  if (message == WM_NCDESTROY && object->m_window == window) {
    object->ReleaseWindow();
    object->m_final_due = true;
  }
  // A window destroyed while one of its messages is still being handled
  // keeps its object until the outermost message returns.
  if (object->m_final_due && object->m_depth == 0) {
    object->m_final_due = false;
    object->OnFinalMessage();
  }
  return result;
}

LRESULT CALLBACK CWindowObject::StartWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Once attached, this is the previous procedure: the default handling.
  if (!FromWindow(window)) {
    if (CWindowObject* object = TakePendingWindowObject()) {
      try {
        object->Attach(window);
      } catch (...) {
        return DefWindowProcA(window, message, wparam, lparam);
      }
      object->m_previous = &DefWindowProcA;
      return WindowProc(window, message, wparam, lparam);
    }
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

INT_PTR CALLBACK CWindowObject::StartDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  // Once attached, this is reached only through the object's previous
  // procedure, the dialog manager: nothing more to do than its default.
  if (FromWindow(dialog)) return FALSE;
  CWindowObject* const object = TakePendingWindowObject();
  if (!object) return FALSE;
  try {
    object->Attach(dialog);
  } catch (...) {
    return FALSE;
  }
  // This message reached the dialog before its object did: hand it over.
  const LRESULT result = WindowProc(dialog, message, wparam, lparam);
  if (ReturnsDirectlyFromDialogProc(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace qm
