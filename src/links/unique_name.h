// Choosing a free name for a new link in its destination folder.
#pragma once

#include <string>
#include <string_view>

#include "core/link_names.h"
#include "core/path_list.h"

namespace qm {

// The first free path among the candidates for a link to `source` in
// `destination_directory`: the source's own name (a drive root's is its
// letter) unless `skip_plain_name`, `name_format` applied to it ("Soft Link
// to %s"), then `numbered_format` ("%s (%d)") for numbers from `first_number`
// up to 99 with the source's extension kept last. The patterns are string resources and may come from a
// language module: only %s, %d and %% are interpreted. Raises 0xA20101C4 when
// every candidate exists, the last error when a candidate's existence cannot
// be told (anything but "not found"), and ERROR_FILENAME_EXCED_RANGE as
// HRESULT when a candidate does not fit MAX_PATH. Changes nothing on disk.
Path MakeUniqueDestinationPath(const Path& source, const Path& destination_directory, bool skip_plain_name,
                               std::string_view name_format, std::string_view numbered_format, int first_number);

// The same choice for many links into one folder with the same patterns,
// each asking only whether its candidates exist; the buffers are reused.
class UniqueNameChooser {
 public:
  UniqueNameChooser(Path destination_directory, bool skip_plain_name, LinkNamePatterns patterns);
  // The free path for a link to `source`, valid until the next call; raises
  // as MakeUniqueDestinationPath.
  const Path& Choose(const Path& source);

 private:
  Path m_directory;
  bool m_skip_plain_name;
  LinkNameCandidates m_candidates;
  std::string m_component, m_name;
  Path m_path;
};

}  // namespace qm
