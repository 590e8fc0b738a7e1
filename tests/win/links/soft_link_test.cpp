// Creating junctions and reading them back, on the NTFS model and on the
// plain platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "harness/ledger.h"
#include "link_test_support.h"
#include "links/reparse_point.h"
#include "links/soft_link.h"

namespace links_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t U16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }

std::wstring NameAt(const Bytes& b, std::size_t at, std::size_t bytes) {
  std::wstring name;
  for (std::size_t i = 0; i < bytes; i += 2) name += static_cast<wchar_t>(U16(b, at + i));
  return name;
}

bool IsCleared(const qm::ReparsePointInfo& info) {
  auto zero = [](const auto& header) { return std::all_of(header.begin(), header.end(), [](auto b) { return b == 0; }); };
  return zero(info.generic_header) && zero(info.mount_point_header) && info.print_name.empty() &&
         info.substitute_name.empty() && !info.symbolic_link;
}

constexpr HRESULT kDirectoryNotEmpty = HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY);

TEST_F(OnNtfs, TheRequestIs2LPlus20BytesWithTheSubstituteNameAndAnEmptyPrintName) {
  const std::string link = At("Data link");
  qm::CreateSoftLink(link, L"D:\\Data");

  const auto requests = model.SetRequests();
  ASSERT_EQ(requests.size(), 1u);
  const Bytes& request = requests[0].bytes;
  const std::wstring expected = L"\\??\\D:\\Data";
  const std::size_t length = expected.size();
  EXPECT_EQ(requests[0].error, 0u);
  ASSERT_EQ(request.size(), 2 * length + 20);
  EXPECT_EQ(U16(request, 0) | (std::uint32_t{U16(request, 2)} << 16), IO_REPARSE_TAG_MOUNT_POINT);
  EXPECT_EQ(U16(request, 4), 2 * length + 12);
  EXPECT_EQ(U16(request, 8), 0);
  EXPECT_EQ(U16(request, 10), 2 * length);
  EXPECT_EQ(U16(request, 12), 2 * length + 2);
  EXPECT_EQ(U16(request, 14), 0);
  EXPECT_EQ(NameAt(request, 16, 2 * length), expected);
  EXPECT_EQ(U16(request, 16 + 2 * length), 0);
  EXPECT_EQ(U16(request, 18 + 2 * length), 0);
  EXPECT_TRUE(IsDirectory(link));

  const qm::ReparsePointInfo info(link);
  EXPECT_EQ(info.substitute_name, expected);
  EXPECT_EQ(info.print_name, L"");
  EXPECT_EQ(qm::GetSoftLinkTarget(info), L"D:\\Data");
  EXPECT_EQ(qm::ReparseTag(info), IO_REPARSE_TAG_MOUNT_POINT);
  EXPECT_TRUE(std::equal(info.mount_point_header.begin(), info.mount_point_header.end(), request.begin()));
  EXPECT_TRUE(std::equal(info.generic_header.begin(), info.generic_header.end(), request.begin()));
}

TEST_F(OnNtfs, ADriveRootLosesItsBackslashAndAnNtNameIsStoredUnchanged) {
  qm::CreateSoftLink(At("root"), L"C:\\");
  qm::CreateSoftLink(At("copied"), L"\\??\\D:\\Data\\");
  qm::CreateSoftLink(At("trailing"), L"D:\\Data\\");

  const qm::ReparsePointInfo root(At("root")), copied(At("copied")), trailing(At("trailing"));
  EXPECT_EQ(root.substitute_name, L"\\??\\C:");
  EXPECT_EQ(qm::GetSoftLinkTarget(root), L"C:");
  EXPECT_EQ(copied.substitute_name, L"\\??\\D:\\Data\\");
  EXPECT_EQ(qm::GetSoftLinkTarget(copied), L"D:\\Data\\");
  EXPECT_EQ(trailing.substitute_name, L"\\??\\D:\\Data\\");
  const auto requests = model.SetRequests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].bytes.size(), 2 * std::wcslen(L"\\??\\C:") + 20);
}

