// The column descriptions Explorer enumerates.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "folder_fixture.h"

namespace folder_test {
namespace {

TEST_F(FolderExtension, DescribesFourColumnsThenEnds) {
  struct Row {
    const wchar_t* title;
    const wchar_t* description;
    VARTYPE vt;
    DWORD fmt;
    UINT chars;
    DWORD flags;
  };
  const Row rows[] = {
      {L"Soft Link Target", L"Displays target of a soft link", VT_BSTR, LVCFMT_LEFT, 40, 0x1},
      {L"Soft Link Target", L"Displays target of a soft link", VT_BSTR, LVCFMT_LEFT, 50, 0x101},
      {L"Hard Links", L"Displays number of hard links", VT_I4, LVCFMT_RIGHT, 5, 0x2},
      {L"Hard Links", L"Displays number of hard links", VT_BSTR, LVCFMT_LEFT, 15, 0x101},
  };
  auto columns = Create();
  SHCOLUMNINFO info;
  for (DWORD index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    const Row& row = rows[index];
    std::memset(&info, 0xCC, sizeof info);
    ASSERT_EQ(columns->GetColumnInfo(index, &info), S_OK);
    EXPECT_EQ(info.scid.fmtid, kFolderClass);
    EXPECT_EQ(info.scid.pid, index);
    EXPECT_EQ(info.vt, row.vt);
    EXPECT_EQ(info.fmt, row.fmt);
    EXPECT_EQ(info.cChars, row.chars);
    EXPECT_EQ(info.csFlags, row.flags);
    EXPECT_EQ(std::wstring(info.wszTitle), row.title);
    EXPECT_EQ(std::wstring(info.wszDescription), row.description);
  }

  // Past the last column: S_FALSE and a zeroed description of the index.
  SHCOLUMNINFO expected;
  std::memset(&expected, 0, sizeof expected);
  expected.scid = {kFolderClass, 4};
  expected.vt = VT_BSTR;
  expected.cChars = 20;
  std::memset(&info, 0xCC, sizeof info);
  EXPECT_EQ(columns->GetColumnInfo(4, &info), S_FALSE);
  EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0);
  EXPECT_EQ(columns->GetColumnInfo(0xFFFFFFFF, &info), S_FALSE);
}

// The column strings as a language module might hold them.
const wchar_t* g_string = nullptr;
DWORD g_error = 0;
int WINAPI FakeLoadString(HINSTANCE, UINT, LPWSTR buffer, int size) {
  if (!g_string || size != 0) {
    SetLastError(g_error);
    return 0;
  }
  *reinterpret_cast<const wchar_t**>(buffer) = g_string;
  return static_cast<int>(wcslen(g_string));
}

TEST_F(FolderExtension, FitsTitlesAndDescriptionsIntoTheirFieldsTerminated) {
  const std::wstring title79(79, L'T'), description127(127, L'D');
  const std::wstring exact = title79 + L"\n" + description127 + L"\n";
  const std::wstring longer = title79 + L"TT\n" + description127 + L"DDD\n";
  struct Row {
    const wchar_t* string;  // null: the module lacks it, with `error`
    DWORD error;
    HRESULT status;
    std::wstring title, description;
  };
  const Row rows[] = {
      {exact.c_str(), 0, S_OK, title79, description127},
      {longer.c_str(), 0, S_OK, title79, description127},
      {L"Title only", 0, S_OK, L"Title only", L""},
      {nullptr, ERROR_RESOURCE_NAME_NOT_FOUND, S_OK, L"", L""},
      {nullptr, ERROR_RESOURCE_TYPE_NOT_FOUND, S_OK, L"", L""},
      {nullptr, ERROR_NOT_ENOUGH_MEMORY, HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_MEMORY), L"", L""},
  };
  auto columns = Create();
  imports.Replace("LoadStringW", &FakeLoadString);
  for (const Row& row : rows) {
    g_string = row.string;
    g_error = row.error;
    SHCOLUMNINFO info;
    std::memset(&info, 0xCC, sizeof info);
    EXPECT_EQ(columns->GetColumnInfo(1, &info), row.status);
    if (FAILED(row.status)) continue;
    EXPECT_EQ(std::wstring(info.wszTitle, wcsnlen(info.wszTitle, MAX_COLUMN_NAME_LEN)), row.title);
    EXPECT_EQ(std::wstring(info.wszDescription, wcsnlen(info.wszDescription, MAX_COLUMN_DESC_LEN)), row.description);
  }
}

}  // namespace
}  // namespace folder_test
