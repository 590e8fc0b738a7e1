#include "links/reparse_point.h"

#include <windows.h>
#include <winioctl.h>

#include <vector>

#include "core/nt_path.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

// More than the largest reparse buffer a file system returns.
constexpr DWORD kReadBufferSize = 17000;

std::wstring ToWideString(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

ReparsePointInfo::ReparsePointInfo(const Path& path) { ReadReparsePoint(*this, path); }

std::uint32_t ReparseTag(const ReparsePointInfo& info) { return reparse::ReadTag(info.generic_header); }

void ClearReparsePointInfo(ReparsePointInfo& info) {
  info.generic_header.fill(0);
  info.mount_point_header.fill(0);
  info.print_name.clear();
  info.substitute_name.clear();
  info.symbolic_link.reset();
}

void ReadReparsePoint(ReparsePointInfo& info, const Path& path) {
  ClearReparsePointInfo(info);
  UniqueFileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return;
  std::vector<std::uint8_t> buffer(kReadBufferSize);
  DWORD returned = 0;
  if (!DeviceIoControl(file.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(), kReadBufferSize, &returned,
                       nullptr))
    return;
  const auto decoded = reparse::DecodeReparseData({buffer.data(), std::min<std::size_t>(returned, buffer.size())});
  info.generic_header = decoded.generic_header;
  const std::span<const std::uint8_t> bytes(buffer.data(), std::min<std::size_t>(returned, buffer.size()));
  if (const auto link = reparse::DecodeSymbolicLinkData(bytes))
    info.symbolic_link = SymbolicLinkNames{ToWideString(link->substitute_name), ToWideString(link->print_name),
                                           link->relative};
  if (!decoded.is_mount_point) return;
  info.mount_point_header = decoded.mount_point_header;
  info.print_name = ToWideString(decoded.print_name);
  info.substitute_name = ToWideString(decoded.substitute_name);
}

std::wstring GetSoftLinkTarget(const ReparsePointInfo& info) {
  const std::u16string substitute(info.substitute_name.begin(), info.substitute_name.end());
  return ToWideString(TargetOfSubstituteName(substitute));
}

}  // namespace qm
