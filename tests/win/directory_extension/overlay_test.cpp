// The soft link overlay as Explorer asks for it: the image once, then
// membership per item shown.
#include <gtest/gtest.h>

#include <string>

#include "extension_fixture.h"
#include "win/shell_interface_ids.h"

namespace extension_test {
namespace {

class Overlay : public DirectoryExtension {
 protected:
  Overlay() { EXPECT_EQ(Create().As(overlay), S_OK); }
  qm::ComPtr<IShellIconOverlayIdentifier> overlay;
};

TEST_F(Overlay, MarksEveryReparsePointFromItsAttributesAlone) {
  struct Row {
    const wchar_t* path;
    DWORD attributes;
    HRESULT expected;
  };
  const Row rows[] = {
      {L"D:\\Links\\Music", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, S_OK},
      {L"D:\\Links\\notes.txt", FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE, S_OK},
      {L"", FILE_ATTRIBUTE_REPARSE_POINT, S_OK},
      {L"D:\\Music", FILE_ATTRIBUTE_DIRECTORY, S_FALSE},
      {L"D:\\Links\\Music", 0, S_FALSE},  // the item on disk is not consulted
      {nullptr, FILE_ATTRIBUTE_REPARSE_POINT, E_INVALIDARG},
  };
  imports.StartRecording();
  for (const Row& row : rows)
    EXPECT_EQ(overlay->IsMemberOf(row.path, row.attributes), row.expected) << (row.path ? row.path : L"(null)");
  EXPECT_EQ(imports.StopRecording(), std::vector<std::string>{}) << "no imported call at all";
}

TEST_F(Overlay, GivesShell32sIcon29AtTheHighestPriority) {
  char system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
  const std::wstring expected = Wide(std::string(system) + "\\shell32.dll");

  wchar_t file[MAX_PATH];
  int index = -1;
  DWORD flags = 0;
  ASSERT_EQ(overlay->GetOverlayInfo(file, MAX_PATH, &index, &flags), S_OK);
  EXPECT_EQ(file, expected);
  EXPECT_EQ(index, 29);
  EXPECT_EQ(flags, DWORD{ISIOI_ICONFILE | ISIOI_ICONINDEX});

  // A buffer too small gets what fits, terminated inside it.
  wchar_t small[8];
  wmemset(small, L'#', 8);
  ASSERT_EQ(overlay->GetOverlayInfo(small, 6, &index, &flags), S_OK);
  EXPECT_EQ(std::wstring(small), expected.substr(0, 5));
  EXPECT_EQ(small[6], L'#');

  // A missing output pointer writes nothing, not even the path.
  wmemset(small, L'#', 8);
  EXPECT_EQ(overlay->GetOverlayInfo(small, 8, &index, nullptr), E_POINTER);
  EXPECT_EQ(overlay->GetOverlayInfo(small, 8, nullptr, &flags), E_POINTER);
  EXPECT_EQ(overlay->GetOverlayInfo(nullptr, 8, &index, &flags), E_POINTER);
  EXPECT_EQ(small[0], L'#');

  int priority = -1;
  EXPECT_EQ(overlay->GetPriority(&priority), S_OK);
  EXPECT_EQ(priority, 0);
  EXPECT_EQ(overlay->GetPriority(nullptr), E_INVALIDARG);
}

TEST_F(Overlay, ReportsASystemDirectoryThatCannotBeRead) {
  imports.FailCall("GetSystemDirectoryA", 1, ERROR_IO_DEVICE);
  wchar_t file[MAX_PATH] = L"untouched";
  int index = -1;
  DWORD flags = 0;
  EXPECT_EQ(overlay->GetOverlayInfo(file, MAX_PATH, &index, &flags), HRESULT_FROM_WIN32(ERROR_IO_DEVICE));
  EXPECT_STREQ(file, L"untouched");
}

}  // namespace
}  // namespace extension_test
