// The language module: a resource-only DLL beside the main module, named
// after it and a language, that supplies the strings and dialog templates
// when its product version equals the main module's.
#pragma once

#include <windows.h>

#include <string>

#include "win/unique_resource.h"

namespace qm {

// HKEY_CURRENT_USER, then HKEY_LOCAL_MACHINE.
inline constexpr char kLanguageSettingKey[] = "SOFTWARE\\Quorvane\\Marrowby\\Locale";

// The locale chosen for `main_module`: the first REG_DWORD value found under
// the setting key, the one named after the module's file title before
// "Default"; else the user's default locale.
LCID ReadLanguageSetting(HMODULE main_module);

// "<directory>\<title>.lang-<language><extension>" beside `main_module`.
std::string BuildLanguageModulePath(HMODULE main_module, LANGID language);

// True when both modules carry the same product version (0 for a module
// without a readable version resource); any failure counts as a mismatch.
bool ModuleVersionsMatch(HMODULE first, HMODULE second) noexcept;

// The language module chosen for `main_module`, loaded without running or
// resolving it while the main module's manifest context is active; empty
// when there is none, it cannot be loaded, or its version does not match.
UniqueLibrary LoadLanguageModule(HMODULE main_module) noexcept;

}  // namespace qm
