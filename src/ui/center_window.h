// Centring a window over the window it belongs to.
#pragma once

#include <windows.h>

namespace qm {

// Centres `window` over its parent (a child window, inside the parent's
// client area) or its owner (a top-level window, inside the desktop work
// area; in the middle of the work area when the owner is missing, hidden or
// minimised). Moves without resizing, reordering or activating. Returns
// whether the window was moved.
bool CenterWindow(HWND window) noexcept;

}  // namespace qm
