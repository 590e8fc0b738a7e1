// The soft link overlay as Explorer asks for it: the image once, then
// membership per item shown.
#include <gtest/gtest.h>

#include <string>

#include "extension_fixture.h"
#include "win/shell_interface_ids.h"

namespace extension_test {
namespace {

TEST_F(DirectoryExtension, OverlaysEveryReparsePointFromItsAttributesAlone) {
  qm::ComPtr<IShellIconOverlayIdentifier> overlay;
  ASSERT_EQ(Create().As(overlay), S_OK);
  const struct {
    const wchar_t* path;
    DWORD attributes;
    HRESULT expected;
  } rows[] = {
      {L"D:\\Links\\Music", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, S_OK},
      {L"", FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE, S_OK},
      {L"D:\\Music", FILE_ATTRIBUTE_DIRECTORY, S_FALSE},
      {nullptr, FILE_ATTRIBUTE_REPARSE_POINT, E_INVALIDARG},
  };
  imports.StartRecording();
  for (const auto& row : rows) EXPECT_EQ(overlay->IsMemberOf(row.path, row.attributes), row.expected);
  EXPECT_EQ(imports.StopRecording(), std::vector<std::string>{}) << "no imported call at all";

  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  const std::wstring icon = Wide(std::string(system) + "\\shell32.dll");
  wchar_t file[MAX_PATH];
  int index = -1, priority = -1;
  DWORD flags = 0;
  ASSERT_EQ(overlay->GetOverlayInfo(file, MAX_PATH, &index, &flags), S_OK);
  EXPECT_EQ(file + std::to_wstring(index) + L" " + std::to_wstring(flags), icon + L"29 3");
  EXPECT_EQ(overlay->GetOverlayInfo(file, 6, &index, &flags), S_OK);  // cut, and terminated inside
  EXPECT_EQ(file, icon.substr(0, 5));
  file[0] = L'#';
  EXPECT_EQ(overlay->GetOverlayInfo(file, MAX_PATH, &index, nullptr), E_POINTER);
  EXPECT_EQ(overlay->GetOverlayInfo(file, MAX_PATH, nullptr, &flags), E_POINTER);
  EXPECT_EQ(overlay->GetOverlayInfo(nullptr, MAX_PATH, &index, &flags), E_POINTER);
  EXPECT_EQ(file[0], L'#') << "nothing written";
  EXPECT_EQ(overlay->GetPriority(&priority), S_OK);
  EXPECT_EQ(priority, 0);
  EXPECT_EQ(overlay->GetPriority(nullptr), E_INVALIDARG);
}

}  // namespace
}  // namespace extension_test
