// Registration of CFolderShellExtension: its COM class keys, its approval,
// the column handler for folders, and its infotip lines for directories
// and files.
#pragma once

#include <windows.h>

namespace qm {

inline constexpr char kFolderShellExtensionName[] = "Quorvane Marrowby Folder Shell Extension";

// The class's registration routine (true = register). Returns the first
// failure; what was written before it stays.
HRESULT UpdateFolderShellExtensionRegistration(bool register_server) noexcept;

}  // namespace qm
