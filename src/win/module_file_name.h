// The full path of a loaded module as 8-bit text.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// Raises the last error when the path cannot be read,
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) when it fills MAX_PATH, and
// HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION) when the code page of the
// file functions cannot hold it.
std::string ModuleFileName(HMODULE module);

// For splitting 8-bit paths in the ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

}  // namespace qm
