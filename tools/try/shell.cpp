#include "shell.h"

#include <shlobj.h>

#include "directory_extension/shell_fakes.h"
#include "disk.h"
#include "harness/drop_list.h"
#include "harness/property_sheet.h"
#include "resources/class_ids.h"
#include "transcript.h"
#include "win/unique_resource.h"

namespace tour {
namespace {

constexpr UINT kFirstId = 1000, kLastId = 1099;
constexpr UINT kExplorerPaste = 31003;  // the id of Explorer's own "Paste"

qm::UniqueMenu ExplorerMenu(bool dropped) {
  qm::UniqueMenu menu(CreatePopupMenu());
  const auto add = [&](UINT id, const wchar_t* text) {
    AppendMenuW(menu.get(), text ? MF_STRING : MF_SEPARATOR, id, text);
  };
  if (dropped) {
    for (const wchar_t* text : {L"&Copy Here", L"&Move Here", L"Create &Shortcuts Here"}) add(1, text);
    add(0, nullptr);
    add(2, L"Cancel");
  } else {
    add(1, L"&Open");
    add(0, nullptr);
    add(2, L"Cu&t");
    add(3, L"&Copy");
    add(kExplorerPaste, L"&Paste");
    add(0, nullptr);
    add(4, L"&Delete");
    add(5, L"P&roperties");
  }
  return menu;
}

// Prints the menu; the id of the extension's first entry, or 0.
UINT ShowMenu(HMENU menu) {
  UINT ours = 0;
  std::wstring line;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    const UINT id = GetMenuItemID(menu, i);
    if (!*text) {
      Say("  ----------");
      continue;
    }
    const bool extension = id >= kFirstId && id <= kLastId;
    if (extension && !ours) ours = id;
    Say(L"  " + Shown(text) + (extension ? L"      <- Quorvane Marrowby" : L""));
  }
  return ours;
}

// What the extension asked of Explorer's view, with item names for the
// recorded identifier lists of `folder`'s items.
void ShowViewCalls(const fakes::Recording& recording, const std::wstring& folder) {
  std::vector<std::pair<std::string, std::wstring>> names;
  for (const auto& name : Disk::Names(folder))
    names.emplace_back(fakes::ChildNameOfPath(Ansi(folder + L"\\" + name)), name);
  std::wstring selected;
  bool refreshed = false;
  for (const auto& call : recording.calls) {
    if (call == "Refresh") refreshed = true;
    for (const auto& [id, name] : names)
      if (call.find(" " + id) != std::string::npos) selected += (selected.empty() ? L"" : L", ") + name;
  }
  if (refreshed || !selected.empty())
    Say(L"Explorer's window " + std::wstring(refreshed ? L"refreshes" : L"") +
        (selected.empty() ? L"" : L" and selects " + selected));
}

HRESULT PickFromMenu(const std::wstring& drop_folder, const std::vector<std::wstring>& items,
                     const std::wstring& link_folder, std::vector<Reaction> reactions) {
  fakes::DropDataObject selection(items);  // outlives the extension, which may hold it
  auto init = CreateRegistered<IShellExtInit>(qm::kClsidDirectoryShellExtension);
  qm::ComPtr<IContextMenu> menu;
  qm::ComPtr<IObjectWithSite> with_site;
  if (!init || FAILED(init.As(menu)) || FAILED(init.As(with_site))) return E_NOINTERFACE;
  qm::UniqueItemIdList folder(drop_folder.empty() ? nullptr : ILCreateFromPathW(drop_folder.c_str()));
  HRESULT status = init->Initialize(folder.get(), &selection, nullptr);
  if (FAILED(status)) {
    Say("Initialize failed: " + StatusText(status));
    return status;
  }
  const qm::UniqueMenu popup = ExplorerMenu(!drop_folder.empty());
  status = menu->QueryContextMenu(popup.get(), drop_folder.empty() ? 1 : 3, kFirstId, kLastId, CMF_NORMAL);
  Say("the menu:");
  const UINT chosen = ShowMenu(popup.get());
  if (FAILED(status)) {
    Say("QueryContextMenu failed: " + StatusText(status));
    return status;
  }
  if (!chosen) {
    Say("(the extension offers nothing here)");
    return S_FALSE;
  }
  wchar_t verb[64] = {};
  menu->GetCommandString(chosen - kFirstId, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), 64);
  wchar_t text[128] = {};
  GetMenuStringW(popup.get(), chosen, text, 128, MF_BYCOMMAND);
  Say(L"the user picks \"" + Shown(text) + L"\" (verb \"" + verb + L"\")");

  fakes::Recording recording;
  fakes::RecordingView view(recording, true);
  fakes::RecordingBrowser browser(&view);
  fakes::BrowserSite site(&browser);
  fakes::ExplorerWindow window(&browser);
  with_site->SetSite(&site);
  CMINVOKECOMMANDINFO info{sizeof info};
  info.hwnd = window.child();
  info.lpVerb = MAKEINTRESOURCEA(chosen - kFirstId);
  info.nShow = SW_SHOWNORMAL;
  {
    User user(std::move(reactions));
    status = menu->InvokeCommand(&info);
  }
  with_site->SetSite(nullptr);
  Say(SUCCEEDED(status) ? std::string("the command succeeds") : "the command fails: " + StatusText(status));
  ShowViewCalls(recording, link_folder);
  return status;
}

}  // namespace

HRESULT RightDrag(const std::wstring& folder, const std::vector<std::wstring>& items,
                  std::vector<Reaction> reactions) {
  return PickFromMenu(folder, items, folder, std::move(reactions));
}

HRESULT ContextMenu(const std::wstring& folder, std::vector<Reaction> reactions) {
  return PickFromMenu(L"", {folder}, folder, std::move(reactions));
}

int Properties(const std::wstring& item, std::vector<Reaction> reactions) {
  fakes::DropDataObject selection({item});
  auto init = CreateRegistered<IShellExtInit>(qm::kClsidDirectoryShellExtension);
  qm::ComPtr<IShellPropSheetExt> pages;
  if (!init || FAILED(init->Initialize(nullptr, &selection, nullptr)) || FAILED(init.As(pages))) return -1;
  harness::PropertySheet sheet(GetModuleHandleW(L"QuorvaneMarrowby.dll"));
  const HRESULT status = sheet.AddPages(pages.get());
  Say("Explorer asks the extension for its pages: AddPages answers " + StatusText(status) + ", " +
      std::to_string(sheet.pages()) + (sheet.pages() == 1 ? " page" : " pages"));
  const int added = static_cast<int>(sheet.pages());
  if (added == 0) return 0;
  const std::wstring name = item.substr(item.find_last_of(L'\\') + 1);
  User user(std::move(reactions));
  sheet.Run(nullptr, name.c_str());
  return added;
}

bool CopyToClipboard(const std::vector<std::wstring>& items) { return harness::PlaceFilesOnClipboard(items); }

}  // namespace tour
