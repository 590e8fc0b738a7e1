#include "folder_extension/link_facts.h"

#include "links/volume_queries.h"

namespace qm {
namespace {

std::string FoldCase(const Path& path) {
  std::string folded = path;
  if (!folded.empty()) CharUpperBuffA(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

}  // namespace

template <class Record>
Record& PathRecordMap<Record>::Entry(const Path& path) {
  return m_records.try_emplace(FoldCase(path)).first->second;
}

std::wstring LinkFacts::SoftLinkTarget(const Path& path) {
  ReparsePointInfo& entry = m_SoftLinkInfoMap.Entry(path);
  ReadReparsePoint(entry, path);
  return GetSoftLinkTarget(entry);
}

DWORD LinkFacts::HardLinkCount(const Path& path) {
  BY_HANDLE_FILE_INFORMATION& entry = m_FileInformationMap.Entry(path);
  entry = QueryFileInformation(path);
  return entry.nNumberOfLinks;
}

template class PathRecordMap<ReparsePointInfo>;
template class PathRecordMap<BY_HANDLE_FILE_INFORMATION>;

}  // namespace qm
