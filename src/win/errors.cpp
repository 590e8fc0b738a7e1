#include "win/errors.h"

namespace qm {

void RaiseLastError() { RaiseStatus(StatusFromWin32(GetLastError())); }

void RaiseIfWin32Error(LONG error) {
  if (error != 0) RaiseStatus(StatusFromWin32(static_cast<std::uint32_t>(error)));
}

}  // namespace qm
