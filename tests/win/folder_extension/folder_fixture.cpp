#include "folder_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace folder_test {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

SHCOLUMNDATA ItemOf(const std::wstring& file, DWORD flags) {
  SHCOLUMNDATA item{};
  item.dwFlags = flags;
  wcsncpy(item.wszFile, file.c_str(), MAX_PATH - 1);
  return item;
}

std::wstring Shown(IColumnProvider* columns, const SHCOLUMNID& id, const SHCOLUMNDATA& item) {
  VARIANT value;
  VariantInit(&value);
  const HRESULT status = columns->GetItemData(&id, &item, &value);
  wchar_t text[16];
  swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(status));
  std::wstring shown = text;
  if (status == S_OK && value.vt == VT_EMPTY) shown = L"EMPTY";
  else if (status == S_OK && value.vt == VT_UI4) shown = L"UI4 " + std::to_wstring(value.ulVal);
  else if (status == S_OK && value.vt == VT_BSTR)
    shown = L"BSTR " + std::wstring(value.bstrVal, SysStringLen(value.bstrVal));
  else if (status == S_OK || value.vt != VT_EMPTY) shown += L" VT " + std::to_wstring(value.vt);
  VariantClear(&value);
  return shown;
}

qm::ComPtr<IColumnProvider> FolderExtension::Create() {
  qm::ComPtr<IColumnProvider> columns;
  if (auto factory = dll.ClassObject(kFolderClass))
    EXPECT_EQ(factory->CreateInstance(nullptr, __uuidof(IColumnProvider), columns.put_void()), S_OK);
  return columns;
}

void FolderExtension::MakeFileWithNames(const std::string& path, int names) {
  harness::MakeFile(path);
  for (int name = 2; name <= names; ++name)
    EXPECT_TRUE(CreateHardLinkA((path + "." + std::to_string(name)).c_str(), path.c_str(), nullptr));
}

void FolderExtension::MakeSoftLink(const std::string& path, std::u16string_view target) {
  harness::MakeDirectory(path);
  model.Plant(path, harness::NtfsModel::MountPointData(target, u""));
}

}  // namespace folder_test
