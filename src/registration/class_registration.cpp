#include "registration/class_registration.h"

#include <shellapi.h>

#include "resources/class_ids.h"
#include "win/module_file_name.h"
#include "registration/system_registry.h"
#include "win/guid_text.h"

namespace qm {

void AddModuleReplacements(ReplacementMap& replacements, HMODULE module) {
  const std::string path = ModuleFileName(module);
  // Only an executable's path would be quoted.
  replacements.Add("Module", path);
  replacements.Add("Module_Raw", path);
  replacements.Add("MODULEGUID", GuidText(kModuleLibraryId));
  SHFILEINFOA ignored{};
  const bool executable = SHGetFileInfoA(path.c_str(), 0, &ignored, sizeof ignored, SHGFI_EXETYPE) != 0;
  replacements.Add("MODULETYPE", executable ? "LocalServer32" : "InprocServer32");
  replacements.Add("APPID", "");
}

void RunClassScript(HMODULE module, const RegistrationScript& script, const char* friendly_name, bool register_keys) {
  ReplacementMap replacements;
  AddModuleReplacements(replacements, module);
  replacements.Add("FriendlyName", friendly_name);
  SystemRegistry registry;
  RunRegistrationScript(registry, replacements, script, register_keys, IsAnsiLeadByte);
}

}  // namespace qm
