#include "ui/option_dialogs.h"

#include <utility>

#include "core/dialog_text.h"
#include "ui/center_window.h"
#include "ui/dialog_messages.h"
#include "ui/hyperlink.h"
#include "ui/settings.h"
#include "ui/static_layout.h"
#include "ui/window_text.h"
#include "win/errors.h"
#include "win/text.h"

namespace qm {
namespace {

// Icons of the system's shell module.
constexpr int kLinkIcon = 146;
constexpr int kRecycleIcon = 33;
constexpr int kDeleteIcon = 161;

// template, setting, hidden answer, icon, message, check box, link button, ending buttons
constexpr OptionDialogKind kMoveSoftLink{
    IDD_MOVE_SOFT_LINK,      kMoveSoftLinkVisibility, IDC_MOVE_SOFT_LINK, IDC_MOVE_SOFT_LINK_ICON, IDC_MOVE_SOFT_LINK_MESSAGE,
    IDC_MOVE_SOFT_LINK_HIDE, IDC_MOVE_SOFT_LINK,      {IDC_MOVE_SOFT_LINK, IDC_MOVE_AS_DIRECTORY}};
constexpr OptionDialogKind kCopyDirectory{
    IDD_COPY_DIRECTORY,      kCopyDirectoryVisibility, IDC_COPY_DIRECTORY, IDC_COPY_DIRECTORY_ICON, IDC_COPY_DIRECTORY_MESSAGE,
    IDC_COPY_DIRECTORY_HIDE, 0,                        {IDC_COPY_DIRECTORY, IDC_CREATE_SOFT_LINK}};
constexpr OptionDialogKind kCopySoftLink{
    IDD_COPY_SOFT_LINK,      kCopySoftLinkVisibility, IDC_COPY_AS_DIRECTORY, IDC_COPY_SOFT_LINK_ICON, IDC_COPY_SOFT_LINK_MESSAGE,
    IDC_COPY_SOFT_LINK_HIDE, IDC_COPY_SOFT_LINK,      {IDC_COPY_AS_DIRECTORY, IDC_COPY_SOFT_LINK}};
constexpr OptionDialogKind kDeleteSoftLink{
    IDD_DELETE_SOFT_LINK,      kDeleteSoftLinkVisibility, IDC_DELETE_SOFT_LINK, IDC_DELETE_SOFT_LINK_ICON,
    IDC_DELETE_SOFT_LINK_MESSAGE, IDC_DELETE_SOFT_LINK_HIDE, 0, {IDC_DELETE_SOFT_LINK, 0}};

}  // namespace

OptionDialog::OptionDialog(HINSTANCE resources, const OptionDialogKind& kind, int shell_icon, Path source,
                           std::wstring target, bool link_possible)
    : m_resources(resources),
      m_kind(kind),
      m_shell_icon(shell_icon),
      m_source(std::move(source)),
      m_target(std::move(target)),
      m_link_possible(link_possible) {
  // Every template holds a link control. Without its class the dialog cannot
  // be made, which AskChoice reports.
  RegisterHyperLinkClass(resources);
}

SoftLinkChoice OptionDialog::AskChoice(HWND parent) {
  if (ReadSettingDword(m_kind.setting, 0) == kShownOnlyWithControl && GetKeyState(VK_CONTROL) >= 0)
    return m_kind.hidden_answer;
  return static_cast<SoftLinkChoice>(RunModal(m_resources, m_kind.template_id, parent));
}

bool OptionDialog::OnInitDialog() {
  // What keeps the user from a choice that cannot work comes first, so that
  // a failure further on leaves it in place.
  if (m_kind.link_button_id) EnableWindow(DialogItem(window(), m_kind.link_button_id), m_link_possible);
  const bool hidden = ReadSettingDword(m_kind.setting, 0) == kShownOnlyWithControl;
  if (!CheckDlgButton(window(), m_kind.hide_box_id, hidden ? BST_CHECKED : BST_UNCHECKED)) RaiseLastError();

  const HMODULE shell = GetModuleHandleA("shell32.dll");
  if (!shell) RaiseLastError();
  const HICON icon = LoadIconA(shell, MAKEINTRESOURCEA(m_shell_icon));
  if (!icon) RaiseLastError();
  SendMessageA(DialogItem(window(), m_kind.icon_id), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);

  ShowMessage();
  FitStaticToText(DialogItem(window(), m_kind.message_id));
  CenterWindow(window());
  return !MoveDefaultOffDisabledLink();
}

bool OptionDialog::MoveDefaultOffDisabledLink() {
  if (!m_kind.link_button_id || m_link_possible) return false;
  if (LOWORD(SendMessageA(window(), DM_GETDEFID, 0, 0)) != m_kind.link_button_id) return false;
  const int other = m_kind.ending_ids[0] == m_kind.link_button_id ? m_kind.ending_ids[1] : m_kind.ending_ids[0];
  SendMessageA(window(), DM_SETDEFID, static_cast<WPARAM>(other), 0);
  SendMessageA(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(DialogItem(window(), other)), TRUE);
  return true;
}

void OptionDialog::ShowMessage() {
  const HWND message = DialogItem(window(), m_kind.message_id);
  // The static reads "&" as a mnemonic marker: paths show theirs doubled.
  const std::u16string source = ShowAmpersands(ToU16(CompactPathForDialog(window(), PathToWide(m_source))));
  const std::u16string target =
      m_target.empty() ? std::u16string() : ShowAmpersands(ToU16(CompactPathForDialog(window(), m_target)));
  ReplaceWindowText(message, FromU16(FillTextPieces(ToU16(WindowText(message)), {source, target})));
}

bool OptionDialog::OnCommand(int id, int notification) {
  if (id == IDCANCEL || (id != 0 && (id == m_kind.ending_ids[0] || id == m_kind.ending_ids[1]))) {
    EndDialog(id);
    return true;
  }
  if (id == m_kind.hide_box_id && notification == BN_CLICKED) {
    const bool checked = IsDlgButtonChecked(window(), id) == BST_CHECKED;
    // Kept even when the dialog is then cancelled; a failure to store it is silent.
    WriteSettingDword(m_kind.setting, checked ? kShownOnlyWithControl : kAlwaysShown);
    return true;
  }
  return false;
}

MoveSoftLinkDialog::MoveSoftLinkDialog(HINSTANCE resources, const Path& source, const std::wstring& target,
                                       const Path&, bool link_possible)
    : OptionDialog(resources, kMoveSoftLink, kLinkIcon, source, target, link_possible) {}

CopyDirectoryDialog::CopyDirectoryDialog(HINSTANCE resources, const Path& source, const Path&)
    : OptionDialog(resources, kCopyDirectory, kLinkIcon, source, std::wstring(), true) {}

CopySoftLinkDialog::CopySoftLinkDialog(HINSTANCE resources, const Path& source, const std::wstring& target,
                                       const Path&, bool link_possible)
    : OptionDialog(resources, kCopySoftLink, kLinkIcon, source, target, link_possible) {}

DeleteSoftLinkDialog::DeleteSoftLinkDialog(HINSTANCE resources, const Path& source, const std::wstring& target,
                                           bool allow_undo)
    : OptionDialog(resources, kDeleteSoftLink, allow_undo ? kRecycleIcon : kDeleteIcon, source, target, true) {}

}  // namespace qm
