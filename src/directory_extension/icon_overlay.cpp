// IShellIconOverlayIdentifier of CDirectoryShellExtension: the shell's own
// icon 29 of shell32.dll over every item that is a reparse point.
#include <algorithm>
#include <cstring>
#include <string>

#include "directory_extension/directory_shell_extension.h"
#include "links/path_queries.h"
#include "win/boundary.h"
#include "win/errors.h"
#include "win/text.h"

namespace qm {
namespace {

constexpr int kOverlayIconIndex = 29;

Path SystemDirectory() {
  char buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length == 0) RaiseLastError();
  // A directory that does not fit gives the size it needs.
  if (length >= MAX_PATH) RaiseStatus(StatusFromWin32(ERROR_INSUFFICIENT_BUFFER));
  return Path(buffer, length);
}

}  // namespace

// Decides from the attributes alone: no file-system call, no allocation.
STDMETHODIMP CDirectoryShellExtension::IsMemberOf(LPCWSTR path, DWORD attributes) {
  if (!path) return E_INVALIDARG;
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? S_OK : S_FALSE;
}

STDMETHODIMP CDirectoryShellExtension::GetOverlayInfo(LPWSTR icon_file, int size, int* index, DWORD* flags) {
  if (!icon_file || !index || !flags) return E_POINTER;
  return CallAtBoundary([&] {
    const std::wstring file = PathToWide(CombinePath(SystemDirectory(), "shell32.dll"));
    // A path longer than the buffer is cut so that it stays terminated.
    if (size > 0) {
      const std::size_t length = std::min(file.size(), static_cast<std::size_t>(size) - 1);
      std::memcpy(icon_file, file.data(), length * sizeof(wchar_t));
      icon_file[length] = L'\0';
    }
    *index = kOverlayIconIndex;
    *flags = ISIOI_ICONFILE | ISIOI_ICONINDEX;
  });
}

STDMETHODIMP CDirectoryShellExtension::GetPriority(int* priority) {
  if (!priority) return E_INVALIDARG;
  *priority = 0;
  return S_OK;
}

}  // namespace qm