TEST_F(OnNtfs, AForeignJunctionReadsBothNamesAndShowsTheSubstituteNamesTarget) {
  MakeDirectory(At("foreign"));
  model.Plant(At("foreign"), harness::NtfsModel::MountPointData(u"\\??\\E:\\Music", u"Shown elsewhere"));
  qm::ReparsePointInfo info;
  qm::ReadReparsePoint(info, At("foreign"));
  EXPECT_EQ(info.substitute_name, L"\\??\\E:\\Music");
  EXPECT_EQ(info.print_name, L"Shown elsewhere");
  EXPECT_EQ(qm::GetSoftLinkTarget(info), L"E:\\Music");

  // A copy carries both headers and names; reading another path into a
  // record starts from a cleared one.
  const qm::ReparsePointInfo copy = info;
  EXPECT_EQ(copy.generic_header, info.generic_header);
  EXPECT_EQ(copy.mount_point_header, info.mount_point_header);
  EXPECT_EQ(copy.print_name, info.print_name);
  EXPECT_EQ(copy.substitute_name, info.substitute_name);
  qm::ReadReparsePoint(info, At("missing"));
  EXPECT_TRUE(IsCleared(info));
  EXPECT_EQ(qm::GetSoftLinkTarget(copy), L"E:\\Music");
}

TEST_F(OnNtfs, NamesOfAThousandCharactersAndMoreAreReadWholeAndCanBeLinkedAgain) {
  MakeDirectory(At("long"));
  const std::u16string target = u"\\??\\D:\\" + std::u16string(3000, u'x');
  model.Plant(At("long"), harness::NtfsModel::MountPointData(target, std::u16string(1500, u'p')));
  const qm::ReparsePointInfo info(At("long"));
  EXPECT_EQ(info.substitute_name.size(), target.size());
  EXPECT_EQ(info.print_name.size(), 1500u);

  // Far beyond a 380-character request buffer: the request is sized to the name.
  qm::CreateSoftLink(At("again"), info.substitute_name);
  EXPECT_EQ(qm::ReparsePointInfo(At("again")).substitute_name, info.substitute_name);
  EXPECT_EQ(model.SetRequests().back().bytes.size(), 2 * target.size() + 20);
}

TEST_F(OnNtfs, OnlyAMountPointWhoseNamesLieInsideTheReturnedBytesHasATarget) {
  MakeDirectory(At("plain"));
  MakeFile(At("file.txt"));
  MakeDirectory(At("symlink"));
  model.Plant(At("symlink"), harness::NtfsModel::SymbolicLinkData(u"\\??\\D:\\Data", u"D:\\Data"));
  MakeDirectory(At("broken"));
  Bytes broken = harness::NtfsModel::MountPointData(u"\\??\\D:\\Data", u"D:\\Data");
  broken[14] = 0xF0;  // the print name reaches past the returned bytes
  model.Plant(At("broken"), broken);

  for (const char* name : {"plain", "file.txt", "missing", "symlink", "broken"}) {
    SCOPED_TRACE(name);
    const qm::ReparsePointInfo info(At(name));
    EXPECT_EQ(qm::GetSoftLinkTarget(info), L"");
    EXPECT_TRUE(info.substitute_name.empty() && info.print_name.empty());
    EXPECT_TRUE(std::all_of(info.mount_point_header.begin(), info.mount_point_header.end(),
                            [](auto b) { return b == 0; }));
  }
  // Another kind of reparse point and a malformed one keep the generic header.
  const qm::ReparsePointInfo symlink(At("symlink"));
  EXPECT_EQ(qm::ReparseTag(symlink), IO_REPARSE_TAG_SYMLINK);
  ASSERT_TRUE(symlink.symbolic_link);
  EXPECT_EQ(symlink.symbolic_link->substitute_name, L"\\??\\D:\\Data");
  EXPECT_EQ(symlink.symbolic_link->print_name, L"D:\\Data");
  const qm::ReparsePointInfo malformed(At("broken"));
  EXPECT_TRUE(std::equal(malformed.generic_header.begin(), malformed.generic_header.end(), broken.begin()));
  EXPECT_TRUE(IsCleared(qm::ReparsePointInfo(At("plain"))));
}

