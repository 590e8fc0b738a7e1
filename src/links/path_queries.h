// Path forms and directory tests over 8-bit paths of at most MAX_PATH
// characters (terminator included).
#pragma once

#include <cstdint>
#include <optional>

#include "core/path_list.h"

namespace qm {

// The full form of `path`. Raises the last error when it cannot be made, and
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) when it would not fit
// MAX_PATH: a cut path is never returned.
Path GetFullPath(const Path& path);

// Whether a file or directory exists at `path`. Only "not found" counts as
// free: raises the last error when existence cannot be told.
bool PathExists(const Path& path);
// The attributes of what exists at `path`, nothing when nothing does; raises
// as PathExists.
std::optional<std::uint32_t> ExistingAttributes(const Path& path);

// `name` joined to `directory` by the shell's rules (an absolute name wins,
// "." and ".." are folded). Raises HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)
// when the result does not fit MAX_PATH.
Path CombinePath(const Path& directory, const Path& name);

// True at the first directory of the list; false for an empty list.
bool AnyPathIsDirectory(const PathList& paths);
// False at the first path that is not a directory; true for an empty list.
bool AllPathsAreDirectories(const PathList& paths);

}  // namespace qm
