// The module object: lock count, main module and resource module.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// The DLL itself: source of the message table, the type library and the module path.
HMODULE MainModule() noexcept;
// Where strings and dialog templates are loaded from: a language module or the main module.
HMODULE ResourceModule() noexcept;
// The language module in use, or null when the main module serves the resources.
HMODULE LanguageModule() noexcept;
// The type library's identifier.
const GUID& ModuleLibraryId() noexcept;

// Atomic lock count of the module; DllCanUnloadNow answers S_OK at 0.
LONG LockModule() noexcept;
LONG UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;

// String `id` of the resource module as 8-bit text; raises the last error
// when the resource module lacks it.
std::string LoadResourceString(UINT id);
// String `id` of `module` as 8-bit text in the conversion code page; raises
// the last error, or HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND) when
// the system names none, when the module lacks it.
std::string LoadModuleString(HMODULE module, UINT id);

// Builds the module's records while the DLL loads, in this order: the base
// module record (main and resource module), the object map with its lock, the
// window-object registry, and the module object, which picks the language
// module. A lock that cannot be made sets the initialisation-failed flag.
void AttachModule(HMODULE instance) noexcept;
// Set when a lock of the module could not be made: DllMain refuses the load.
bool ModuleInitializationFailed() noexcept;
// Releases them in reverse order while the DLL unloads.
void DetachModule() noexcept;

}  // namespace qm
