// Column values and infotip lines of real items, asked for as Explorer asks:
// the columns enumerated until S_FALSE, then each item's properties.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "folder_fixture.h"
#include "harness/fault_sweep.h"
#include "harness/heap_account.h"

namespace folder_test {
namespace {

using Values = std::array<std::wstring, 4>;  // PIDs 0 to 3

TEST_F(FolderExtension, ShowsSoftLinkTargetsAndHardLinkCounts) {
  MakeSoftLink(At("Music"), u"\\??\\D:\\Data");  // D:\Data does not exist: only the link is read
  MakeSoftLink(At("Root"), u"\\??\\C:");
  MakeSoftLink(At("Foreign"), u"\\??\\E:\\Dāta\\");  // outside the code page
  harness::MakeDirectory(At("Symbolic"));
  model.Plant(At("Symbolic"), harness::NtfsModel::SymbolicLinkData(u"\\??\\D:\\Data", u"D:\\Data"));
  MakeFileWithNames(At("three.txt"), 3);
  harness::MakeFile(At("one.txt"));
  harness::MakeDirectory(At("Plain"));

  struct Row {
    std::string item;
    Values shown;
  };
  const std::wstring empty = L"EMPTY";
  const Row rows[] = {
      {At("Music"), {L"BSTR D:\\Data", L"BSTR Soft Link Target: D:\\Data", empty, empty}},
      {At("Root"), {L"BSTR C:", L"BSTR Soft Link Target: C:", empty, empty}},
      {At("Foreign"), {L"BSTR E:\\Dāta\\", L"BSTR Soft Link Target: E:\\Dāta\\", empty, empty}},
      {At("Symbolic"), {empty, empty, empty, empty}},
      {At("three.txt"), {empty, empty, L"UI4 3", L"BSTR Hard Link Count: 3"}},
      {At("three.txt.3"), {empty, empty, L"UI4 3", L"BSTR Hard Link Count: 3"}},
      {At("one.txt"), {empty, empty, empty, empty}},
      {At("Plain"), {empty, empty, empty, empty}},
      {At("missing"), {empty, empty, empty, empty}},
      {"", {empty, empty, empty, empty}},
  };

  auto columns = Create();
  std::vector<DWORD> pids;
  SHCOLUMNINFO info;
  for (DWORD index = 0; columns->GetColumnInfo(index, &info) == S_OK; ++index) pids.push_back(info.scid.pid);
  ASSERT_EQ(pids, (std::vector<DWORD>{0, 1, 2, 3}));
  for (const Row& row : rows)
    for (DWORD pid : pids) EXPECT_EQ(Shown(columns.get(), pid, row.item), row.shown[pid]) << row.item << " PID " << pid;
}

TEST_F(FolderExtension, RefusesForeignPropertiesAndMissingPointers) {
  auto columns = Create();
  const SHCOLUMNDATA item = ItemOf(L"D:\\");
  const GUID foreign = {0xB725F130, 0x47EF, 0x101A, {0xA5, 0xF1, 0x02, 0x60, 0x8C, 0x9E, 0xEB, 0xAC}};
  EXPECT_EQ(folder_test::Shown(columns.get(), {foreign, 0}, item), L"0xA20108F4");
  EXPECT_EQ(folder_test::Shown(columns.get(), {kFolderClass, 4}, item), L"0xA2010914");
  EXPECT_EQ(folder_test::Shown(columns.get(), {kFolderClass, 0xFFFFFFFF}, item), L"0xA2010914");

  const SHCOLUMNID id{kFolderClass, 0};
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(columns->GetItemData(nullptr, &item, &value), E_INVALIDARG);
  EXPECT_EQ(columns->GetItemData(&id, nullptr, &value), E_INVALIDARG);
  EXPECT_EQ(columns->GetItemData(&id, &item, nullptr), E_POINTER);
  EXPECT_EQ(columns->Initialize(nullptr), E_INVALIDARG);
  EXPECT_EQ(columns->GetColumnInfo(0, nullptr), E_INVALIDARG);
}

TEST_F(FolderExtension, ReadsTheFileSystemAfreshIntoOneEntryPerPath) {
  MakeSoftLink(At("Music"), u"\\??\\D:\\Data");
  MakeFileWithNames(At("three.txt"), 3);
  auto columns = Create();
  harness::HeapAccount heap(imports);
  EXPECT_EQ(Shown(columns.get(), 0, At("Music")), L"BSTR D:\\Data");
  EXPECT_EQ(Shown(columns.get(), 2, At("three.txt")), L"UI4 3");
  const auto held = heap.Held();
  EXPECT_GT(held, 0);

  // Other spellings of the same paths, and a request that asks for an update,
  // read the disk again but keep to the paths' entries.
  std::string lower = At("music"), upper = At("THREE.TXT");
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  const SHCOLUMNID target{kFolderClass, 0};
  EXPECT_EQ(folder_test::Shown(columns.get(), target, ItemOf(Wide(lower), SHCDF_UPDATEITEM)), L"BSTR D:\\Data");
  EXPECT_EQ(Shown(columns.get(), 3, upper), L"BSTR Hard Link Count: 3");
  EXPECT_EQ(heap.Held(), held);

  // What changed on disk shows at the next request.
  model.Forget(At("Music"));
  EXPECT_EQ(Shown(columns.get(), 0, lower), L"EMPTY");
  ASSERT_TRUE(DeleteFileA(At("three.txt.3").c_str()));
  EXPECT_EQ(Shown(columns.get(), 2, At("three.txt")), L"UI4 2");
  ASSERT_TRUE(DeleteFileA(At("three.txt.2").c_str()));
  EXPECT_EQ(Shown(columns.get(), 3, At("three.txt")), L"EMPTY");
  EXPECT_EQ(heap.Held(), held);

  EXPECT_EQ(Shown(columns.get(), 2, At("other.txt")), L"EMPTY");
  EXPECT_GT(heap.Held(), held) << "a new path has an entry of its own";
}

TEST_F(FolderExtension, NamesThe8BitFunctionsCannotHoldShowNothingRatherThanALookAlike) {
  // A path of 259 characters, the longest that fits, naming a file with four names.
  const std::string longest = At(std::string(MAX_PATH - 1 - scratch.size() - 1, 'n'));
  ASSERT_EQ(longest.size(), MAX_PATH - 1u);
  MakeFileWithNames(At("base"), 3);
  ASSERT_TRUE(CreateHardLinkA(longest.c_str(), At("base").c_str(), nullptr));
  MakeFileWithNames(At("a.txt"), 3);
  MakeSoftLink(At("Links"), u"\\??\\D:\\Data");
  auto columns = Create();
  EXPECT_EQ(Shown(columns.get(), 2, longest), L"UI4 4");

  // The same 259 characters and one more: the field holds no terminator.
  struct {
    SHCOLUMNDATA item;
    wchar_t rest[2];
  } longer{ItemOf(Wide(longest)), L""};
  longer.item.wszFile[MAX_PATH - 1] = L'x';
  // Characters outside the code page, beside look-alikes that exist.
  const std::wstring items[] = {Wide(At("")) + L"ā.txt", Wide(At("")) + L"Līnks"};

  imports.ResetCounts();
  for (DWORD pid = 0; pid < 4; ++pid) {
    const SHCOLUMNID id{kFolderClass, pid};
    EXPECT_EQ(folder_test::Shown(columns.get(), id, longer.item), L"EMPTY") << "PID " << pid;
    for (const std::wstring& item : items)
      EXPECT_EQ(folder_test::Shown(columns.get(), id, ItemOf(item)), L"EMPTY") << item << " PID " << pid;
  }
  EXPECT_EQ(imports.Calls("CreateFileA"), 0u) << "no file is opened for such a name";
}

TEST_F(FolderExtension, EveryFailedCallEndsInAnEmptyValueOrAStatus) {
  MakeSoftLink(At("Music"), u"\\??\\D:\\Data");
  MakeFileWithNames(At("three.txt"), 3);
  auto columns = Create();
  const struct {
    DWORD pid;
    std::string item;
    std::wstring shown;
  } rows[] = {
      {0, At("Music"), L"BSTR D:\\Data"},
      {1, At("Music"), L"BSTR Soft Link Target: D:\\Data"},
      {2, At("three.txt"), L"UI4 3"},
      {3, At("three.txt"), L"BSTR Hard Link Count: 3"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("PID " + std::to_string(row.pid));
    std::wstring shown;
    const auto faults = harness::SweepFaults(
        imports,
        [&] {
          HRESULT status = S_OK;
          shown = Shown(columns.get(), row.pid, row.item, &status);
          return status;
        },
        [&](const harness::Fault& fault, HRESULT status) {
          const bool file_system = fault.name == "CreateFileA" || fault.name == "DeviceIoControl" ||
                                   fault.name == "GetFileInformationByHandle";
          if (file_system) {
            EXPECT_EQ(shown, L"EMPTY") << "file-system trouble is no error";
          } else if (SUCCEEDED(status)) {
            EXPECT_TRUE(shown == row.shown || shown == L"EMPTY") << shown;
          } else {
            EXPECT_TRUE(status == HRESULT_FROM_WIN32(ERROR_IO_DEVICE) || status == E_OUTOFMEMORY) << shown;
          }
        });
    EXPECT_GE(faults.size(), 2u);
  }
}

}  // namespace
}  // namespace folder_test
