#include "directory_extension/item_link.h"

#include <shlwapi.h>

#include <cwchar>

#include "core/nt_path.h"
#include "core/reparse_buffer.h"
#include "links/reparse_point.h"
#include "links/volume_queries.h"
#include "win/text.h"

namespace qm {

ItemLink ReadItemLink(const Path& item) {
  ItemLink link;
  const DWORD attributes = GetFileAttributesA(item.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return link;
  link.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    const ReparsePointInfo info(item);
    if (ReparseTag(info) == reparse::kMountPointTag && !info.substitute_name.empty()) {
      link.kind = ItemLink::Kind::Junction;
      link.target = GetSoftLinkTarget(info);
      return link;
    }
    if (info.symbolic_link) {
      const std::wstring& stored = info.symbolic_link->substitute_name;
      const std::u16string name(stored.begin(), stored.end());
      const std::u16string_view target = TargetOfSubstituteName(name);
      link.kind = ItemLink::Kind::SymbolicLink;
      link.target.assign(target.begin(), target.end());
      // \??\UNC\server\share is the network path \\server\share.
      if (HasNtPathPrefix(name) && link.target.rfind(L"UNC\\", 0) == 0) link.target.replace(0, 3, L"\\");
      link.relative = info.symbolic_link->relative;
      return link;
    }
  }
  if (link.directory) return link;
  link.names = QueryFileInformation(item).nNumberOfLinks;
  if (link.names > 1) link.kind = ItemLink::Kind::HardLinks;
  return link;
}

std::wstring TargetPathOf(const Path& item, const ItemLink& link) {
  // A drive root is stored without its backslash (\??\E:); "E:" alone would
  // name the drive's current directory.
  if (link.target.size() == 2 && link.target[1] == L':') return link.target + L"\\";
  if (!link.relative) return link.target;
  std::wstring folder = PathToWide(item);
  PathRemoveFileSpecW(folder.data());
  folder.resize(std::wcslen(folder.c_str()));
  wchar_t combined[MAX_PATH] = {};
  return PathCombineW(combined, folder.c_str(), link.target.c_str()) ? combined : link.target;
}

}  // namespace qm
