// Explorer's copy, move and delete of a directory, with the copy hook asked
// first as Windows' shell asks every registered one.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "disk.h"
#include "user.h"

namespace tour {

// The shell's `operation` (FO_COPY, FO_MOVE, FO_DELETE) of the directory
// `source` into the folder `into` (unused for a delete). The copy hook is
// asked with Explorer's window and `flags`; `reactions` answer its dialogs.
// What it leaves to the shell (IDYES) is done by Wine's own SHFileOperation,
// which asks no copy hooks. The hook's answer.
UINT FileOperation(const Disk& disk, UINT operation, const std::wstring& source, const std::wstring& into,
                   std::vector<Reaction> reactions = {}, UINT flags = FOF_ALLOWUNDO);

}  // namespace tour
