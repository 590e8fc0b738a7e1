#include "links/last_failure.h"

#include <windows.h>

#include "core/status.h"

namespace qm {

void RaiseLastFailure() {
  const DWORD error = GetLastError();
  RaiseStatus(error == ERROR_SUCCESS ? status::Fail : StatusFromWin32(error));
}

}  // namespace qm
