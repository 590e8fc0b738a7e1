#include "links/volume_queries.h"

#include "core/volume_root.h"
#include "win/errors.h"
#include "win/unique_resource.h"

namespace qm {

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

BY_HANDLE_FILE_INFORMATION QueryFileInformation(const Path& path) {
  BY_HANDLE_FILE_INFORMATION information{};
  // Without backup semantics a directory does not open.
  UniqueFileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file && !GetFileInformationByHandle(file.get(), &information)) information = {};
  return information;
}

}  // namespace qm
