// Activation contexts: the module's own manifest, and a context made active
// on the calling thread for a scope.
#pragma once

#include <windows.h>

#include "win/unique_resource.h"

namespace qm {

// The context of the manifest `module` carries for its own use (resource 3:
// the loader applies none to its imports). Invalid when it cannot be made.
UniqueActivationContext CreateModuleManifestContext(HMODULE module);

// Activates `context` (when it is a valid context) and deactivates it when
// the owner goes; active() tells whether the activation took place.
class ActivationContextActivation {
 public:
  explicit ActivationContextActivation(HANDLE context) noexcept {
    m_active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &m_cookie) != FALSE;
  }
  ActivationContextActivation(const ActivationContextActivation&) = delete;
  ActivationContextActivation& operator=(const ActivationContextActivation&) = delete;
  ~ActivationContextActivation() {
    if (m_active) DeactivateActCtx(0, m_cookie);
  }
  bool active() const noexcept { return m_active; }

 private:
  ULONG_PTR m_cookie = 0;
  bool m_active = false;
};

}  // namespace qm
