// The mount-point reparse buffer of an NTFS directory junction: building the
// request that sets one, and reading what the file system returns.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm::reparse {

constexpr std::uint32_t kMountPointTag = 0xA0000003u;   // IO_REPARSE_TAG_MOUNT_POINT
constexpr std::uint32_t kSymbolicLinkTag = 0xA000000Cu; // IO_REPARSE_TAG_SYMLINK
constexpr std::uint32_t kMicrosoftTagBit = 0x80000000u;
// A symbolic link's flags word; this bit: the substitute name is relative to
// the link's folder.
constexpr std::uint32_t kSymbolicLinkRelative = 1;

// The generic header is the GUID reparse header plus the first four data
// bytes; the mount-point header is the four name fields plus the first two
// characters of the path buffer.
constexpr std::size_t kGenericHeaderSize = 28;
constexpr std::size_t kMountPointHeaderSize = 20;
// Tag, data length and reserved field.
constexpr std::size_t kReparseHeaderSize = 8;
// Where the path buffer of a mount point starts; name offsets count from here.
constexpr std::size_t kPathBufferOffset = 16;
// The largest reparse buffer a file system accepts, header included.
constexpr std::size_t kMaximumBufferSize = 16 * 1024;
// A request holds the substitute name, the print name and their terminators.
constexpr std::size_t RequestSize(std::size_t substitute_length, std::size_t print_length = 0) {
  return 2 * (substitute_length + print_length) + 20;
}
constexpr std::size_t kMaximumSubstituteNameLength = (kMaximumBufferSize - 20) / 2;

// The FSCTL_SET_REPARSE_POINT request that makes a directory a junction to
// `substitute_name` (an NT path such as \??\D:\Data) with `print_name`, empty
// for the links this system makes: 2*L+20 bytes then, data length 2*L+12.
// Names that do not fit kMaximumBufferSize raise
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE).
std::vector<std::uint8_t> EncodeMountPointRequest(std::u16string_view substitute_name,
                                                  std::u16string_view print_name = {});

// The FSCTL_DELETE_REPARSE_POINT request for a Microsoft tag: the reparse
// header alone, with a data length of 0.
std::vector<std::uint8_t> EncodeDeleteRequest(std::uint32_t tag);

struct DecodedReparsePoint {
  // Raw copies of the first bytes returned; bytes past the end are zero.
  std::array<std::uint8_t, kGenericHeaderSize> generic_header{};
  std::array<std::uint8_t, kMountPointHeaderSize> mount_point_header{};
  std::u16string print_name;
  std::u16string substitute_name;
  bool is_mount_point = false;
};

std::uint32_t ReadTag(std::span<const std::uint8_t> header);

// Reads the bytes FSCTL_GET_REPARSE_POINT returned. The generic header is
// always filled. Only a mount point fills the rest, and only when both of
// its names lie wholly inside `returned`; otherwise the record holds no
// mount point (mount-point header zero, names empty). Names are read whole,
// however long, and never depend on a terminator.
DecodedReparsePoint DecodeReparseData(std::span<const std::uint8_t> returned);

struct DecodedSymbolicLink {
  std::u16string substitute_name;
  std::u16string print_name;
  bool relative = false;
};

// The names of a symbolic link (tag, data length, the four name fields, a
// flags word, then the path buffer at byte 20), or nothing when the tag is
// another or either name does not lie wholly inside `returned`.
std::optional<DecodedSymbolicLink> DecodeSymbolicLinkData(std::span<const std::uint8_t> returned);

}  // namespace qm::reparse
