// The column descriptions Explorer enumerates.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "folder_fixture.h"

namespace folder_test {
namespace {

// What a description tells the shell, past the property key.
std::wstring Described(const SHCOLUMNINFO& info) {
  return std::wstring(info.wszTitle, wcsnlen(info.wszTitle, MAX_COLUMN_NAME_LEN)) + L" | " +
         std::wstring(info.wszDescription, wcsnlen(info.wszDescription, MAX_COLUMN_DESC_LEN)) + L" | " +
         std::to_wstring(info.vt) + L" " + std::to_wstring(info.fmt) + L" " + std::to_wstring(info.cChars) + L" " +
         std::to_wstring(info.csFlags);
}

TEST_F(FolderExtension, DescribesFourColumnsThenEnds) {
  auto columns = Create();
  std::vector<std::wstring> described;
  SHCOLUMNINFO info;
  for (DWORD index = 0; columns->GetColumnInfo(index, &info) == S_OK; ++index) {
    EXPECT_EQ(info.scid.fmtid, kFolderClass);
    EXPECT_EQ(info.scid.pid, index);
    described.push_back(Described(info));
  }
  // vt: VT_BSTR 8, VT_I4 3; fmt: left 0, right 1; the infotip lines are hidden (0x101 = 257).
  EXPECT_EQ(described, (std::vector<std::wstring>{
                           L"Soft Link Target | Displays target of a soft link | 8 0 40 1",
                           L"Soft Link Target | Displays target of a soft link | 8 0 50 257",
                           L"Hard Links | Displays number of hard links | 3 1 5 2",
                           L"Hard Links | Displays number of hard links | 8 0 15 257",
                       }));

  // Past the last column: a zeroed description of that index.
  SHCOLUMNINFO expected{};
  expected.scid = {kFolderClass, 4};
  expected.vt = VT_BSTR;
  expected.cChars = 20;
  std::memset(&info, 0xCC, sizeof info);
  EXPECT_EQ(columns->GetColumnInfo(4, &info), S_FALSE);
  EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0);
  EXPECT_EQ(columns->GetColumnInfo(0, nullptr), E_INVALIDARG);
}

// Column strings as a language module might hold them; null: none.
const wchar_t* g_string = nullptr;
int WINAPI LoadColumnString(HINSTANCE, UINT, LPWSTR buffer, int) {
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  if (g_string) *reinterpret_cast<const wchar_t**>(buffer) = g_string;
  return g_string ? static_cast<int>(wcslen(g_string)) : 0;
}

TEST_F(FolderExtension, CutsTextsTooLongForTheirFieldsAndLeavesThemTerminated) {
  const std::wstring title(80, L'T'), description(128, L'D');
  const std::wstring longer = title + L"\n" + description + L"\n";
  const std::wstring cut = title.substr(1) + L" | " + description.substr(1) + L" | 8 0 50 257";
  auto columns = Create();
  imports.Replace("LoadStringW", &LoadColumnString);
  for (const auto& [string, shown] : {std::pair<const wchar_t*, std::wstring>{longer.c_str(), cut},
                                      {L"Title only", L"Title only |  | 8 0 50 257"},
                                      {nullptr, L" |  | 8 0 50 257"}}) {
    g_string = string;
    SHCOLUMNINFO info;
    std::memset(&info, 0xCC, sizeof info);
    EXPECT_EQ(columns->GetColumnInfo(1, &info), S_OK);
    EXPECT_EQ(Described(info), shown);
  }
}

}  // namespace
}  // namespace folder_test
