// The DLL's own module and the module its strings and dialog templates come
// from. The resource module is chosen once, on first need, by a chooser that
// the module frame hands down while the DLL loads: the choice loads a library
// and reads the registry, which must not happen under the loader lock.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// Returns the module to load resources from (`main_module` itself when no
// other suits); may raise, and is then asked again on the next need.
using ResourceModuleChooser = HMODULE (*)(HMODULE main_module);

// While the DLL loads: records it as main and resource module, and the
// chooser to run on first need, and makes the lock of that choice (false
// when it cannot). No library is loaded and no registry read.
bool AttachModuleInstance(HMODULE instance, ResourceModuleChooser chooser) noexcept;
// While it unloads: the main module serves the resources again (whoever
// owns the chosen module releases it afterwards) and the lock goes.
void DetachModuleInstance() noexcept;

// The DLL itself: source of the message table, the type library and the module path.
HMODULE MainModule() noexcept;

// Runs the chooser once per load, whichever thread asks first (the others
// wait for it); S_OK from then on. A chooser that raises leaves the main
// module in place, returns its status and runs again on the next call.
// E_UNEXPECTED before the DLL has been attached or once it is detached.
HRESULT ChooseResourceModule() noexcept;
// Where strings and dialog templates are loaded from, chosen first if need
// be; raises the status of a choice that could not be made.
HMODULE ResourceModule();

// String `id` of the resource module as 8-bit text; raises the last error
// when the resource module lacks it.
std::string LoadResourceString(UINT id);
// String `id` of `module` as 8-bit text in the conversion code page; raises
// the last error, or HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND) when
// the system names none, when the module lacks it.
std::string LoadModuleString(HMODULE module, UINT id);

}  // namespace qm
