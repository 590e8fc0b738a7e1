#include "links/reparse_point.h"

#include <windows.h>
#include <winioctl.h>

#include <vector>

#include "core/nt_path.h"
#include "win/errors.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

// More than the largest reparse buffer a file system returns.
constexpr DWORD kReadBufferSize = 17000;
// Reading never keeps another program from changing or removing the item.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kReparsePointItself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

std::wstring ToWideString(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

void Fill(ReparsePointInfo& info, std::span<const std::uint8_t> bytes) {
  const auto decoded = reparse::DecodeReparseData(bytes);
  info.generic_header = decoded.generic_header;
  if (const auto link = reparse::DecodeSymbolicLinkData(bytes))
    info.symbolic_link = SymbolicLinkNames{ToWideString(link->substitute_name), ToWideString(link->print_name),
                                           link->relative};
  if (!decoded.is_mount_point) return;
  info.mount_point_header = decoded.mount_point_header;
  info.print_name = ToWideString(decoded.print_name);
  info.substitute_name = ToWideString(decoded.substitute_name);
}

void ReadOpened(ReparsePointInfo& info, const UniqueFileHandle& file) {
  if (!file) RaiseLastError();
  std::vector<std::uint8_t> buffer(kReadBufferSize);
  DWORD returned = 0;
  if (!DeviceIoControl(file.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(), kReadBufferSize, &returned,
                       nullptr)) {
    if (GetLastError() == ERROR_NOT_A_REPARSE_POINT) return;
    RaiseLastError();
  }
  Fill(info, {buffer.data(), std::min<std::size_t>(returned, buffer.size())});
}

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

void ReadReparsePointOrRaise(ReparsePointInfo& info, const Path& path) {
  ClearReparsePointInfo(info);
  ReadOpened(info, UniqueFileHandle(CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                                       kReparsePointItself, nullptr)));
}

void ReadReparsePointOrRaise(ReparsePointInfo& info, const std::wstring& path) {
  ClearReparsePointInfo(info);
  ReadOpened(info, UniqueFileHandle(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                                       kReparsePointItself, nullptr)));
}

void ReadReparsePoint(ReparsePointInfo& info, const Path& path) {
  try {
    ReadReparsePointOrRaise(info, path);
  } catch (const CAtlException&) {
    ClearReparsePointInfo(info);
  }
}

std::wstring GetSoftLinkTarget(const ReparsePointInfo& info) {
  const std::u16string substitute(info.substitute_name.begin(), info.substitute_name.end());
  return ToWideString(TargetOfSubstituteName(substitute));
}

}  // namespace qm
