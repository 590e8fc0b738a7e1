#include "directory_extension/directory_registration.h"

#include "core/class_scripts.h"
#include "resources/class_ids.h"
#include "win/module_instance.h"
#include "registration/class_registration.h"
#include "registration/removal_steps.h"
#include "registration/shell_handler_keys.h"
#include "win/boundary.h"

namespace qm {

HRESULT UpdateDirectoryShellExtensionRegistration(bool register_server) noexcept {
  return CallAtBoundary([register_server] {
    const ShellExtensionIdentity self = IdentityOf(kClsidDirectoryShellExtension, kDirectoryShellExtensionName);
    const auto script = [register_server] {
      RunClassScript(MainModule(), kDirectoryClassScript, "CDirectoryShellExtension Object", register_server);
    };
    if (!register_server) {
      RemovalSteps steps;
      steps.Run([&] { UnregisterContextMenuHandler(self, "Directory"); });
      steps.Run([&] { UnregisterContextMenuHandler(self, "Drive"); });
      steps.Run([&] { UnregisterCopyHookHandler(self, "Directory"); });
      steps.Run([&] { UnregisterDragDropHandler(self, "Directory"); });
      steps.Run([&] { UnregisterDragDropHandler(self, "Drive"); });
      steps.Run([&] { UnregisterOverlayIdentifier(self); });
      steps.Run([&] { UnregisterPropertySheetHandler(self, "Directory"); });
      steps.Run([&] { UnregisterPropertySheetHandler(self, "*"); });
      steps.Run([&] { UnregisterApproval(self); });
      steps.Run(script);
      steps.Finish();
    } else {
      script();
      RegisterApproval(self);
      RegisterContextMenuHandler(self, "Directory");
      RegisterContextMenuHandler(self, "Drive");
      RegisterCopyHookHandler(self, "Directory");
      RegisterDragDropHandler(self, "Directory");
      RegisterDragDropHandler(self, "Drive");
      RegisterOverlayIdentifier(self);
      RegisterPropertySheetHandler(self, "Directory");
      RegisterPropertySheetHandler(self, "*");
    }
  });
}

}  // namespace qm
