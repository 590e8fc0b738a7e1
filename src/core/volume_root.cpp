#include "core/volume_root.h"

#include "core/ascii_text.h"

namespace qm {

std::optional<std::string> VolumeRootOf(std::string_view path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return std::nullopt;
  return std::string{path[0], ':', '\\'};
}

bool IsDriveRoot(std::string_view path) {
  const bool lettered = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return lettered && (path.substr(1) == ":" || path.substr(1) == ":\\");
}

bool IsNtfsFileSystemName(std::string_view name) { return EqualIgnoringAsciiCase(name, "NTFS"); }

}  // namespace qm
