// The "CHyperLinkEx" control: its window text drawn as a link, with the text
// as tooltip, opened with the shell by a click, Enter or Space.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

inline constexpr char kHyperLinkClassName[] = "CHyperLinkEx";

// Registers the window class for `instance`, the module whose dialog
// templates hold the control (controls are looked up by the instance their
// template came from). Registered once per process under the window code's
// lock; a registration for another instance is withdrawn first. Returns
// whether the class is registered for `instance`.
bool RegisterHyperLinkClass(HINSTANCE instance) noexcept;

// Withdraws the registration; for the DLL's unload.
void UnregisterHyperLinkClass() noexcept;

}  // namespace qm
