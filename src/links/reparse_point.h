// Reading the reparse data of a directory: what the file system reports for
// a junction ("soft link") and the target it leads to.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/path_list.h"
#include "core/reparse_buffer.h"

namespace qm {

// The names of a symbolic link, as stored.
struct SymbolicLinkNames {
  std::wstring substitute_name;  // e.g. \??\D:\Data, or ..\Data when relative
  std::wstring print_name;
  bool relative = false;  // the substitute name is relative to the link's folder
};

// What the file system reported for a path's reparse point. A new record is
// cleared; copies carry both headers byte for byte and both names.
struct ReparsePointInfo {
  ReparsePointInfo() = default;
  // A cleared record followed by ReadReparsePoint(path).
  explicit ReparsePointInfo(const Path& path);

  // First 28 bytes of the returned data (GUID reparse header and four data
  // bytes), filled on every successful read whatever the tag.
  std::array<std::uint8_t, reparse::kGenericHeaderSize> generic_header{};
  // First 20 bytes of the returned data, only for a mount point.
  std::array<std::uint8_t, reparse::kMountPointHeaderSize> mount_point_header{};
  std::wstring print_name;       // only for a mount point
  std::wstring substitute_name;  // only for a mount point, e.g. \??\D:\Data
  // Only for a symbolic link (whose target a soft link's never is).
  std::optional<SymbolicLinkNames> symbolic_link;
};

// The reparse tag of the generic header (0 for a cleared record).
std::uint32_t ReparseTag(const ReparsePointInfo& info);

// Zeroes both headers and empties the names.
void ClearReparsePointInfo(ReparsePointInfo& info);

// Fills `info` from the reparse point of `path`. Reports nothing: a path that
// cannot be opened or carries no reparse point leaves the record cleared;
// a symbolic link fills the generic header and `symbolic_link`, any other
// kind of reparse point only the generic header.
void ReadReparsePoint(ReparsePointInfo& info, const Path& path);

// The same for a caller that must tell an item without reparse point (the
// record stays cleared) from one that cannot be read: raises the last error
// unless the file system answers ERROR_NOT_A_REPARSE_POINT.
void ReadReparsePointOrRaise(ReparsePointInfo& info, const Path& path);
void ReadReparsePointOrRaise(ReparsePointInfo& info, const std::wstring& path);

// The substitute name without its leading "\??\" (\??\D:\Data gives D:\Data);
// empty when the record holds no mount point.
std::wstring GetSoftLinkTarget(const ReparsePointInfo& info);

}  // namespace qm
