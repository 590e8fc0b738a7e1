// Making a junction ("soft link"): a directory carrying a mount-point
// reparse point whose substitute name is the NT path of its target.
#pragma once

#include <string_view>

#include "core/path_list.h"

namespace qm {

// Makes `link_path` a junction to `target`: a plain directory path (D:\Data,
// stored as \??\D:\Data; a drive root C:\ as \??\C:) or a name that already
// begins with "\??\" (stored unchanged), with an empty print name. An
// existing empty directory becomes the link; returns true when the call made
// the directory. When the directory cannot be made, its failure is raised.
// When the link cannot be opened or the reparse point cannot be set, the
// directory this call created is removed (one that existed before stays) and
// the Win32 error is raised as HRESULT. A target whose substitute name
// exceeds the file system's reparse data limit raises
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) before anything is created.
bool CreateSoftLink(const Path& link_path, std::wstring_view target);

// The same with both names stored exactly as given, whatever their form: a
// copy of another junction.
bool CreateSoftLinkWithNames(const Path& link_path, std::wstring_view substitute_name, std::wstring_view print_name);

// Takes the junction's reparse point off `link_path`, leaving an empty
// directory. Raises the Win32 error as HRESULT.
void RemoveSoftLinkReparsePoint(const Path& link_path);

// Makes the junction `link_path` lead to `target` (stored as CreateSoftLink
// stores it) by setting the new mount point over the old one: when that
// fails, the old one stays. Raises the Win32 error as HRESULT.
void RepointSoftLink(const Path& link_path, std::wstring_view target);

}  // namespace qm
