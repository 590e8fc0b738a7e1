// Reparse data as a file system (or a foreign tool) returns it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "core/reparse_buffer.h"
#include "core/status.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm::reparse;
  const std::span<const std::uint8_t> bytes(data, size);
  const DecodedReparsePoint record = DecodeReparseData(bytes);

  for (std::size_t i = 0; i < kGenericHeaderSize; ++i) Check(record.generic_header[i] == (i < size ? data[i] : 0));
  if (!record.is_mount_point) {
    Check(record.substitute_name.empty() && record.print_name.empty());
    for (auto b : record.mount_point_header) Check(b == 0);
  } else {
    Check(ReadTag(bytes) == kMountPointTag);
    Check(kPathBufferOffset + 2 * record.substitute_name.size() <= size);
    Check(kPathBufferOffset + 2 * record.print_name.size() <= size);
    Check(std::memcmp(record.mount_point_header.data(), data, std::min(size, kMountPointHeaderSize)) == 0);
  }

  if (const auto link = DecodeSymbolicLinkData(bytes)) {
    Check(ReadTag(bytes) == kSymbolicLinkTag && !record.is_mount_point);
    Check(20 + 2 * link->substitute_name.size() <= size && 20 + 2 * link->print_name.size() <= size);
  }

  // Whatever the bytes, as two names they round-trip through a request.
  std::u16string name(size / 2, u'\0');
  for (std::size_t i = 0; i < name.size(); ++i) name[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  if (name.size() > kMaximumSubstituteNameLength) return 0;
  const std::u16string substitute = name.substr(0, name.size() / 2), print = name.substr(name.size() / 2);
  const auto request = EncodeMountPointRequest(substitute, print);
  Check(request.size() == RequestSize(substitute.size(), print.size()));
  const DecodedReparsePoint again = DecodeReparseData(request);
  Check(again.is_mount_point && again.substitute_name == substitute && again.print_name == print);
  return 0;
}
