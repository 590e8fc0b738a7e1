#include "win/module_file_name.h"

#include "win/errors.h"

namespace qm {

std::string ModuleFileName(HMODULE module) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0) {
    const DWORD error = GetLastError();
    RaiseStatus(error != ERROR_SUCCESS ? StatusFromWin32(error) : status::Fail);
  }
  if (length >= MAX_PATH) RaiseStatus(StatusFromWin32(ERROR_INSUFFICIENT_BUFFER));
  return std::string(path, length);
}

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace qm
