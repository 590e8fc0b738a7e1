#include "extension_fixture.h"

#include <shellapi.h>

namespace extension_test {

namespace {

const CLSID kClsidDirectoryShellExtension = {
    0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};

void WINAPI RecordChangeNotify(LONG event, UINT flags, LPCVOID item, LPCVOID) {
  char path[MAX_PATH] = "<no path>";
  if ((flags & SHCNF_TYPE) == SHCNF_IDLIST && item) SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(item), path);
  if ((flags & SHCNF_TYPE) == SHCNF_PATHA && item) lstrcpynA(path, static_cast<LPCSTR>(item), MAX_PATH);
  observed().notified.push_back(std::to_string(event) + " " + path);
}

int WINAPI RecordMessageBox(HWND, LPCSTR text, LPCSTR, UINT) {
  observed().boxes.push_back(text ? text : "");
  return IDOK;
}

}  // namespace

Observed& observed() {
  static Observed instance;
  return instance;
}

DWORD LinkCount(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  return info.nNumberOfLinks;
}

DWORD WINAPI NetworkDriveE(LPCSTR root) { return root && (root[0] == 'E' || root[0] == 'e') ? DRIVE_REMOTE : DRIVE_FIXED; }

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

DirectoryExtension::DirectoryExtension() {
  imports.Replace("SHChangeNotify", &RecordChangeNotify);
  imports.Replace("MessageBoxA", &RecordMessageBox);
  observed() = Observed();
}

qm::ComPtr<IContextMenu> DirectoryExtension::Create() {
  qm::ComPtr<IContextMenu> menu;
  if (auto factory = dll.ClassObject(kClsidDirectoryShellExtension))
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, menu.put_void()), S_OK);
  return menu;
}

HRESULT DirectoryExtension::Initialize(IContextMenu* menu, const std::string& folder,
                                       const std::vector<std::string>& items) {
  std::vector<std::wstring> names;
  for (const auto& item : items) names.push_back(Wide(item));
  return Initialize(menu, Wide(folder), names);
}

HRESULT DirectoryExtension::Initialize(IContextMenu* menu, const std::wstring& folder,
                                       const std::vector<std::wstring>& names) {
  qm::ComPtr<IShellExtInit> init;
  if (FAILED(menu->QueryInterface(IID_IShellExtInit, init.put_void()))) return E_NOINTERFACE;
  PIDLIST_ABSOLUTE folder_list = folder.empty() ? nullptr : ILCreateFromPathW(folder.c_str());
  fakes::DropDataObject data(names);
  const HRESULT result = init->Initialize(folder_list, &data, nullptr);
  EXPECT_EQ(data.references(), 1) << "the data object is not held beyond Initialize";
  if (folder_list) ILFree(folder_list);
  return result;
}

qm::ComPtr<IContextMenu> DirectoryExtension::Dropped(const std::string& folder,
                                                     const std::vector<std::string>& items) {
  auto menu = Create();
  if (menu) EXPECT_EQ(Initialize(menu.get(), folder, items), S_OK);
  return menu;
}

qm::ComPtr<IContextMenu> DirectoryExtension::ContextMenuOn(const std::vector<std::string>& items) {
  return Dropped("", items);
}

std::vector<std::string> DirectoryExtension::MenuOf(IContextMenu* menu, UINT index_menu, UINT id_first,
                                                    std::vector<UINT> host_items, HRESULT* result,
                                                    UINT id_count) {
  HMENU popup = CreatePopupMenu();
  for (UINT id : host_items) AppendMenuA(popup, MF_STRING, id, ("host " + std::to_string(id)).c_str());
  const HRESULT status = menu->QueryContextMenu(popup, index_menu, id_first, id_first + id_count - 1, CMF_NORMAL);
  if (result) {
    *result = status;
  } else {
    EXPECT_EQ(status, 4);
  }
  std::vector<std::string> entries;
  for (int position = 0; position < GetMenuItemCount(popup); ++position) {
    char text[128] = {};
    GetMenuStringA(popup, position, text, sizeof text, MF_BYPOSITION);
    entries.push_back(std::to_string(GetMenuItemID(popup, position)) + ":" + text);
  }
  DestroyMenu(popup);
  return entries;
}

HRESULT DirectoryExtension::Invoke(IContextMenu* menu, UINT offset, HWND window, DWORD mask) {
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  info.hwnd = window;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&info);
}

}  // namespace extension_test
