#include "links/new_target.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "core/status.h"
#include "core/volume_root.h"
#include "links/path_queries.h"
#include "links/volume_queries.h"
#include "win/errors.h"

namespace qm {
namespace {

[[noreturn]] void RaiseWin32(DWORD error) { RaiseStatus(StatusFromWin32(error)); }

// Whether `candidate` is `path` or one of its parents, in any letter case.
bool IsPathOrParent(Path path, const Path& candidate) {
  for (;;) {
    if (lstrcmpiA(path.c_str(), candidate.c_str()) == 0) return true;
    if (!PathRemoveFileSpecA(path.data())) return false;
    path.resize(std::strlen(path.c_str()));
  }
}

}  // namespace

Path CheckNewSoftLinkTarget(const Path& link_path, const Path& typed) {
  if (!VolumeRootOf(typed)) RaiseWin32(ERROR_BAD_PATHNAME);
  Path target = GetFullPath(typed);
  PathRemoveBackslashA(target.data());
  target.resize(std::strlen(target.c_str()));
  // A network drive is refused before anything asks it.
  if (!IsOnLocalDrive(target)) RaiseWin32(ERROR_DIRECTORY);
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) RaiseLastError();
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) RaiseWin32(ERROR_DIRECTORY);
  if (IsPathOrParent(link_path, target)) RaiseWin32(ERROR_BAD_PATHNAME);
  return target;
}

}  // namespace qm
