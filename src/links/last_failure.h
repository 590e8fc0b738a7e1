// Raising the failure of a Win32 call that reported one.
#pragma once

namespace qm {

// Raises the status of the thread's last Win32 error. A call that failed
// without setting one still raises a failure (E_FAIL), never a success.
[[noreturn]] void RaiseLastFailure();

}  // namespace qm
