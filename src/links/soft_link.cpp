#include "links/soft_link.h"

#include <windows.h>
#include <winioctl.h>

#include <string>
#include <vector>

#include "core/nt_path.h"
#include "core/reparse_buffer.h"
#include "win/errors.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

void SetMountPoint(const Path& link_path, const std::vector<std::uint8_t>& request) {
  UniqueFileHandle link(CreateFileA(link_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!link) RaiseLastError();
  DWORD returned = 0;
  if (!DeviceIoControl(link.get(), FSCTL_SET_REPARSE_POINT, const_cast<std::uint8_t*>(request.data()),
                       static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr))
    RaiseLastError();
}

}  // namespace

void CreateSoftLink(const Path& link_path, std::wstring_view target) {
  const std::u16string wide_target(target.begin(), target.end());
  const std::vector<std::uint8_t> request = reparse::EncodeMountPointRequest(SubstituteNameForTarget(wide_target));
  // An existing empty directory is turned into the link; any other failure
  // shows in the open that follows.
  const bool created = CreateDirectoryA(link_path.c_str(), nullptr) != FALSE;
  try {
    SetMountPoint(link_path, request);  // the handle is closed when this returns or raises
  } catch (...) {
    // Only what this call made is undone: a directory that was there stays.
    if (created) RemoveDirectoryA(link_path.c_str());
    throw;
  }
}

void RepointSoftLink(const Path& link_path, std::wstring_view target) {
  const std::u16string wide_target(target.begin(), target.end());
  SetMountPoint(link_path, reparse::EncodeMountPointRequest(SubstituteNameForTarget(wide_target)));
}

}  // namespace qm
