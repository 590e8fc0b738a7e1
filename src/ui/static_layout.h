// Fitting texts into the option dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

// `path` shortened by the system (middle components become "...") to half
// the client width of `dialog`, measured in the dialog's device context.
// A path too long for the system's MAX_PATH buffer is cut around its last
// component first.
std::wstring CompactPathForDialog(HWND dialog, std::wstring_view path);

// Grows the static control `text` of a dialog to the height its word-wrapped
// text needs in the dialog's font (plus 2 pixels) when that is more than it
// has; the controls that start at or below its old bottom edge and the dialog
// itself move down or grow by the difference.
void FitStaticToText(HWND text);

}  // namespace qm
