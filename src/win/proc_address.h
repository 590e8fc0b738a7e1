// Functions looked up at run time, where a system DLL may lack them or the
// version to bind depends on an activation context.
#pragma once

#include <windows.h>

namespace qm {

// Function `name` of `module` as a pointer of type `Function`; null when the
// module does not export it (the last error tells why).
template <class Function>
Function ProcAddress(HMODULE module, const char* name) noexcept {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace qm
