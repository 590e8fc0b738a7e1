// Showing a failure to the user.
#pragma once

#include <windows.h>

#include <string>

#include "core/status.h"

namespace qm {

// The text for `status`: from the system's message tables, else from the
// main module's message table, else (with `fallback`) string 102 of the
// resource module filled with the status as 8 hexadecimal digits. A message
// that needs insert arguments counts as not found. The text is returned as
// found, trailing line break included; empty when nothing has one and
// `fallback` is off.
std::string FormatErrorText(Status status, bool fallback);

// Shows the text for `status` in a centred error box (caption string 101)
// owned by the first window, from `window` up through its parents, that has
// a border or dialog frame; when none exists, by `window` itself (and by no
// window when that one has gone meanwhile). Returns 0 once the user has
// closed the box.
int ShowErrorMessage(HWND window, Status status) noexcept;

}  // namespace qm
