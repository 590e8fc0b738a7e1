// Raising Win32 and COM failures as CAtlException.
#pragma once

#include <windows.h>

#include "core/status.h"

namespace qm {

// Raises the status made from the thread's last Win32 error. A call that
// failed without setting one still raises a failure (E_FAIL), never a success.
[[noreturn]] void RaiseLastError();

// For calls that return a Win32 error code: raises it unless it is 0.
void RaiseIfWin32Error(LONG error);

// Raises a failed HRESULT; successes pass.
inline void RaiseIfFailed(HRESULT hr) {
  if (FAILED(hr)) RaiseStatus(hr);
}

}  // namespace qm
