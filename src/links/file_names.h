// The names of a file with several (hard links), as the file system lists them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/path_list.h"

namespace qm {

// Every name of the file `path` on its volume other than `path` itself, as
// full paths (D:\Docs\copy.txt) in the order the file system gives them.
// Nothing when this Windows cannot list a file's names (the calls came with
// Vista). Raises when the listing fails.
std::optional<std::vector<std::wstring>> ListOtherFileNames(const Path& path);

}  // namespace qm
