// Column values and infotip lines of real items, asked for as Explorer asks:
// the columns enumerated until S_FALSE, then each item's properties.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "folder_fixture.h"
#include "harness/fault_sweep.h"
#include "harness/heap_account.h"

namespace folder_test {
namespace {

const std::wstring kEmpty = L"EMPTY";

// Items the module held open in a way that keeps another program from
// deleting or renaming them: Windows refuses that while a handle does not
// share delete (Wine does not check handles opened without data access).
decltype(&CreateFileA) g_open = nullptr;
int g_deletes_refused = 0;
HANDLE WINAPI OpenWhileAnotherDeletes(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                      DWORD disposition, DWORD flags, HANDLE templ) {
  const HANDLE opened = g_open(name, access, share, security, disposition, flags, templ);
  if (opened != INVALID_HANDLE_VALUE && !(share & FILE_SHARE_DELETE)) ++g_deletes_refused;
  return opened;
}

TEST_F(FolderExtension, ShowsSoftLinkTargetsAndHardLinkCounts) {
  MakeSoftLink(At("Music"), u"\\??\\D:\\Data");  // D:\Data does not exist: only the link is read
  MakeSoftLink(At("Foreign"), u"\\??\\E:\\Dāta\\");  // outside the code page
  harness::MakeDirectory(At("Symbolic"));
  model.Plant(At("Symbolic"), harness::NtfsModel::SymbolicLinkData(u"\\??\\D:\\Data", u"D:\\Data"));
  MakeFileWithNames(At("three.txt"), 3);
  harness::MakeFile(At("one.txt"));
  const struct {
    std::string item;
    std::vector<std::wstring> shown;  // PIDs 0 to 3
  } rows[] = {
      {At("Music"), {L"BSTR D:\\Data", L"BSTR Soft Link Target: D:\\Data", kEmpty, kEmpty}},
      {At("Foreign"), {L"BSTR E:\\Dāta\\", L"BSTR Soft Link Target: E:\\Dāta\\", kEmpty, kEmpty}},
      {At("Symbolic"), {kEmpty, kEmpty, kEmpty, kEmpty}},
      {At("three.txt.3"), {kEmpty, kEmpty, L"UI4 3", L"BSTR Hard Link Count: 3"}},
      {At("one.txt"), {kEmpty, kEmpty, kEmpty, kEmpty}},
      {scratch, {kEmpty, kEmpty, kEmpty, kEmpty}},
      {At("missing"), {kEmpty, kEmpty, kEmpty, kEmpty}},
      {"", {kEmpty, kEmpty, kEmpty, kEmpty}},
  };
  auto columns = Create();
  SHCOLUMNINFO info;
  DWORD count = 0;
  while (columns->GetColumnInfo(count, &info) == S_OK) ++count;
  ASSERT_EQ(count, 4u);
  g_open = imports.Replace("CreateFileA", &OpenWhileAnotherDeletes);
  for (const auto& row : rows)
    for (DWORD pid = 0; pid < count; ++pid)
      EXPECT_EQ(Shown(columns.get(), pid, row.item), row.shown[pid]) << row.item << " PID " << pid;
  EXPECT_EQ(g_deletes_refused, 0);

  // Raised inside the DLL and answered by it, also in a 32-bit host that had
  // libgcc's DLL loaded before it (this program imports it on i686, as many
  // programs built with mingw-w64 do).
  if (sizeof(void*) == 4) ASSERT_NE(GetModuleHandleA("libgcc_s_dw2-1.dll"), nullptr);
  const SHCOLUMNDATA item = ItemOf(L"D:\\");
  EXPECT_EQ(folder_test::Shown(columns.get(), {GUID{}, 0}, item), L"0xA20108F4");
  EXPECT_EQ(folder_test::Shown(columns.get(), {kFolderClass, 4}, item), L"0xA2010914");
  VARIANT value;
  const SHCOLUMNID id{kFolderClass, 0};
  EXPECT_EQ(columns->GetItemData(nullptr, &item, &value), E_INVALIDARG);
  EXPECT_EQ(columns->GetItemData(&id, nullptr, &value), E_INVALIDARG);
  EXPECT_EQ(columns->GetItemData(&id, &item, nullptr), E_POINTER);
}

TEST_F(FolderExtension, ReadsEachRequestAfreshIntoOneEntryPerPath) {
  MakeSoftLink(At("Music"), u"\\??\\D:\\Data");
  MakeFileWithNames(At("three.txt"), 3);
  auto columns = Create();
  harness::HeapAccount heap(imports);
  EXPECT_EQ(Shown(columns.get(), 0, At("Music")), L"BSTR D:\\Data");
  EXPECT_EQ(Shown(columns.get(), 2, At("three.txt")), L"UI4 3");
  const auto held = heap.Held();

  // Other spellings, and a request for an update, keep to the same entries.
  const std::wstring lower = Wide(scratch + "\\music");
  EXPECT_EQ(folder_test::Shown(columns.get(), {kFolderClass, 1}, ItemOf(lower, SHCDF_UPDATEITEM)),
            L"BSTR Soft Link Target: D:\\Data");
  EXPECT_EQ(Shown(columns.get(), 3, At("THREE.TXT")), L"BSTR Hard Link Count: 3");
  model.Forget(At("Music"));
  EXPECT_EQ(folder_test::Shown(columns.get(), {kFolderClass, 0}, ItemOf(lower)), kEmpty);
  ASSERT_TRUE(DeleteFileA(At("three.txt.3").c_str()));
  EXPECT_EQ(Shown(columns.get(), 2, At("three.txt")), L"UI4 2");
  ASSERT_TRUE(DeleteFileA(At("three.txt.2").c_str()));
  EXPECT_EQ(Shown(columns.get(), 3, At("three.txt")), kEmpty);
  EXPECT_EQ(heap.Held(), held);
  EXPECT_EQ(Shown(columns.get(), 2, At("other.txt")), kEmpty);
  EXPECT_GT(heap.Held(), held) << "a new path has an entry of its own";
}

TEST_F(FolderExtension, NamesThe8BitFunctionsCannotOpenShowNothingRatherThanALookAlike) {
  // 259 characters, the longest path that fits, as the fourth name of a file.
  const std::string longest = At(std::string(MAX_PATH - 1 - scratch.size() - 1, 'n'));
  MakeFileWithNames(At("a.txt"), 3);
  ASSERT_TRUE(CreateHardLinkA(longest.c_str(), At("a.txt").c_str(), nullptr));
  MakeSoftLink(At("Links"), u"\\??\\D:\\Data");
  auto columns = Create();
  EXPECT_EQ(Shown(columns.get(), 2, longest), L"UI4 4");

  struct {
    SHCOLUMNDATA item;
    wchar_t rest[2];
  } longer{ItemOf(Wide(longest)), L""};
  longer.item.wszFile[MAX_PATH - 1] = L'x';  // one more: no terminator in the field
  const SHCOLUMNDATA items[] = {longer.item, ItemOf(Wide(scratch) + L"\\ā.txt"), ItemOf(Wide(scratch) + L"\\Līnks")};
  imports.ResetCounts();
  for (DWORD pid = 0; pid < 4; ++pid)
    for (const SHCOLUMNDATA& item : items)
      EXPECT_EQ(folder_test::Shown(columns.get(), {kFolderClass, pid}, item), kEmpty) << item.wszFile << pid;
  EXPECT_EQ(imports.Calls("CreateFileA"), 0u) << "no file is opened for such a name";
}

TEST_F(FolderExtension, EveryFailedCallEndsInAnEmptyValueOrAStatus) {
  MakeSoftLink(At("Music"), u"\\??\\D:\\Data");
  MakeFileWithNames(At("three.txt"), 3);
  auto columns = Create();
  const std::wstring values[] = {L"BSTR D:\\Data", L"BSTR Soft Link Target: D:\\Data", L"UI4 3",
                                 L"BSTR Hard Link Count: 3"};
  for (DWORD pid = 0; pid < 4; ++pid) {
    std::wstring shown;
    const auto operation = [&] {
      shown = Shown(columns.get(), pid, At(pid < 2 ? "Music" : "three.txt"));
      return S_OK;
    };
    harness::SweepFaults(imports, operation, [&](const harness::Fault& fault, HRESULT) {
      // File-system trouble shows nothing; other failures give their status.
      const bool read = fault.name == "CreateFileA" || fault.name == "DeviceIoControl" ||
                        fault.name == "GetFileInformationByHandle";
      const std::wstring allowed[] = {kEmpty, values[pid], L"0x8007045D", L"0x8007000E"};
      EXPECT_TRUE(read ? shown == kEmpty : std::count(allowed, allowed + 4, shown) == 1) << pid << ": " << shown;
    });
  }
}

}  // namespace
}  // namespace folder_test
