#include "core/reparse_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/status.h"

namespace qm::reparse {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t U16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A mount point as another tool writes it: substitute name first, then the
// print name, both terminated.
Bytes ForeignMountPoint(std::u16string_view substitute, std::u16string_view print) {
  const std::size_t sub = 2 * substitute.size(), prn = 2 * print.size();
  Bytes b(16 + sub + 2 + prn + 2, 0);
  Put16(b, 0, 0x0003);
  Put16(b, 2, 0xA000);
  Put16(b, 4, static_cast<std::uint32_t>(b.size() - 8));
  Put16(b, 8, 0);
  Put16(b, 10, static_cast<std::uint32_t>(sub));
  Put16(b, 12, static_cast<std::uint32_t>(sub + 2));
  Put16(b, 14, static_cast<std::uint32_t>(prn));
  for (std::size_t i = 0; i < substitute.size(); ++i) Put16(b, 16 + 2 * i, substitute[i]);
  for (std::size_t i = 0; i < print.size(); ++i) Put16(b, 16 + sub + 2 + 2 * i, print[i]);
  return b;
}

TEST(ReparseRequest, HoldsTheSubstituteNameAndAnEmptyPrintNameIn2LPlus20Bytes) {
  const std::u16string name = u"\\??\\D:\\Data";
  const Bytes request = EncodeMountPointRequest(name);
  const std::size_t length = name.size();
  ASSERT_EQ(request.size(), 2 * length + 20);
  EXPECT_EQ(U16(request, 0), 0x0003);
  EXPECT_EQ(U16(request, 2), 0xA000);
  EXPECT_EQ(U16(request, 4), 2 * length + 12);
  EXPECT_EQ(U16(request, 6), 0);
  EXPECT_EQ(U16(request, 8), 0);
  EXPECT_EQ(U16(request, 10), 2 * length);
  EXPECT_EQ(U16(request, 12), 2 * length + 2);
  EXPECT_EQ(U16(request, 14), 0);
  for (std::size_t i = 0; i < length; ++i) EXPECT_EQ(U16(request, 16 + 2 * i), name[i]);
  EXPECT_EQ(U16(request, 16 + 2 * length), 0);
  EXPECT_EQ(U16(request, 18 + 2 * length), 0);
}

TEST(ReparseRequest, RoundTripsThroughTheDecoderWithTheRequestAsItsHeaders) {
  for (const std::u16string& name : {std::u16string(u"\\??\\C:"), std::u16string(u"\\??\\D:\\Data\\"),
                                     std::u16string(), std::u16string(2000, u'\x00e9')}) {
    const Bytes request = EncodeMountPointRequest(name);
    const auto record = DecodeReparseData(request);
    ASSERT_TRUE(record.is_mount_point);
    EXPECT_EQ(record.substitute_name, name);
    EXPECT_TRUE(record.print_name.empty());
    EXPECT_TRUE(std::equal(record.mount_point_header.begin(), record.mount_point_header.end(), request.begin()));
    const std::size_t copied = std::min<std::size_t>(kGenericHeaderSize, request.size());
    EXPECT_TRUE(std::equal(request.begin(), request.begin() + copied, record.generic_header.begin()));
    for (std::size_t i = copied; i < kGenericHeaderSize; ++i) EXPECT_EQ(record.generic_header[i], 0) << i;
  }
  // With a print name, a copy of another tool's junction holds the same bytes.
  EXPECT_EQ(EncodeMountPointRequest(u"\\Device\\HarddiskVolume3\\Music", u"D:\\Music"),
            ForeignMountPoint(u"\\Device\\HarddiskVolume3\\Music", u"D:\\Music"));
}

TEST(ReparseRequest, RefusesANameBeyondTheReparseDataLimitAndTakesTheLongestThatFits) {
  const Bytes longest = EncodeMountPointRequest(std::u16string(kMaximumSubstituteNameLength, u'a'));
  EXPECT_EQ(longest.size(), kMaximumBufferSize);
  try {
    EncodeMountPointRequest(std::u16string(kMaximumSubstituteNameLength + 1, u'a'));
    FAIL() << "no failure raised";
  } catch (const CAtlException& e) {
    EXPECT_EQ(static_cast<std::uint32_t>(e.status()), 0x800700CEu);
  }
}

TEST(ReparseDecode, ReadsBothNamesOfAForeignJunctionWhateverTheirOrder) {
  const auto record = DecodeReparseData(ForeignMountPoint(u"\\??\\E:\\Music", u"E:\\Music"));
  ASSERT_TRUE(record.is_mount_point);
  EXPECT_EQ(record.substitute_name, u"\\??\\E:\\Music");
  EXPECT_EQ(record.print_name, u"E:\\Music");

  // Print name stored first, no terminators at all.
  Bytes b(16 + 4 + 6, 0);
  Put16(b, 0, 0x0003);
  Put16(b, 2, 0xA000);
  Put16(b, 8, 4);    // substitute after the print name
  Put16(b, 10, 6);
  Put16(b, 12, 0);
  Put16(b, 14, 4);
  const char16_t text[] = u"PRSUB";
  for (int i = 0; i < 5; ++i) Put16(b, 16 + 2 * i, text[i]);
  const auto swapped = DecodeReparseData(b);
  ASSERT_TRUE(swapped.is_mount_point);
  EXPECT_EQ(swapped.print_name, u"PR");
  EXPECT_EQ(swapped.substitute_name, u"SUB");
}

TEST(ReparseDecode, ReadsNamesOf1024CharactersAndMoreWhole) {
  const std::u16string substitute = u"\\??\\D:\\" + std::u16string(3000, u'x');
  const std::u16string print(1024, u'p');
  const auto record = DecodeReparseData(ForeignMountPoint(substitute, print));
  ASSERT_TRUE(record.is_mount_point);
  EXPECT_EQ(record.substitute_name, substitute);
  EXPECT_EQ(record.print_name, print);
}

TEST(ReparseDecode, ANameReachingPastTheReturnedBytesLeavesNoMountPoint) {
  const Bytes whole = ForeignMountPoint(u"\\??\\D:\\Data", u"D:\\Data");
  // Cut inside the print name: the substitute name alone is not taken either.
  for (std::size_t cut : {whole.size() - 3, std::size_t{16} + 22, std::size_t{15}, std::size_t{4}, std::size_t{0}}) {
    const auto record = DecodeReparseData(std::span(whole.data(), cut));
    EXPECT_FALSE(record.is_mount_point) << cut;
    EXPECT_TRUE(record.substitute_name.empty()) << cut;
    EXPECT_TRUE(record.print_name.empty()) << cut;
    for (auto byte : record.mount_point_header) EXPECT_EQ(byte, 0) << cut;
    // The generic header holds what was returned and nothing more.
    for (std::size_t i = 0; i < kGenericHeaderSize; ++i)
      EXPECT_EQ(record.generic_header[i], i < cut ? whole[i] : 0) << cut << " at " << i;
  }
  // Offsets near the 16-bit limit do not wrap.
  Bytes b = whole;
  Put16(b, 8, 0xFFFF);
  Put16(b, 10, 0xFFFF);
  EXPECT_FALSE(DecodeReparseData(b).is_mount_point);
  // A name ending exactly at the last returned byte is inside.
  Bytes exact = whole;
  exact.resize(exact.size() - 2);  // drop the print name's terminator
  EXPECT_TRUE(DecodeReparseData(exact).is_mount_point);
}

TEST(ReparseDecode, OtherTagsFillOnlyTheGenericHeader) {
  Bytes symlink = ForeignMountPoint(u"\\??\\D:\\Data", u"D:\\Data");
  Put16(symlink, 0, 0x000C);  // IO_REPARSE_TAG_SYMLINK
  const auto record = DecodeReparseData(symlink);
  EXPECT_FALSE(record.is_mount_point);
  EXPECT_TRUE(record.substitute_name.empty());
  EXPECT_EQ(ReadTag(record.generic_header), kSymbolicLinkTag);
  EXPECT_TRUE(std::equal(record.generic_header.begin(), record.generic_header.end(), symlink.begin()));

  Bytes third_party = symlink;
  Put16(third_party, 2, 0x2000);  // the Microsoft bit clear, otherwise a mount point
  Put16(third_party, 0, 0x0003);
  EXPECT_FALSE(DecodeReparseData(third_party).is_mount_point);
}

TEST(ReparseDecode, OddLengthsAndOffsetsReadWholeCharactersOnly) {
  Bytes b = ForeignMountPoint(u"ABC", u"");
  Put16(b, 10, 5);  // 2.5 characters
  const auto record = DecodeReparseData(b);
  ASSERT_TRUE(record.is_mount_point);
  EXPECT_EQ(record.substitute_name, u"AB");
  Put16(b, 8, 1);  // starts in the middle of a character
  Put16(b, 10, 2);
  EXPECT_EQ(DecodeReparseData(b).substitute_name, std::u16string(1, static_cast<char16_t>(0x4200)));
}

TEST(ReparseDecode, SymbolicLinksGiveTheirNamesAndRelativeFlagFromAfterTheFlagsWord) {
  // A symbolic link's path buffer starts four bytes later, after its flags.
  Bytes link = ForeignMountPoint(u"..\\Data", u"..\\Data");
  Put16(link, 0, 0x000C);
  link.insert(link.begin() + 16, {1, 0, 0, 0});
  const auto relative = DecodeSymbolicLinkData(link);
  ASSERT_TRUE(relative);
  EXPECT_EQ(relative->substitute_name, u"..\\Data");
  EXPECT_EQ(relative->print_name, u"..\\Data");
  EXPECT_TRUE(relative->relative);
  link[16] = 0;
  EXPECT_FALSE(DecodeSymbolicLinkData(link)->relative);
  link.resize(link.size() - 4);  // the print name reaches past the returned bytes
  EXPECT_FALSE(DecodeSymbolicLinkData(link));
  EXPECT_FALSE(DecodeSymbolicLinkData(ForeignMountPoint(u"\\??\\D:\\Data", u"")));
}

}  // namespace
}  // namespace qm::reparse
