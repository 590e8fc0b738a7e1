#include "links/path_queries.h"

#include <windows.h>
#include <shlwapi.h>

#include "core/status.h"
#include "win/errors.h"

namespace qm {
namespace {

[[noreturn]] void RaiseTooLong() { RaiseStatus(StatusFromWin32(status::Win32FilenameExceedsRange)); }

bool IsDirectory(const Path& path) { return PathIsDirectoryA(path.c_str()) != FALSE; }

}  // namespace

Path GetFullPath(const Path& path) {
  char buffer[MAX_PATH] = {};
  char* file_part = nullptr;
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, &file_part);
  if (length == 0) RaiseLastError();
  // A result that does not fit gives the size it needs, terminator included.
  if (length >= MAX_PATH) RaiseTooLong();
  return Path(buffer, length);
}

bool PathExists(const Path& path) { return ExistingAttributes(path).has_value(); }

std::optional<std::uint32_t> ExistingAttributes(const Path& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return attributes;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
  RaiseLastError();
}

Path CombinePath(const Path& directory, const Path& name) {
  char buffer[MAX_PATH] = {};
  if (!PathCombineA(buffer, directory.c_str(), name.c_str())) RaiseTooLong();
  return Path(buffer);
}

bool AnyPathIsDirectory(const PathList& paths) {
  for (const Path& path : paths)
    if (IsDirectory(path)) return true;
  return false;
}

bool AllPathsAreDirectories(const PathList& paths) {
  for (const Path& path : paths)
    if (!IsDirectory(path)) return false;
  return true;
}

}  // namespace qm
