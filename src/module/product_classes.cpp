#include "module/product_classes.h"

#include "directory_extension/directory_registration.h"
#include "directory_extension/directory_shell_extension.h"
#include "folder_extension/folder_registration.h"
#include "folder_extension/folder_shell_extension.h"
#include "resources/class_ids.h"

namespace qm {
namespace {

// One row per class, in registration order: the folder extension first, then
// the directory extension.
constinit ObjectMapEntry g_rows[] = {
    ClassRow<CFolderShellExtension>(kClsidFolderShellExtension, &UpdateFolderShellExtensionRegistration,
                                    kFolderShellExtensionName),
    ClassRow<CDirectoryShellExtension>(kClsidDirectoryShellExtension, &UpdateDirectoryShellExtensionRegistration,
                                       kDirectoryShellExtensionName),
    EndOfObjectMap(),
};

constinit ObjectMap g_object_map(g_rows);

}  // namespace

ObjectMap& ProductObjectMap() noexcept { return g_object_map; }

}  // namespace qm
