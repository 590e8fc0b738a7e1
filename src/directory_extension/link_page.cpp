#include "directory_extension/link_page.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/dialog_text.h"
#include "links/file_names.h"
#include "links/new_target.h"
#include "links/soft_link.h"
#include "resources/resource_ids.h"
#include "ui/dialog_messages.h"
#include "ui/window_text.h"
#include "win/boundary.h"
#include "win/errors.h"
#include "win/module_instance.h"
#include "win/text.h"

namespace qm {
namespace {

std::wstring ResourceText(UINT id) { return ToWide(LoadResourceString(id)); }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void AddLinkPage(const Path& item, const ItemLink& link, LPFNADDPROPSHEETPAGE add, LPARAM add_parameter) {
  CPropertyPage::Add(std::make_unique<LinkPage>(item, link), ResourceModule(), IDD_LINK_PAGE, add, add_parameter);
}

LinkPage::LinkPage(Path item, ItemLink link) : m_item(std::move(item)), m_link(std::move(link)) {}

HWND LinkPage::Item(int id) const { return DialogItem(window(), id); }

std::wstring LinkPage::KindText() const {
  switch (m_link.kind) {
    case ItemLink::Kind::Junction:
      return ResourceText(IDS_LINK_JUNCTION);
    case ItemLink::Kind::SymbolicLink:
      return ResourceText(m_link.relative ? IDS_LINK_SYMBOLIC_RELATIVE : IDS_LINK_SYMBOLIC_ABSOLUTE);
    default:
      return FromU16(FillTextPieces(ToU16(ResourceText(IDS_LINK_HARD_LINKS)), {ToU16(std::to_wstring(m_link.names))}));
  }
}

std::wstring LinkPage::NamesText() const {
  // Like the other facts the page shows, names that cannot be read are no
  // failure: the page says that they cannot be listed (before Vista, always).
  std::optional<std::vector<std::wstring>> names;
  if (FAILED(CallAtBoundary([&] { names = ListOtherFileNames(m_item); })) || !names)
    return ResourceText(IDS_LINK_NAMES_UNLISTED);
  std::wstring text;
  for (const std::wstring& name : *names) text += (text.empty() ? L"" : L"\r\n") + name;
  return text;
}

bool LinkPage::OnInitDialog() {
  const bool is_link = m_link.kind != ItemLink::Kind::HardLinks;
  for (int id : {IDC_LINK_TARGET_LABEL, IDC_LINK_TARGET, IDC_LINK_STATE, IDC_LINK_OPEN_TARGET})
    ShowWindow(Item(id), is_link ? SW_SHOW : SW_HIDE);
  ShowWindow(Item(IDC_LINK_HINT), IsJunction() ? SW_SHOW : SW_HIDE);
  for (int id : {IDC_LINK_NAMES_LABEL, IDC_LINK_NAMES}) ShowWindow(Item(id), is_link ? SW_HIDE : SW_SHOW);
  ReplaceWindowText(Item(IDC_LINK_KIND), KindText());
  if (is_link) {
    ReplaceWindowText(Item(IDC_LINK_TARGET), m_link.target);
    // Only a junction is re-pointed here.
    SendMessageW(Item(IDC_LINK_TARGET), EM_SETREADONLY, !IsJunction(), 0);
    ShowTargetState();
  } else {
    ReplaceWindowText(Item(IDC_LINK_NAMES), NamesText());
  }
  return true;
}

void LinkPage::ShowTargetState() {
  const bool exists = Exists(TargetPathOf(m_item, m_link));
  ReplaceWindowText(Item(IDC_LINK_STATE), ResourceText(exists ? IDS_LINK_TARGET_EXISTS : IDS_LINK_TARGET_MISSING));
  EnableWindow(Item(IDC_LINK_OPEN_TARGET), exists);
}

void LinkPage::OpenTargetFolder() {
  std::wstring folder = TargetPathOf(m_item, m_link);
  // A file's symbolic link opens the folder its target is in.
  if (!m_link.directory) {
    PathRemoveFileSpecW(folder.data());
    folder.resize(std::wcslen(folder.c_str()));
  }
  SetLastError(ERROR_SUCCESS);
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteW(window(), L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) RaiseLastError();
}

bool LinkPage::OnCommand(int id, int notification) {
  if (id == IDC_LINK_OPEN_TARGET && notification == BN_CLICKED) {
    OpenTargetFolder();
    return true;
  }
  // Text set by the page itself leaves the edit unmodified.
  if (id == IDC_LINK_TARGET && notification == EN_CHANGE && IsJunction() &&
      SendMessageW(Item(IDC_LINK_TARGET), EM_GETMODIFY, 0, 0)) {
    MarkChanged();
    return true;
  }
  return false;
}

void LinkPage::OnApply() {
  if (!IsJunction() || !SendMessageW(Item(IDC_LINK_TARGET), EM_GETMODIFY, 0, 0)) return;
  const Path target = CheckNewSoftLinkTarget(m_item, PathToNarrow(WindowText(Item(IDC_LINK_TARGET))));
  std::wstring wide_target = PathToWide(target);
  RepointSoftLink(m_item, wide_target);
  m_link.target = std::move(wide_target);
  SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHA, m_item.c_str(), nullptr);
  // The link leads there now: what cannot be shown of it is no failure of the apply.
  CallAtBoundary([&] {
    ReplaceWindowText(Item(IDC_LINK_TARGET), m_link.target);
    ShowTargetState();
  });
}

}  // namespace qm
