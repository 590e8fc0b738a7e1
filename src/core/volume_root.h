// Which volume a path lies on, as the NTFS test asks it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

// "X:\" for a path whose characters 1 and 2 are exactly ":\"; nothing for
// any other path (UNC, relative, a bare "C:"), whose volume is never asked.
std::optional<std::string> VolumeRootOf(std::string_view path);

// Whether `path` is a drive's root, "X:\" or "X:".
bool IsDriveRoot(std::string_view path);

// Whether a volume's file system name is NTFS, in any letter case.
bool IsNtfsFileSystemName(std::string_view name);

}  // namespace qm
