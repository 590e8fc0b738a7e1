// What the column provider last read about each item: its soft link record
// and its file information, one entry per path, letter case folded. Every
// question reads the file system afresh into the item's entry; an entry only
// spares a new record per request and is never answered from.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>

#include "core/path_list.h"
#include "links/reparse_point.h"

namespace qm {

// Records keyed by path without regard to letter case (folded by the code
// page's rules, so the second byte of a double-byte character is never
// taken for a letter).
template <class Record>
class PathRecordMap {
 public:
  // The entry of `path`, made as a value-initialised record the first time.
  Record& Entry(const Path& path);

 private:
  std::unordered_map<std::string, Record> m_records;
};

class LinkFacts {
 public:
  // The target of the soft link at `path` (its substitute name without
  // "\??\"); empty when it is none or cannot be read.
  std::wstring SoftLinkTarget(const Path& path);
  // The number of names of the file at `path`; 0 when it cannot be read
  // (directories always).
  DWORD HardLinkCount(const Path& path);

 private:
  PathRecordMap<ReparsePointInfo> m_SoftLinkInfoMap;
  PathRecordMap<BY_HANDLE_FILE_INFORMATION> m_FileInformationMap;
};

}  // namespace qm
