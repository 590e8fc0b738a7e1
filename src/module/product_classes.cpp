#include "module/product_classes.h"

#include "directory_extension/directory_shell_extension.h"
#include "folder_extension/folder_shell_extension.h"
#include "resources/class_ids.h"

namespace qm {
namespace {

// One row per class, in registration order: the folder extension first, then
// the directory extension. A class joins with one line, e.g.
//   ClassRow<CFolderShellExtension>(kClsidFolderShellExtension, &UpdateFolderShellExtensionRegistration,
//                                   "Quorvane Marrowby Folder Shell Extension"),
//   ClassRow<CDirectoryShellExtension>(kClsidDirectoryShellExtension, &UpdateDirectoryShellExtensionRegistration,
//                                      "Quorvane Marrowby Directory Shell Extension"),
constinit ObjectMapEntry g_rows[] = {
    ClassRow<CFolderShellExtension>(kClsidFolderShellExtension, nullptr, "Quorvane Marrowby Folder Shell Extension"),
    ClassRow<CDirectoryShellExtension>(kClsidDirectoryShellExtension, nullptr,
                                       "Quorvane Marrowby Directory Shell Extension"),
    EndOfObjectMap(),
};

constinit ObjectMap g_object_map(g_rows);

}  // namespace

ObjectMap& ProductObjectMap() noexcept { return g_object_map; }

}  // namespace qm
