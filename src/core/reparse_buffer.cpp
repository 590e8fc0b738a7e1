#include "core/reparse_buffer.h"

#include <algorithm>

#include "core/status.h"

namespace qm::reparse {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  Put16(out, at, value & 0xFFFF);
  Put16(out, at + 2, value >> 16);
}

std::uint16_t Get16(std::span<const std::uint8_t> in, std::size_t at) {
  return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

template <std::size_t N>
std::array<std::uint8_t, N> Prefix(std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, N> out{};
  std::copy_n(bytes.begin(), std::min(N, bytes.size()), out.begin());
  return out;
}

std::uint32_t Get32(std::span<const std::uint8_t> in, std::size_t at) {
  return static_cast<std::uint32_t>(Get16(in, at)) | (static_cast<std::uint32_t>(Get16(in, at + 2)) << 16);
}

// The name at `offset`/`length` (bytes, from the path buffer at `buffer`), or
// false when it does not lie wholly inside `bytes`.
bool ReadName(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t length, std::u16string& name,
              std::size_t buffer = kPathBufferOffset) {
  const std::size_t start = buffer + offset;
  if (start > bytes.size() || length > bytes.size() - start) return false;
  name.resize(length / 2);
  for (std::size_t i = 0; i < name.size(); ++i) name[i] = static_cast<char16_t>(Get16(bytes, start + 2 * i));
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeMountPointRequest(std::u16string_view substitute_name,
                                                  std::u16string_view print_name) {
  const std::size_t length = substitute_name.size(), print_length = print_name.size();
  if (length + print_length > kMaximumSubstituteNameLength)
    RaiseStatus(StatusFromWin32(status::Win32FilenameExceedsRange));
  const auto name_bytes = static_cast<std::uint32_t>(2 * length);
  const auto print_bytes = static_cast<std::uint32_t>(2 * print_length);
  std::vector<std::uint8_t> request(RequestSize(length, print_length), 0);
  Put32(request, 0, kMountPointTag);
  Put16(request, 4, name_bytes + print_bytes + 12);  // data length: everything after the reparse header
  Put16(request, 8, 0);                              // substitute name offset
  Put16(request, 10, name_bytes);                    // substitute name length
  Put16(request, 12, name_bytes + 2);                // print name offset: past the terminator
  Put16(request, 14, print_bytes);                   // print name length
  for (std::size_t i = 0; i < length; ++i) Put16(request, kPathBufferOffset + 2 * i, substitute_name[i]);
  const std::size_t print_start = kPathBufferOffset + name_bytes + 2;
  for (std::size_t i = 0; i < print_length; ++i) Put16(request, print_start + 2 * i, print_name[i]);
  return request;  // both terminators are already zero
}

std::vector<std::uint8_t> EncodeDeleteRequest(std::uint32_t tag) {
  std::vector<std::uint8_t> request(kReparseHeaderSize, 0);
  Put32(request, 0, tag);
  return request;
}

std::uint32_t ReadTag(std::span<const std::uint8_t> header) { return header.size() < 4 ? 0 : Get32(header, 0); }

DecodedReparsePoint DecodeReparseData(std::span<const std::uint8_t> returned) {
  DecodedReparsePoint record;
  record.generic_header = Prefix<kGenericHeaderSize>(returned);
  if (ReadTag(returned) != kMountPointTag || returned.size() < kPathBufferOffset) return record;
  std::u16string substitute, print;
  if (!ReadName(returned, Get16(returned, 8), Get16(returned, 10), substitute) ||
      !ReadName(returned, Get16(returned, 12), Get16(returned, 14), print))
    return record;
  record.mount_point_header = Prefix<kMountPointHeaderSize>(returned);
  record.substitute_name = std::move(substitute);
  record.print_name = std::move(print);
  record.is_mount_point = true;
  return record;
}

std::optional<DecodedSymbolicLink> DecodeSymbolicLinkData(std::span<const std::uint8_t> returned) {
  constexpr std::size_t kSymbolicLinkPathBuffer = 20;
  if (ReadTag(returned) != kSymbolicLinkTag || returned.size() < kSymbolicLinkPathBuffer) return std::nullopt;
  DecodedSymbolicLink link;
  if (!ReadName(returned, Get16(returned, 8), Get16(returned, 10), link.substitute_name, kSymbolicLinkPathBuffer) ||
      !ReadName(returned, Get16(returned, 12), Get16(returned, 14), link.print_name, kSymbolicLinkPathBuffer))
    return std::nullopt;
  link.relative = (Get32(returned, 16) & kSymbolicLinkRelative) != 0;
  return link;
}

}  // namespace qm::reparse
