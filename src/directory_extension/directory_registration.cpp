#include "directory_extension/directory_registration.h"

#include "core/class_scripts.h"
#include "resources/class_ids.h"
#include "win/module_instance.h"
#include "registration/class_registration.h"
#include "registration/shell_handler_keys.h"
#include "win/boundary.h"

namespace qm {

HRESULT UpdateDirectoryShellExtensionRegistration(bool register_server) noexcept {
  return CallAtBoundary([register_server] {
    const ShellExtensionIdentity self = IdentityOf(kClsidDirectoryShellExtension, kDirectoryShellExtensionName);
    if (!register_server) {
      UnregisterContextMenuHandler(self, "Directory");
      UnregisterContextMenuHandler(self, "Drive");
      UnregisterCopyHookHandler(self, "Directory");
      UnregisterDragDropHandler(self, "Directory");
      UnregisterDragDropHandler(self, "Drive");
      UnregisterOverlayIdentifier(self);
      UnregisterPropertySheetHandler(self, "Directory");
      UnregisterPropertySheetHandler(self, "*");
      UnregisterApproval(self);
    }
    RunClassScript(MainModule(), kDirectoryClassScript, "CDirectoryShellExtension Object", register_server);
    if (register_server) {
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