TEST_F(OnNtfs, AnEmptyDirectoryBecomesTheLinkANonEmptyOneStaysAsItWas) {
  MakeDirectory(At("empty"));
  qm::CreateSoftLink(At("empty"), L"D:\\Data");
  EXPECT_EQ(qm::GetSoftLinkTarget(qm::ReparsePointInfo(At("empty"))), L"D:\\Data");

  MakeDirectory(At("full"));
  MakeFile(At("full\\keep.txt"), "contents");
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(At("full"), L"D:\\Data"); }), kDirectoryNotEmpty);
  EXPECT_TRUE(Exists(At("full\\keep.txt")));
  EXPECT_FALSE(model.ReparseData(At("full")));
}

TEST_F(OnNtfs, TheDirectoryItMadeIsRemovedWhenTheOpenOrTheControlCallFails) {
  const std::string link = At("link");
  imports.FailCall("CreateFileA", 1, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(link, L"D:\\Data"); }), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(Exists(link));

  imports.FailCall("DeviceIoControl", 1, ERROR_INVALID_REPARSE_DATA);
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(link, L"D:\\Data"); }), HRESULT_FROM_WIN32(ERROR_INVALID_REPARSE_DATA));
  EXPECT_FALSE(Exists(link));

  // An empty directory that was there already stays: only what the call made is undone.
  MakeDirectory(link);
  imports.FailCall("DeviceIoControl", 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(link, L"D:\\Data"); }), E_ACCESSDENIED);
  EXPECT_TRUE(IsDirectory(link));
  RemoveDirectoryA(link.c_str());

  // The removal's own failure does not hide the first one.
  imports.FailCall("DeviceIoControl", 1, ERROR_NOT_READY);
  imports.FailCall("RemoveDirectoryA", 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(link, L"D:\\Data"); }), HRESULT_FROM_WIN32(ERROR_NOT_READY));
  EXPECT_TRUE(imports.FaultFired());
  EXPECT_TRUE(IsDirectory(link));

  // A failure without an error code is still a failure.
  RemoveDirectoryA(link.c_str());
  imports.FailCall("DeviceIoControl", 1, ERROR_SUCCESS);
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(link, L"D:\\Data"); }), E_FAIL);
  EXPECT_FALSE(Exists(link));

  // A missing parent is the directory's own failure.
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(At("no parent\\link"), L"D:\\Data"); }),
            HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
}

TEST_F(OnNtfs, ATargetBeyondTheReparseDataLimitIsRefusedBeforeAnythingIsCreated) {
  const std::wstring longest = L"\\??\\" + std::wstring(8182 - 4, L'y');
  qm::CreateSoftLink(At("longest"), longest);
  EXPECT_EQ(model.SetRequests().back().bytes.size(), 16384u);

  imports.ResetCounts();
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(At("too long"), longest + L"y"); }),
            HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_EQ(imports.Calls("CreateDirectoryA"), 0u);
  EXPECT_FALSE(Exists(At("too long")));
  // The prefix counts: a plain target gets four characters more.
  EXPECT_EQ(StatusOf([&] { qm::CreateSoftLink(At("too long"), std::wstring(8182 - 3, L'y')); }),
            HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
}

// Wine refuses to set reparse points: the failure must come back and the
// directory must go.
TEST_F(PlainPlatform, AJunctionThePlatformRefusesRaisesAndLeavesNoDirectory) {
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "not Wine";
  const std::string link = At("link");
  const HRESULT status = StatusOf([&] { qm::CreateSoftLink(link, L"D:\\Data"); });
  EXPECT_TRUE(FAILED(status)) << std::hex << status;
  EXPECT_FALSE(Exists(link));
  EXPECT_EQ(imports.Calls("RemoveDirectoryA"), 1u);
  EXPECT_TRUE(IsCleared(qm::ReparsePointInfo(scratch)));
}

}  // namespace
}  // namespace links_test
