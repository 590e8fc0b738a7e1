// Registration of CDirectoryShellExtension: its COM class keys, its approval,
// its menu, copy hook and drag-and-drop handlers for directories and drives,
// its icon overlay, and its property sheet handler for directories and files.
#pragma once

#include <windows.h>

namespace qm {

inline constexpr char kDirectoryShellExtensionName[] = "Quorvane Marrowby Directory Shell Extension";

// The class's registration routine (true = register). Returns the first
// failure; what was written before it stays.
HRESULT UpdateDirectoryShellExtensionRegistration(bool register_server) noexcept;

}  // namespace qm
