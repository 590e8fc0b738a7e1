#include "links/unique_name.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <utility>

#include "core/link_names.h"
#include "core/status.h"
#include "core/volume_root.h"
#include "links/path_queries.h"
#include "win/errors.h"

namespace qm {
namespace {

// The last component of `path` into `name` as the shell strips it
// (multibyte-aware); a drive root is named by its letter.
void LastComponent(const Path& path, std::string& name) {
  if (IsDriveRoot(path)) {
    name.assign(1, path[0]);
    return;
  }
  name.assign(path);
  PathStripPathA(name.data());
  name.resize(std::strlen(name.c_str()));
}

}  // namespace

Path MakeUniqueDestinationPath(const Path& source, const Path& destination_directory, bool skip_plain_name,
                               std::string_view name_format, std::string_view numbered_format, int first_number) {
  UniqueNameChooser chooser(destination_directory, skip_plain_name,
                            {std::string(name_format), std::string(numbered_format), first_number});
  return chooser.Choose(source);
}

UniqueNameChooser::UniqueNameChooser(Path destination_directory, bool skip_plain_name, LinkNamePatterns patterns)
    : m_directory(std::move(destination_directory)),
      m_skip_plain_name(skip_plain_name),
      m_candidates(std::string(), skip_plain_name, std::move(patterns)) {}

const Path& UniqueNameChooser::Choose(const Path& source) {
  LastComponent(source, m_component);
  m_candidates.Restart(m_component, m_skip_plain_name);
  while (m_candidates.Next(m_name)) {
    CombinePath(m_directory, m_name, m_path);
    if (!PathExists(m_path)) return m_path;
  }
  RaiseStatus(status::NoFreeLinkName);
}

}  // namespace qm
