#include "folder_fixture.h"

#include <cstdio>

namespace folder_test {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

SHCOLUMNDATA ItemOf(const std::wstring& file, DWORD flags) {
  SHCOLUMNDATA item{};
  item.dwFlags = flags;
  wcsncpy(item.wszFile, file.c_str(), MAX_PATH - 1);
  return item;
}

std::wstring Shown(IColumnProvider* columns, const SHCOLUMNID& id, const SHCOLUMNDATA& item, HRESULT* status) {
  VARIANT value;
  VariantInit(&value);
  const HRESULT result = columns->GetItemData(&id, &item, &value);
  if (status) *status = result;
  wchar_t text[32];
  if (FAILED(result)) {
    EXPECT_EQ(value.vt, VT_EMPTY) << "a failure hands out nothing";
    swprintf(text, 32, L"0x%08lX", static_cast<unsigned long>(result));
    return text;
  }
  EXPECT_EQ(result, S_OK);
  std::wstring shown;
  if (value.vt == VT_EMPTY) {
    shown = L"EMPTY";
  } else if (value.vt == VT_UI4) {
    shown = L"UI4 " + std::to_wstring(value.ulVal);
  } else if (value.vt == VT_BSTR) {
    shown = L"BSTR " + std::wstring(value.bstrVal, SysStringLen(value.bstrVal));
  } else {
    shown = L"VT " + std::to_wstring(value.vt);
  }
  VariantClear(&value);
  return shown;
}

FolderExtension::FolderExtension() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  scratch = std::string("D:\\") + test->test_suite_name() + "." + test->name();
  harness::RemoveTree(scratch);
  harness::MakeDirectory(scratch);
  harness::ledger::Forget();
  imports.ResetCounts();
}

void FolderExtension::TearDown() {
  for (const auto& open : harness::ledger::Open()) ADD_FAILURE() << "still open: " << open;
  for (const auto& stray : harness::ledger::StrayReleases()) ADD_FAILURE() << "stray release: " << stray;
}

FolderExtension::~FolderExtension() { harness::RemoveTree(scratch); }

qm::ComPtr<IColumnProvider> FolderExtension::Create() {
  qm::ComPtr<IColumnProvider> columns;
  if (auto factory = dll.ClassObject(kFolderClass))
    EXPECT_EQ(factory->CreateInstance(nullptr, __uuidof(IColumnProvider), columns.put_void()), S_OK);
  return columns;
}

std::wstring FolderExtension::Shown(IColumnProvider* columns, DWORD pid, const std::string& file, HRESULT* status) {
  return folder_test::Shown(columns, SHCOLUMNID{kFolderClass, pid}, ItemOf(Wide(file)), status);
}

void FolderExtension::MakeFileWithNames(const std::string& path, int names) {
  harness::MakeFile(path);
  for (int name = 2; name <= names; ++name) {
    const std::string other = path + "." + std::to_string(name);
    EXPECT_TRUE(CreateHardLinkA(other.c_str(), path.c_str(), nullptr)) << other;
  }
}

void FolderExtension::MakeSoftLink(const std::string& path, std::u16string_view target) {
  harness::MakeDirectory(path);
  model.Plant(path, harness::NtfsModel::MountPointData(target, u""));
}

}  // namespace folder_test
