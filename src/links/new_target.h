// Where a junction may be made to lead.
#pragma once

#include "core/path_list.h"

namespace qm {

// The full path of `typed` when it may be the new target of the junction
// `link_path`: a drive-letter path ("X:\...") of an existing directory on a
// drive that is not a network drive, neither the link itself nor one of its
// parents; without a trailing backslash but for a drive root. Raises
// HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME) for a path of another form and for
// the link or a parent, ERROR_DIRECTORY for a file or a network drive, and
// the error of the attribute query for a target that is not there.
Path CheckNewSoftLinkTarget(const Path& link_path, const Path& typed);

}  // namespace qm
