// The COM class keys of a class: its registration script run with the
// module's replacements.
#pragma once

#include <windows.h>

#include "core/registration_script.h"
#include "core/replacement_map.h"

namespace qm {

// "Module" and "Module_Raw" (the module's path), "MODULEGUID" (the type
// library's identifier), "MODULETYPE" ("InprocServer32" for a DLL) and
// "APPID" (empty), in that order. Raises when the path cannot be read.
void AddModuleReplacements(ReplacementMap& replacements, HMODULE module);

// Writes (`register_keys`) or removes the keys of `script` under the real
// registry, with the module's replacements and "FriendlyName". Raises.
void RunClassScript(HMODULE module, const RegistrationScript& script, const char* friendly_name, bool register_keys);

}  // namespace qm
