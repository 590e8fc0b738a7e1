// Which kind of link a selected item is, for the "Link" page.
#pragma once

#include <windows.h>

#include <string>

#include "core/path_list.h"

namespace qm {

struct ItemLink {
  enum class Kind { None, Junction, SymbolicLink, HardLinks };
  Kind kind = Kind::None;
  std::wstring target;     // a link's target as stored, without "\??\" (\\server\share for \??\UNC\...)
  bool relative = false;   // a symbolic link's target is relative to its folder
  bool directory = false;  // the item itself is a directory
  DWORD names = 0;         // a file's number of names
};

// What `item` is. An item that is no link costs its attributes and, for a
// file, one open and one file-information call, and allocates nothing.
// Reports nothing: an item that cannot be read is no link.
ItemLink ReadItemLink(const Path& item);

// Where a link's target is: a relative one taken from the link's folder, a
// drive root with its backslash.
std::wstring TargetPathOf(const Path& item, const ItemLink& link);

}  // namespace qm
