// The option dialogs the copy hook asks before the shell moves, copies or
// deletes a directory. Each can be silenced by its own per-user setting
// (ui/settings.h); while it is, its default answer is taken unless the
// Control key is down.
//
//   qm::DeleteSoftLinkDialog dialog(resources, source, target, allow_undo);
//   const qm::SoftLinkChoice choice = dialog.AskChoice(window);   // may raise
//
// The dialogs are modal on the calling thread; an object asks once.
#pragma once

#include <windows.h>

#include <string>

#include "core/path_list.h"
#include "resources/resource_ids.h"
#include "ui/modal_dialog.h"

namespace qm {

// How a question ended: the id of the button pressed, or IDCANCEL (2) when
// the dialog was closed with Escape or its close box.
//   MoveSoftLinkDialog    IDC_MOVE_SOFT_LINK 215, IDC_MOVE_AS_DIRECTORY 216
//   CopyDirectoryDialog   IDC_COPY_DIRECTORY 201, IDC_CREATE_SOFT_LINK 202
//   CopySoftLinkDialog    IDC_COPY_AS_DIRECTORY 225, IDC_COPY_SOFT_LINK 224
//   DeleteSoftLinkDialog  IDC_DELETE_SOFT_LINK 213
using SoftLinkChoice = int;

// What tells the four dialogs apart.
struct OptionDialogKind {
  int template_id;
  const char* setting;          // visibility value name
  SoftLinkChoice hidden_answer;  // taken while the dialog is hidden
  int icon_id, message_id, hide_box_id;
  int link_button_id;           // enabled only where a link is possible; 0: none
  int ending_ids[2];            // buttons that end the dialog besides IDCANCEL; 0: none
};

class OptionDialog : public CModalDialog {
 public:
  // Asks the question over `parent` (may be null). While the dialog's setting
  // is 1 and the Control key is up, returns the hidden answer without showing
  // anything; otherwise shows the dialog and returns the button that ended
  // it. Raises the failure when the dialog cannot be shown.
  SoftLinkChoice AskChoice(HWND parent);

 protected:
  // `resources`: the module the templates come from (the language module when
  // one is in use). `target`: the soft link's target as read from its reparse
  // data (D:\Data), empty for a dialog about a plain directory.
  OptionDialog(HINSTANCE resources, const OptionDialogKind& kind, int shell_icon, Path source, std::wstring target,
               bool link_possible);

 private:
  bool OnInitDialog() override;
  bool OnCommand(int id, int notification) override;
  void ShowMessage();
  // A disabled link button that is the default hands default and focus to
  // the other button, so that Enter still answers; true when it did.
  bool MoveDefaultOffDisabledLink();

  HINSTANCE m_resources;
  const OptionDialogKind& m_kind;
  int m_shell_icon;
  Path m_source;
  std::wstring m_target;
  bool m_link_possible;
};

// The destinations are taken for completeness of the question; no dialog
// shows them. `link_possible`: the destination's folder can hold a soft link.

class MoveSoftLinkDialog final : public OptionDialog {
 public:
  MoveSoftLinkDialog(HINSTANCE resources, const Path& source, const std::wstring& target, const Path& destination,
                     bool link_possible);
};

class CopyDirectoryDialog final : public OptionDialog {
 public:
  CopyDirectoryDialog(HINSTANCE resources, const Path& source, const Path& destination);
};

class CopySoftLinkDialog final : public OptionDialog {
 public:
  CopySoftLinkDialog(HINSTANCE resources, const Path& source, const std::wstring& target, const Path& destination,
                     bool link_possible);
};

class DeleteSoftLinkDialog final : public OptionDialog {
 public:
  // `allow_undo`: the deletion goes to the recycle bin (FOF_ALLOWUNDO).
  DeleteSoftLinkDialog(HINSTANCE resources, const Path& source, const std::wstring& target, bool allow_undo);
};

}  // namespace qm
