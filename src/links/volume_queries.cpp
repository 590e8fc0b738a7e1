#include "links/volume_queries.h"

#include <array>
#include <optional>

#include "core/volume_root.h"
#include "win/errors.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

// Reading never keeps another program from changing or removing the item.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Volume serial number and file index of what `path` names (a reparse point
// itself, not what it leads to); nothing when nothing is there.
std::optional<std::array<DWORD, 3>> FileIdentity(const Path& path) {
  UniqueFileHandle file(CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    RaiseLastError();
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file.get(), &information)) RaiseLastError();
  return std::array{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

}  // namespace

bool IsNtfsVolume(const Path& path) {
  const auto root = VolumeRootOf(path);
  if (!root) return false;
  char file_system[MAX_PATH + 1] = {};
  if (!GetVolumeInformationA(root->c_str(), nullptr, 0, nullptr, nullptr, nullptr, file_system, sizeof file_system))
    RaiseLastError();
  return IsNtfsFileSystemName(file_system);
}

bool IsOnLocalDrive(const Path& path) {
  const auto root = VolumeRootOf(path);
  return root && GetDriveTypeA(root->c_str()) != DRIVE_REMOTE;
}

bool IsSameFile(const Path& first, const Path& second) {
  const auto identity = FileIdentity(second);
  return identity && identity == FileIdentity(first);
}

BY_HANDLE_FILE_INFORMATION QueryFileInformation(const Path& path) {
  BY_HANDLE_FILE_INFORMATION information{};
  // Without backup semantics a directory does not open.
  UniqueFileHandle file(
      CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file && !GetFileInformationByHandle(file.get(), &information)) information = {};
  return information;
}

}  // namespace qm
