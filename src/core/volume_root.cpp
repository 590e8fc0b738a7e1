#include "core/volume_root.h"

namespace qm {

std::optional<std::string> VolumeRootOf(std::string_view path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return std::nullopt;
  return std::string{path[0], ':', '\\'};
}

bool IsNtfsFileSystemName(std::string_view name) {
  constexpr std::string_view ntfs = "NTFS";
  if (name.size() != ntfs.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = (name[i] >= 'a' && name[i] <= 'z') ? static_cast<char>(name[i] - 'a' + 'A') : name[i];
    if (c != ntfs[i]) return false;
  }
  return true;
}

}  // namespace qm
