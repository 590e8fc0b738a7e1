// The module object: lock count, main module and resource module.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// The DLL itself: source of the message table, the type library and the module path.
HMODULE MainModule() noexcept;
// Where strings and dialog templates are loaded from: a language module or the main module.
HMODULE ResourceModule() noexcept;

// Atomic lock count of the module; DllCanUnloadNow answers S_OK at 0.
LONG LockModule() noexcept;
LONG UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;

// String `id` of the resource module as 8-bit text; raises the last error
// when the resource module lacks it.
std::string LoadResourceString(UINT id);

}  // namespace qm
