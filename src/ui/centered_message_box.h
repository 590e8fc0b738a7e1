// The system's message box, centred over its owner.
#pragma once

#include <windows.h>

namespace qm {

// Shows a message box with `owner`, `text`, `caption` and `style`, centred
// over the owner (or in the work area, as CenterWindow does), and returns its
// result. `text` and `caption` are strings or string identifiers of the
// resource module (MAKEINTRESOURCEA: upper 16 bits zero); an identifier the
// resource module lacks gives an empty text. When the centring cannot be set
// up, the box is shown uncentred.
int CenteredMessageBox(HWND owner, const char* text, const char* caption, UINT style) noexcept;

}  // namespace qm
