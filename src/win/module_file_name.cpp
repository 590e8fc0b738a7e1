#include "win/module_file_name.h"

#include "win/errors.h"
#include "win/text.h"

namespace qm {

std::string ModuleFileName(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0) RaiseLastError();
  if (length >= MAX_PATH) RaiseStatus(StatusFromWin32(ERROR_INSUFFICIENT_BUFFER));
  // Read wide and converted exactly: a look-alike of the path would name another file.
  std::string narrow = PathToNarrow(std::wstring_view(path, length));
  if (narrow.size() >= MAX_PATH) RaiseStatus(StatusFromWin32(ERROR_INSUFFICIENT_BUFFER));
  return narrow;
}

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace qm
