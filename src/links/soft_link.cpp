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

void SendToLink(const Path& link_path, DWORD control, const std::vector<std::uint8_t>& request) {
  UniqueFileHandle link(CreateFileA(link_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!link) RaiseLastError();
  DWORD returned = 0;
  if (!DeviceIoControl(link.get(), control, const_cast<std::uint8_t*>(request.data()),
                       static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr))
    RaiseLastError();
}

// True when the directory is new; an existing one is turned into the link.
bool MakeLinkDirectory(const Path& link_path) {
  if (CreateDirectoryA(link_path.c_str(), nullptr)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) RaiseLastError();
  return false;
}

bool CreateJunction(const Path& link_path, const std::vector<std::uint8_t>& request) {
  const bool created = MakeLinkDirectory(link_path);
  try {
    SendToLink(link_path, FSCTL_SET_REPARSE_POINT, request);  // the handle is closed when this returns or raises
  } catch (...) {
    // Only what this call made is undone: a directory that was there stays.
    if (created) RemoveDirectoryA(link_path.c_str());
    throw;
  }
  return created;
}

}  // namespace

bool CreateSoftLink(const Path& link_path, std::wstring_view target) {
  const std::u16string wide_target(target.begin(), target.end());
  return CreateJunction(link_path, reparse::EncodeMountPointRequest(SubstituteNameForTarget(wide_target)));
}

bool CreateSoftLinkWithNames(const Path& link_path, std::wstring_view substitute_name, std::wstring_view print_name) {
  const std::u16string substitute(substitute_name.begin(), substitute_name.end());
  const std::u16string print(print_name.begin(), print_name.end());
  return CreateJunction(link_path, reparse::EncodeMountPointRequest(substitute, print));
}

void RemoveSoftLinkReparsePoint(const Path& link_path) {
  SendToLink(link_path, FSCTL_DELETE_REPARSE_POINT, reparse::EncodeDeleteRequest(reparse::kMountPointTag));
}

void RepointSoftLink(const Path& link_path, std::wstring_view target) {
  const std::u16string wide_target(target.begin(), target.end());
  SendToLink(link_path, FSCTL_SET_REPARSE_POINT, reparse::EncodeMountPointRequest(SubstituteNameForTarget(wide_target)));
}

}  // namespace qm
