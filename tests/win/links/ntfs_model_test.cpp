// The NTFS model itself, called through the targets it installed on the
// module's imports: it must refuse what NTFS refuses, or the link tests
// prove nothing.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/ledger.h"
#include "link_test_support.h"

namespace links_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class Model : public OnNtfs {
 protected:
  // What the module's calls of `name` reach now.
  template <class F>
  F* Target(const char* name) {
    void* current = imports.ReplaceRaw(name, nullptr);
    imports.ReplaceRaw(name, current);
    return reinterpret_cast<F*>(current);
  }

  HANDLE Open(const std::string& path, DWORD access,
              DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT) {
    return Target<decltype(CreateFileA)>("CreateFileA")(path.c_str(), access, 0, nullptr, OPEN_EXISTING, flags,
                                                        nullptr);
  }
  void Close(HANDLE handle) { Target<decltype(CloseHandle)>("CloseHandle")(handle); }

  // The last error of FSCTL_SET_REPARSE_POINT on `path`, 0 on success.
  DWORD Set(const std::string& path, const Bytes& data, DWORD access = GENERIC_WRITE) {
    HANDLE handle = Open(path, access);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD returned = 0;
    const BOOL ok = Target<decltype(DeviceIoControl)>("DeviceIoControl")(
        handle, FSCTL_SET_REPARSE_POINT, const_cast<std::uint8_t*>(data.data()), static_cast<DWORD>(data.size()),
        nullptr, 0, &returned, nullptr);
    const DWORD error = ok ? 0 : GetLastError();
    Close(handle);
    return error;
  }

  DWORD Get(const std::string& path, Bytes& out, DWORD& returned,
            DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT) {
    HANDLE handle = Open(path, 0, flags);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    returned = 0;
    const BOOL ok = Target<decltype(DeviceIoControl)>("DeviceIoControl")(
        handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, out.data(), static_cast<DWORD>(out.size()), &returned, nullptr);
    const DWORD error = ok ? 0 : GetLastError();
    Close(handle);
    return error;
  }

  const Bytes junction = harness::NtfsModel::MountPointData(u"\\??\\D:\\Target", u"");
};

TEST_F(Model, SetsJunctionsOnlyWhereNtfsWould) {
  MakeDirectory(At("full"));
  MakeFile(At("full\\x"));
  EXPECT_EQ(Set(At("full"), junction), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));

  MakeDirectory(At("empty"));
  EXPECT_EQ(Set(At("empty"), junction, FILE_READ_ATTRIBUTES), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  Bytes wrong_length = junction;
  wrong_length[4] += 2;
  EXPECT_EQ(Set(At("empty"), wrong_length), static_cast<DWORD>(ERROR_INVALID_REPARSE_DATA));
  Bytes name_outside = junction;
  name_outside[10] = 0xF0;
  EXPECT_EQ(Set(At("empty"), name_outside), static_cast<DWORD>(ERROR_INVALID_REPARSE_DATA));
  Bytes reserved_tag = junction;
  std::fill(reserved_tag.begin(), reserved_tag.begin() + 4, 0);
  EXPECT_EQ(Set(At("empty"), reserved_tag), static_cast<DWORD>(ERROR_INVALID_REPARSE_DATA));
  EXPECT_EQ(Set(At("empty"), Bytes(16 * 1024 + 8, 0)), static_cast<DWORD>(ERROR_INVALID_REPARSE_DATA));
  EXPECT_FALSE(model.ReparseData(At("empty")));

  EXPECT_EQ(Set(At("EMPTY\\"), junction), 0u);  // keys ignore case and a trailing backslash
  EXPECT_EQ(model.ReparseData(At("empty")), junction);
  EXPECT_EQ(Set(At("empty"), harness::NtfsModel::SymbolicLinkData(u"x", u"x")),
            static_cast<DWORD>(ERROR_REPARSE_TAG_MISMATCH));
  EXPECT_EQ(model.SetRequests().size(), 8u);
}

TEST_F(Model, ReturnsWhatFitsAndSaysWhenThereIsMore) {
  MakeDirectory(At("plain"));
  Bytes out(100);
  DWORD returned = 0;
  EXPECT_EQ(Get(At("plain"), out, returned), static_cast<DWORD>(ERROR_NOT_A_REPARSE_POINT));

  MakeDirectory(At("junction"));
  model.Plant(At("junction"), junction);
  EXPECT_EQ(Get(At("junction"), out, returned), 0u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + returned), junction);
  // Without FILE_FLAG_OPEN_REPARSE_POINT the handle is the target's.
  EXPECT_EQ(Get(At("junction"), out, returned, FILE_FLAG_BACKUP_SEMANTICS), static_cast<DWORD>(ERROR_NOT_A_REPARSE_POINT));

  Bytes small(20);
  EXPECT_EQ(Get(At("junction"), small, returned), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(returned, 20u);
  EXPECT_EQ(small, Bytes(junction.begin(), junction.begin() + 20));
  Bytes tiny(4);
  EXPECT_EQ(Get(At("junction"), tiny, returned), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(Model, ShowsJunctionsInAttributesAndRemovesOnlyTheLink) {
  MakeDirectory(At("target"));
  MakeFile(At("target\\kept.txt"));
  MakeDirectory(At("junction"));
  const std::string target = At("target");
  model.Plant(At("junction"),
              harness::NtfsModel::MountPointData(u"\\??\\" + std::u16string(target.begin(), target.end()), u""));
  const auto attributes = Target<decltype(GetFileAttributesA)>("GetFileAttributesA");
  EXPECT_EQ(attributes(At("junction").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  EXPECT_FALSE(attributes(At("target").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);

  if (imports.Has("FindFirstFileA")) {
    WIN32_FIND_DATAA data;
    HANDLE find = Target<decltype(FindFirstFileA)>("FindFirstFileA")(At("junction").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(data.dwReserved0, IO_REPARSE_TAG_MOUNT_POINT);
    Target<decltype(FindClose)>("FindClose")(find);
  }

  EXPECT_TRUE(Target<decltype(RemoveDirectoryA)>("RemoveDirectoryA")(At("junction").c_str()));
  EXPECT_FALSE(Exists(At("junction")));
  EXPECT_FALSE(model.ReparseData(At("junction")));
  EXPECT_TRUE(Exists(At("target\\kept.txt")));
}

TEST_F(Model, AnswersForDescribedDrivesAndKeepsTheLedgersAccount) {
  const auto volume = Target<decltype(GetVolumeInformationA)>("GetVolumeInformationA");
  char name[16] = {};
  model.DescribeDrive('e', "FAT32");
  ASSERT_TRUE(volume("E:\\", nullptr, 0, nullptr, nullptr, nullptr, name, sizeof name));
  EXPECT_STREQ(name, "FAT32");
  EXPECT_FALSE(volume("E:\\", nullptr, 0, nullptr, nullptr, nullptr, name, 5));
  model.RemoveMedium('E');
  EXPECT_FALSE(volume("e:\\", nullptr, 0, nullptr, nullptr, nullptr, name, sizeof name));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
  ASSERT_TRUE(volume("D:\\", nullptr, 0, nullptr, nullptr, nullptr, name, sizeof name));
  EXPECT_STREQ(name, "NTFS");

  HANDLE handle = Open(scratch, 0);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(harness::ledger::Open().size(), 1u);
  Close(handle);
  EXPECT_TRUE(harness::ledger::Open().empty());
}

}  // namespace
}  // namespace links_test
