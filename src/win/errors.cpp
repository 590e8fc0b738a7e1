#include "win/errors.h"

namespace qm {

void RaiseLastError() {
  const DWORD error = GetLastError();
  RaiseStatus(error == ERROR_SUCCESS ? status::Fail : StatusFromWin32(error));
}

void RaiseIfWin32Error(LONG error) {
  if (error != 0) RaiseStatus(StatusFromWin32(static_cast<std::uint32_t>(error)));
}

}  // namespace qm
