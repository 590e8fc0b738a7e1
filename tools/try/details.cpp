#include "details.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>
#include <vector>

#include "resources/class_ids.h"
#include "shell.h"
#include "transcript.h"
#include "win/shell_interface_ids.h"
#include "win/unique_resource.h"

namespace tour {
namespace {

std::wstring Padded(std::wstring text, std::size_t width) {
  if (text.size() < width) text.resize(width, L' ');
  return text;
}

SHCOLUMNDATA ItemOf(const Disk& disk, const std::wstring& path) {
  SHCOLUMNDATA item{};
  item.dwFileAttributes = disk.Attributes(path);
  wcsncpy(item.wszFile, path.c_str(), MAX_PATH - 1);
  item.pwszExt = PathFindExtensionW(item.wszFile);
  return item;
}

// A property's value as the view shows it; empty for VT_EMPTY.
std::wstring Value(IColumnProvider* columns, DWORD pid, const SHCOLUMNDATA& item) {
  const SHCOLUMNID id{qm::kClsidFolderShellExtension, pid};
  VARIANT value;
  VariantInit(&value);
  const HRESULT status = columns->GetItemData(&id, &item, &value);
  std::wstring shown;
  if (FAILED(status)) {
    shown = Wide(StatusText(status));
  } else if (value.vt == VT_BSTR) {
    shown = value.bstrVal ? value.bstrVal : L"";
  } else if (value.vt == VT_UI4) {
    shown = std::to_wstring(value.ulVal);
  }
  VariantClear(&value);
  return shown;
}

std::wstring InfoTipList(const wchar_t* class_key) {
  wchar_t list[1024] = {};
  DWORD size = sizeof list;
  if (RegGetValueW(HKEY_CLASSES_ROOT, class_key, L"InfoTip", RRF_RT_REG_SZ, nullptr, list, &size) != ERROR_SUCCESS)
    return L"";
  return list;
}

// The PIDs of the folder extension's properties that `list` names.
std::vector<DWORD> OurProperties(const std::wstring& list) {
  wchar_t fmtid[40] = {};
  StringFromGUID2(qm::kClsidFolderShellExtension, fmtid, 40);
  std::vector<DWORD> pids;
  for (std::size_t at = list.find(fmtid); at != std::wstring::npos; at = list.find(fmtid, at + 1))
    pids.push_back(std::wcstoul(list.c_str() + at + wcslen(fmtid), nullptr, 10));
  return pids;
}

}  // namespace

void ShowDetailsView(const Disk& disk, const std::wstring& folder) {
  auto columns = CreateRegistered<IColumnProvider>(qm::kClsidFolderShellExtension);
  if (!columns) return;
  SHCOLUMNINIT init{};
  wcsncpy(init.wszFolder, folder.c_str(), MAX_PATH - 1);
  columns->Initialize(&init);
  Say("the columns the extension offers:");
  std::vector<std::pair<DWORD, std::wstring>> visible;
  SHCOLUMNINFO info;
  for (DWORD index = 0; index < 16 && columns->GetColumnInfo(index, &info) == S_OK; ++index) {
    const bool hidden = info.csFlags & SHCOLSTATE_HIDDEN;
    Say(L"  " + std::to_wstring(info.scid.pid) + L" \"" + info.wszTitle + L"\" (" + info.wszDescription + L")" +
        (hidden ? L", hidden: for infotips" : L""));
    if (!hidden) visible.emplace_back(info.scid.pid, info.wszTitle);
  }
  Say(L"the details view of " + folder + L" with them:");
  std::wstring header = Padded(L"Name", 16);
  for (const auto& [pid, title] : visible) header += Padded(title, 20);
  Say(L"  " + header);
  for (const auto& name : Disk::Names(folder)) {
    const SHCOLUMNDATA item = ItemOf(disk, folder + L"\\" + name);
    std::wstring row = Padded(name, 16);
    for (const auto& [pid, title] : visible) row += Padded(Value(columns.get(), pid, item), 20);
    Say(L"  " + row);
  }
}

void ShowInfotips(const Disk& disk, const std::wstring& folder) {
  auto columns = CreateRegistered<IColumnProvider>(qm::kClsidFolderShellExtension);
  if (!columns) return;
  const std::wstring directories = InfoTipList(L"Directory"), files = InfoTipList(L"*");
  Say(L"HKCR\\Directory  InfoTip = " + (directories.empty() ? L"(none)" : directories));
  Say(L"HKCR\\*          InfoTip = " + (files.empty() ? L"(none)" : files));
  for (const auto& name : Disk::Names(folder)) {
    const std::wstring path = folder + L"\\" + name;
    const SHCOLUMNDATA item = ItemOf(disk, path);
    std::wstring tip;
    for (DWORD pid : OurProperties(item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? directories : files)) {
      const std::wstring line = Value(columns.get(), pid, item);
      if (!line.empty()) tip += (tip.empty() ? L"" : L" / ") + line;
    }
    Say(L"  hovering over " + name + L": " + (tip.empty() ? L"(no line from the extension)" : L"\"" + tip + L"\""));
  }
}

void ShowOverlays(const Disk& disk, const std::wstring& folder) {
  auto overlay = CreateRegistered<IShellIconOverlayIdentifier>(qm::kClsidDirectoryShellExtension);
  if (!overlay) return;
  wchar_t icon_file[MAX_PATH] = {};
  int index = 0, priority = -1;
  DWORD flags = 0;
  overlay->GetOverlayInfo(icon_file, MAX_PATH, &index, &flags);
  overlay->GetPriority(&priority);
  Say(L"the overlay image: icon " + std::to_wstring(index) + L" of " + icon_file + L" (flags " +
      std::to_wstring(flags) + L"), priority " + std::to_wstring(priority) + L" (0 is the highest)");
  for (const auto& name : Disk::Names(folder)) {
    const std::wstring path = folder + L"\\" + name;
    const DWORD attributes = disk.Attributes(path);
    wchar_t shown[16];
    swprintf(shown, 16, L"0x%lx", attributes);
    const HRESULT member = overlay->IsMemberOf(path.c_str(), attributes);
    Say(L"  " + Padded(name, 16) + L"attributes " + Padded(shown, 8) +
        (member == S_OK ? L"S_OK: drawn with the overlay" : L"S_FALSE: no overlay"));
  }
}

}  // namespace tour
