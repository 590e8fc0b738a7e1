#include "win/activation_context.h"

#include "win/module_file_name.h"

namespace qm {

UniqueActivationContext CreateModuleManifestContext(HMODULE module) {
  const std::string path = ModuleFileName(module);
  ACTCTXA request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID;
  request.hModule = module;
  return UniqueActivationContext(CreateActCtxA(&request));
}

}  // namespace qm
