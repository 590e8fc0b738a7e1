#include "folder_extension/folder_registration.h"

#include "core/class_scripts.h"
#include "folder_extension/infotip_registration.h"
#include "resources/class_ids.h"
#include "win/module_instance.h"
#include "registration/class_registration.h"
#include "registration/removal_steps.h"
#include "registration/shell_handler_keys.h"
#include "win/boundary.h"

namespace qm {
namespace {

// The soft link target line for directories, the hard link count line for
// files; the class's identifier is its properties' format identifier.
constexpr int kDirectoryInfoTipPids[] = {1};
constexpr int kFileInfoTipPids[] = {3};

}  // namespace

HRESULT UpdateFolderShellExtensionRegistration(bool register_server) noexcept {
  return CallAtBoundary([register_server] {
    const ShellExtensionIdentity self = IdentityOf(kClsidFolderShellExtension, kFolderShellExtensionName);
    const auto script = [register_server] {
      RunClassScript(MainModule(), kFolderClassScript, "CFolderShellExtension Object", register_server);
    };
    if (!register_server) {
      RemovalSteps steps;
      steps.Run([&] { UnregisterColumnHandler(self, "Folder"); });
      steps.Run([] { RemoveInfoTipProperties("Directory", kClsidFolderShellExtension); });
      steps.Run([] { RemoveInfoTipProperties("*", kClsidFolderShellExtension); });
      steps.Run([&] { UnregisterApproval(self); });
      steps.Run(script);
      steps.Finish();
    } else {
      script();
      RegisterApproval(self);
      RegisterColumnHandler(self, "Folder");
      AddInfoTipProperties("Directory", kClsidFolderShellExtension, kDirectoryInfoTipPids);
      AddInfoTipProperties("*", kClsidFolderShellExtension, kFileInfoTipPids);
    }
  });
}

}  // namespace qm
