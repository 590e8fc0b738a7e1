// The steps of an unregistration, run in order. On 64-bit Windows the handler
// keys, ProgIDs and InfoTip lists are one key for both bitnesses, while the
// class keys, approvals and overlay identifiers are per view: the first DLL
// to unregister takes the shared keys, and the second finds its handler keys
// gone. A step whose item is already gone (HRESULT_FROM_WIN32(
// ERROR_FILE_NOT_FOUND)) therefore does not keep the later steps from
// removing theirs; the status is still reported, raised after the last step.
// Any other failure stops the steps at once.
#pragma once

#include <windows.h>

#include "win/boundary.h"
#include "win/errors.h"

namespace qm {

inline constexpr HRESULT kItemAlreadyGone = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

class RemovalSteps {
 public:
  template <class Step>
  void Run(Step&& step) {
    const HRESULT status = CallAtBoundary(step);
    if (status == kItemAlreadyGone) {
      if (m_gone == S_OK) m_gone = status;
    } else {
      RaiseIfFailed(status);
    }
  }
  // Raises the status of an item found gone, if any.
  void Finish() const { RaiseIfFailed(m_gone); }

 private:
  HRESULT m_gone = S_OK;
};

}  // namespace qm
