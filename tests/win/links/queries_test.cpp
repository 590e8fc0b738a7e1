// Volume, file and path queries.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/path_list.h"
#include "link_test_support.h"
#include "links/path_queries.h"
#include "links/volume_queries.h"

namespace links_test {
namespace {

constexpr HRESULT kTooLong = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);

TEST_F(OnNtfs, OnlyDriveLetterPathsAskAVolumeAndEveryCallAsksAgain) {
  for (const char* path : {"\\\\server\\share\\dir", "dir\\sub", "C:", "C:dir", "", "D:/Data"})
    EXPECT_FALSE(qm::IsNtfsVolume(path)) << path;
  EXPECT_EQ(imports.Calls("GetVolumeInformationA"), 0u);

  model.DescribeDrive('D', "nTfS");
  model.DescribeDrive('E', "FAT32");
  EXPECT_TRUE(qm::IsNtfsVolume("d:\\x"));
  EXPECT_TRUE(qm::IsNtfsVolume("D:\\"));
  EXPECT_FALSE(qm::IsNtfsVolume("E:\\Music"));
  EXPECT_TRUE(qm::IsNtfsVolume("C:\\windows"));  // not described: NTFS
  EXPECT_EQ(imports.Calls("GetVolumeInformationA"), 4u);

  model.RemoveMedium('E');
  EXPECT_EQ(StatusOf([] { qm::IsNtfsVolume("E:\\Music"); }), HRESULT_FROM_WIN32(ERROR_NOT_READY));
  model.DescribeDrive('E', "NTFS");
  EXPECT_TRUE(qm::IsNtfsVolume("E:\\Music"));
}

TEST_F(PlainPlatform, AnUnknownDriveRaisesRatherThanAnsweringFalse) {
  const HRESULT status = StatusOf([] { qm::IsNtfsVolume("Q:\\nowhere"); });
  EXPECT_TRUE(FAILED(status)) << std::hex << status;
}

TEST_F(PlainPlatform, FileInformationCountsAFilesNamesAndIsZeroForDirectories) {
  MakeFile(At("notes.txt"));
  ASSERT_TRUE(CreateHardLinkA(At("second.txt").c_str(), At("notes.txt").c_str(), nullptr));
  ASSERT_TRUE(CreateHardLinkA(At("third.txt").c_str(), At("notes.txt").c_str(), nullptr));
  const BY_HANDLE_FILE_INFORMATION file = qm::QueryFileInformation(At("second.txt"));
  EXPECT_EQ(file.nNumberOfLinks, 3u);
  EXPECT_EQ(file.nFileSizeLow, 1u);
  EXPECT_TRUE(file.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE);

  const BY_HANDLE_FILE_INFORMATION zero{};
  for (const std::string& path : {scratch, At("missing.txt")}) {
    const BY_HANDLE_FILE_INFORMATION info = qm::QueryFileInformation(path);
    EXPECT_EQ(std::memcmp(&info, &zero, sizeof info), 0) << path;
  }
  // A file that opens but cannot be read gives the zero record too.
  imports.FailCall("GetFileInformationByHandle", 1, ERROR_IO_DEVICE);
  const BY_HANDLE_FILE_INFORMATION unread = qm::QueryFileInformation(At("notes.txt"));
  EXPECT_EQ(std::memcmp(&unread, &zero, sizeof unread), 0);
}

// The current directory is made long enough that a short relative name
// reaches the MAX_PATH limit.
class FullPathLimit : public PlainPlatform {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(MAX_PATH, previous);
    deep = scratch + "\\" + std::string(200 - scratch.size(), 'd');
    MakeDirectory(deep);
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
  }
  void TearDown() override {
    SetCurrentDirectoryA(previous);
    PlainPlatform::TearDown();
  }
  char previous[MAX_PATH] = {};
  std::string deep;
};

TEST_F(FullPathLimit, AFullPathOf259CharactersFitsOneMoreRaises) {
  const std::string fits(259 - deep.size() - 1, 'n');
  EXPECT_EQ(qm::GetFullPath(fits), deep + "\\" + fits);
  EXPECT_EQ((deep + "\\" + fits).size(), 259u);
  EXPECT_EQ(StatusOf([&] { qm::GetFullPath(fits + "n"); }), kTooLong);
  // Windows answers a result that does not fit with the size it needs.
  imports.FailCall("GetFullPathNameA", 1, ERROR_SUCCESS, MAX_PATH + 1);
  EXPECT_EQ(StatusOf([] { qm::GetFullPath("x"); }), kTooLong);
  EXPECT_EQ(qm::GetFullPath("..\\x\\.\\y"), scratch + "\\x\\y");
}

TEST_F(PlainPlatform, CombinedPathsFollowTheShellsRulesUpToTheLimit) {
  EXPECT_EQ(qm::CombinePath("D:\\Links", "Music"), "D:\\Links\\Music");
  EXPECT_EQ(qm::CombinePath("D:\\Links\\", "Music"), "D:\\Links\\Music");
  EXPECT_EQ(qm::CombinePath("D:\\Links\\sub", "..\\Music"), "D:\\Links\\Music");
  EXPECT_EQ(qm::CombinePath("D:\\Links", "E:\\Music"), "E:\\Music");

  const std::string directory = "D:\\" + std::string(200, 'd');
  const std::string fits(259 - directory.size() - 1, 'n');
  EXPECT_EQ(qm::CombinePath(directory, fits), directory + "\\" + fits);
  EXPECT_EQ(StatusOf([&] { qm::CombinePath(directory, fits + "n"); }), kTooLong);
}

TEST_F(PlainPlatform, DirectoryTestsOverAList) {
  MakeDirectory(At("a"));
  MakeDirectory(At("b"));
  MakeFile(At("c.txt"));
  qm::PathList empty, directories, mixed, files;
  directories.Add(At("a"));
  directories.Add(At("b"));
  mixed.Add(At("c.txt"));
  mixed.Add(At("a"));
  files.Add(At("c.txt"));
  files.Add(At("missing"));

  EXPECT_FALSE(qm::AnyPathIsDirectory(empty));
  EXPECT_TRUE(qm::AllPathsAreDirectories(empty));
  EXPECT_TRUE(qm::AnyPathIsDirectory(directories));
  EXPECT_TRUE(qm::AllPathsAreDirectories(directories));
  EXPECT_TRUE(qm::AnyPathIsDirectory(mixed));
  EXPECT_FALSE(qm::AllPathsAreDirectories(mixed));
  EXPECT_FALSE(qm::AnyPathIsDirectory(files));
  EXPECT_FALSE(qm::AllPathsAreDirectories(files));

  // Both stop at the first path that decides.
  imports.ResetCounts();
  qm::AllPathsAreDirectories(files);
  EXPECT_EQ(imports.Calls("PathIsDirectoryA"), 1u);
  qm::AnyPathIsDirectory(directories);
  EXPECT_EQ(imports.Calls("PathIsDirectoryA"), 2u);
}

}  // namespace
}  // namespace links_test
