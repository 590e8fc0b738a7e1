// Pictures of what is on the screen, saved as PNG files.
#pragma once

#include <windows.h>

#include <string>

namespace tour {

// Copies the window's rectangle from the screen into a PNG file at `path`.
// False when the screen cannot be read or the file cannot be written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace tour
