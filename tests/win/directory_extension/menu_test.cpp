// Which entry the link menu offers, as Explorer builds it.
#include <gtest/gtest.h>

#include "extension_fixture.h"

namespace extension_test {
namespace {

using Entries = std::vector<std::string>;

TEST_F(DirectoryExtension, DraggedDirectoriesOfferSoftLinksAtIndexMenu) {
  MakeDirectory(At("Links"));
  MakeDirectory(At("Music"));
  MakeDirectory(At("Photos"));
  auto one = Dropped(At("Links"), {At("Music")});
  EXPECT_EQ(MenuOf(one.get(), 1, 200, {7, 8}), (Entries{"7:host 7", "200:Create S&oft Link Here", "8:host 8"}));
  auto two = Dropped(At("Links"), {At("Music"), At("Photos")});
  EXPECT_EQ(MenuOf(two.get()), (Entries{"100:Create S&oft Links Here"}));

  // Directories of another drive may be linked; the drop folder decides the volume.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  auto other_drive = Dropped(At("Links"), {std::string(temp)});
  EXPECT_EQ(MenuOf(other_drive.get()), (Entries{"100:Create S&oft Link Here"}));
}

TEST_F(DirectoryExtension, DraggedFilesOfferHardLinksOnlyOnTheirOwnDrive) {
  MakeDirectory(At("Links"));
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeFile(At(name));
  auto three = Dropped(At("Links"), {At("a.txt"), At("b.txt"), At("c.txt")});
  EXPECT_EQ(MenuOf(three.get(), 0, 50), (Entries{"52:Create &Hard Links Here"}));
  auto one = Dropped(At("Links"), {At("a.txt")});
  EXPECT_EQ(MenuOf(one.get(), 0, 50), (Entries{"52:Create &Hard Link"}));
  // A host range too small for the entry's identifier gets no entry, and four are still reserved.
  EXPECT_EQ(MenuOf(one.get(), 0, 50, {}, nullptr, 2), Entries{});
  EXPECT_EQ(MenuOf(one.get(), 0, 50, {}, nullptr, 3), (Entries{"52:Create &Hard Link"}));

  char temp[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  GetTempFileNameA(temp, "qm", 0, file);
  auto across = Dropped(At("Links"), {file});
  EXPECT_EQ(MenuOf(across.get()), Entries{});
  DeleteFileA(file);

  MakeDirectory(At("Music"));
  auto mixed = Dropped(At("Links"), {At("a.txt"), At("Music")});
  EXPECT_EQ(MenuOf(mixed.get()), Entries{});
}

TEST_F(DirectoryExtension, NoEntryOnAVolumeThatCannotHoldLinks) {
  MakeDirectory(At("Links"));
  MakeDirectory(At("Music"));
  model.DescribeDrive('D', "FAT32");
  auto fat = Dropped(At("Links"), {At("Music")});
  EXPECT_EQ(MenuOf(fat.get()), Entries{});

  // A volume that cannot be read fails the call before anything is inserted.
  model.RemoveMedium('D');
  HRESULT result = S_OK;
  EXPECT_EQ(MenuOf(fat.get(), 0, 100, {1}, &result), Entries{"1:host 1"});
  EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_NOT_READY));
}

TEST_F(DirectoryExtension, AsksTheVolumeOnceAndEachItemAtMostOnce) {
  MakeDirectory(At("Links"));
  std::vector<std::string> items;
  for (const char* name : {"a", "b", "c", "d"}) {
    MakeDirectory(At(name));
    items.push_back(At(name));
  }
  auto directories = Dropped(At("Links"), items);
  imports.ResetCounts();
  MenuOf(directories.get());
  EXPECT_EQ(imports.Calls("GetVolumeInformationA"), 1u);
  EXPECT_EQ(imports.Calls("PathIsDirectoryA"), 1u + items.size());

  for (const char* name : {"x.txt", "y.txt"}) MakeFile(At(name));
  auto files = Dropped(At("Links"), {At("x.txt"), At("y.txt")});
  imports.ResetCounts();
  MenuOf(files.get());
  EXPECT_EQ(imports.Calls("GetVolumeInformationA"), 1u);
  EXPECT_EQ(imports.Calls("PathIsDirectoryA"), 1u + 2u);
}

TEST_F(DirectoryExtension, PasteEntriesFollowTheHostsPasteItemOrStandAtIndexMenu) {
  MakeDirectory(At("Target"));
  MakeDirectory(At("Music"));
  for (const char* name : {"a.txt", "b.txt"}) MakeFile(At(name));
  auto target = ContextMenuOn({At("Target")});

  harness::PutFilesOnClipboard({Wide(At("a.txt")), Wide(At("b.txt"))});
  EXPECT_EQ(MenuOf(target.get(), 0, 100, {31001, 31003, 31005}),
            (Entries{"31001:host 31001", "31003:host 31003", "103:Paste as Hard Links", "31005:host 31005"}));
  EXPECT_EQ(MenuOf(target.get(), 1, 100, {1, 2}), (Entries{"1:host 1", "103:Paste as Hard Links", "2:host 2"}));

  harness::PutFilesOnClipboard({Wide(At("Music"))});
  EXPECT_EQ(MenuOf(target.get(), 0, 100, {31003}), (Entries{"31003:host 31003", "101:Paste as Soft Link"}));

  harness::PutTextOnClipboard("not files");
  EXPECT_EQ(MenuOf(target.get()), Entries{});
  harness::PutFilesOnClipboard({});
  EXPECT_EQ(MenuOf(target.get()), Entries{});
  harness::PutDropBlockOnClipboard(std::string(20, '\x7F'));  // names far past the block's end
  EXPECT_EQ(MenuOf(target.get()), Entries{});

  harness::PutFilesOnClipboard({Wide(At("a.txt"))});
  auto two = ContextMenuOn({At("Target"), At("Music")});
  EXPECT_EQ(MenuOf(two.get()), Entries{});
}

}  // namespace
}  // namespace extension_test
