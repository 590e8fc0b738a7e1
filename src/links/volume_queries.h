// Volume and file facts on which link decisions rest.
#pragma once

#include <windows.h>

#include "core/path_list.h"

namespace qm {

// Whether `path` lies on an NTFS volume. Only a path beginning with a drive
// letter and ":\" is asked about; any other (UNC, relative, a bare "C:")
// gives false without asking a volume. Raises the last error when the volume
// cannot answer (no medium, unknown drive). Nothing is cached.
bool IsNtfsVolume(const Path& path);

// Whether `path` is a drive-letter path ("X:\...") of a drive that is not a
// network drive: where a junction's target may lie. Asks no volume.
bool IsOnLocalDrive(const Path& path);

// Whether `first` and `second` name the same file or directory (its volume
// and file index), however spelled; false when `second` does not exist.
// Raises the last error when either cannot be opened for another reason.
bool IsSameFile(const Path& first, const Path& second);

// The file information of `path` (nNumberOfLinks counts a file's names), all
// zero when it cannot be read. Directories are not opened and always give
// the zero record. Reports nothing.
BY_HANDLE_FILE_INFORMATION QueryFileInformation(const Path& path);

}  // namespace qm
