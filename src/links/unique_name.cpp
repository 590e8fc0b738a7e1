#include "links/unique_name.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <string>

#include "core/link_names.h"
#include "core/status.h"
#include "core/volume_root.h"
#include "links/path_queries.h"
#include "win/errors.h"

namespace qm {
namespace {

// The last component of `path` as the shell strips it (multibyte-aware); a
// drive root is named by its letter.
std::string LastComponent(const Path& path) {
  if (IsDriveRoot(path)) return path.substr(0, 1);
  std::string name = path;
  PathStripPathA(name.data());
  name.resize(std::strlen(name.c_str()));
  return name;
}

}  // namespace

Path MakeUniqueDestinationPath(const Path& source, const Path& destination_directory, bool skip_plain_name,
                               std::string_view name_format, std::string_view numbered_format, int first_number) {
  LinkNameCandidates candidates(LastComponent(source), skip_plain_name,
                                {std::string(name_format), std::string(numbered_format), first_number});
  while (const auto name = candidates.Next()) {
    Path candidate = CombinePath(destination_directory, *name);
    if (!PathExists(candidate)) return candidate;
  }
  RaiseStatus(status::NoFreeLinkName);
}

}  // namespace qm
