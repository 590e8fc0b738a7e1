// The module object: builds the module's records while the DLL loads and
// releases them while it unloads; owns the language module once chosen.
#pragma once

#include <windows.h>

namespace qm {

// Only what cannot wait, in this order: the main module (also the resource
// module until the language choice) with the chooser that picks the language
// module on first need and the lock of that choice, the object map's lock,
// the window-object registry's lock. A lock that cannot be made sets the
// initialisation-failed flag.
void AttachModule(HMODULE instance) noexcept;
// Set when a lock of the module could not be made: DllMain refuses the load.
bool ModuleInitializationFailed() noexcept;
// Releases them in reverse order while the DLL unloads, the language module
// first.
void DetachModule() noexcept;

}  // namespace qm
