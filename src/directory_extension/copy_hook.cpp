#include "directory_extension/copy_hook.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>
#include <optional>
#include <string>

#include "core/copy_hook_decision.h"
#include "core/reparse_buffer.h"
#include "directory_extension/directory_shell_extension.h"
#include "links/path_queries.h"
#include "links/reparse_point.h"
#include "links/soft_link.h"
#include "links/unique_name.h"
#include "links/volume_queries.h"
#include "resources/resource_ids.h"
#include "ui/error_message.h"
#include "ui/option_dialogs.h"
#include "win/boundary.h"
#include "win/errors.h"
#include "win/module_instance.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

static_assert(shell_operation::Move == FO_MOVE && shell_operation::Copy == FO_COPY &&
              shell_operation::Delete == FO_DELETE && shell_operation::Rename == FO_RENAME);
static_assert(shell_operation::Silent == FOF_SILENT && shell_operation::RenameOnCollision == FOF_RENAMEONCOLLISION &&
              shell_operation::NoConfirmation == FOF_NOCONFIRMATION && shell_operation::AllowUndo == FOF_ALLOWUNDO &&
              shell_operation::NoErrorUi == FOF_NOERRORUI);
static_assert(shell_operation::ReparsePointAttribute == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(shell_operation::Yes == IDYES && shell_operation::No == IDNO && shell_operation::Cancel == IDCANCEL);

void ReportFailure(HWND window, UINT flags, Status status) {
  if (!(flags & FOF_NOERRORUI)) ShowErrorMessage(window, status);
}

// Runs `body` for the answer; whatever it raises is shown and cancels.
template <class Body>
UINT AnswerOrCancel(HWND window, UINT flags, Body&& body) {
  UINT answer = IDCANCEL;
  const HRESULT status = CallAtBoundary([&] { answer = body(); });
  if (FAILED(status)) {
    ReportFailure(window, flags, status);
    return IDCANCEL;
  }
  return answer;
}

class WaitCursor : public CursorChange {
 public:
  WaitCursor() noexcept : CursorChange(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))) {}
};

// The path with its last component removed, as the shell removes it.
Path ParentOf(const Path& path) {
  Path parent = path;
  PathRemoveFileSpecA(parent.data());
  parent.resize(std::strlen(parent.c_str()));
  return parent;
}

void RemoveLink(const Path& link) {
  if (!RemoveDirectoryA(link.c_str())) RaiseLastError();
}

SourceLink LinkKindOf(const ReparsePointInfo& info) {
  const std::uint32_t tag = ReparseTag(info);
  if (tag == reparse::kSymbolicLinkTag) return SourceLink::SymbolicLink;
  if (tag == reparse::kMountPointTag && !info.substitute_name.empty()) return SourceLink::Junction;
  return SourceLink::None;
}

// What the dialogs say a link leads to.
std::wstring ShownTarget(const ReparsePointInfo& info) {
  if (!info.symbolic_link) return GetSoftLinkTarget(info);
  const SymbolicLinkNames& names = *info.symbolic_link;
  return names.print_name.empty() ? names.substitute_name : names.print_name;
}

class CopyHookItem final : public CopyHookFacts {
 public:
  CopyHookItem(HWND window, UINT flags, const char* source, const char* destination)
      : m_window(window),
        m_flags(flags),
        m_source(source ? source : ""),
        m_destination(destination ? destination : ""),
        m_parent(ParentOf(m_destination)) {}

  bool SourceIsDirectory() override { return PathIsDirectoryA(m_source.c_str()) != FALSE; }
  bool SourceIsOnLocalDrive() override { return IsOnLocalDrive(m_source); }
  SourceLink ReadSourceLink() override {
    ReadReparsePointOrRaise(m_link, m_source);
    return LinkKindOf(m_link);
  }
  bool DestinationIsSource() override { return IsSameFile(m_source, m_destination); }
  bool DestinationParentIsDirectory() override { return PathIsDirectoryA(m_parent.c_str()) != FALSE; }
  bool DestinationParentIsUnc() override { return PathIsUNCA(m_parent.c_str()) != FALSE; }
  bool DestinationParentIsNtfs() override { return IsNtfsVolume(m_parent); }

  int Ask(CopyHookDialog dialog, bool link_possible) override {
    const HINSTANCE resources = ResourceModule();
    switch (dialog) {
      case CopyHookDialog::DeleteSoftLink: {
        const bool allow_undo = (m_flags & FOF_ALLOWUNDO) != 0;
        return DeleteSoftLinkDialog(resources, m_source, ShownTarget(m_link), allow_undo).AskChoice(m_window);
      }
      case CopyHookDialog::CopySoftLink:
        return CopySoftLinkDialog(resources, m_source, GetSoftLinkTarget(m_link), m_destination, link_possible)
            .AskChoice(m_window);
      case CopyHookDialog::CopyDirectory:
        return CopyDirectoryDialog(resources, m_source, m_destination).AskChoice(m_window);
      case CopyHookDialog::MoveSoftLink:
        return MoveSoftLinkDialog(resources, m_source, GetSoftLinkTarget(m_link), m_destination, link_possible)
            .AskChoice(m_window);
    }
    RaiseStatus(status::InvalidArg);
  }

  void Run(CopyHookAction action) {
    if (action == CopyHookAction::None) return;
    const WaitCursor wait;
    switch (action) {
      case CopyHookAction::None:
        break;
      case CopyHookAction::RemoveLink:
        RemoveLink(m_source);
        break;
      case CopyHookAction::CopyLink:
        CopyLinkTo(LinkPath());
        break;
      case CopyHookAction::LinkToSource:
        CreateSoftLink(LinkPath(), PathToWide(m_source));
        break;
      case CopyHookAction::MoveLink:
        MoveLink();
        break;
    }
  }

 private:
  // Where the new link goes: the destination path, or a free "Soft Link to"
  // name when the operation renames on collision and the path is taken. An
  // empty directory there may become the link, a reparse point never does.
  Path LinkPath() const {
    const auto existing = ExistingAttributes(m_destination);
    if (!existing) return m_destination;
    if (EffectiveCopyHookFlags(m_flags) & FOF_RENAMEONCOLLISION)
      return MakeUniqueDestinationPath(m_source, m_parent, true, LoadResourceString(IDS_SOFT_LINK_NAME), "%s (%d)", 2);
    if (*existing & FILE_ATTRIBUTE_REPARSE_POINT) RaiseStatus(StatusFromWin32(ERROR_ALREADY_EXISTS));
    return m_destination;
  }

  // The source's names exactly as read. True when the link's directory is new.
  bool CopyLinkTo(const Path& link) const {
    return CreateSoftLinkWithNames(link, m_link.substitute_name, m_link.print_name);
  }

  // When the source cannot be removed, the new link is undone, so the link
  // stays where it was: a directory made for it goes, one that was there
  // before stays as it was.
  void MoveLink() {
    const Path link = LinkPath();
    const bool created = CopyLinkTo(link);
    if (RemoveDirectoryA(m_source.c_str())) return;
    const DWORD error = GetLastError();
    if (created) RemoveDirectoryA(link.c_str());
    else CallAtBoundary([&] { RemoveSoftLinkReparsePoint(link); });
    SetLastError(error);
    RaiseLastError();
  }

  HWND m_window;
  UINT m_flags;
  Path m_source;
  Path m_destination;
  Path m_parent;
  ReparsePointInfo m_link;
};

// A wide path the code page cannot hold exactly: nothing acts on a
// look-alike, and the shell is never kept from the item.
UINT AnswerUnconvertible(HWND window, UINT operation, UINT flags, const wchar_t* source, DWORD source_attributes) {
  const bool reparse_point = source && (source_attributes & FILE_ATTRIBUTE_REPARSE_POINT) && PathIsDirectoryW(source);
  if (operation != FO_DELETE || !reparse_point) return IDYES;
  return AnswerOrCancel(window, flags, [&] {
    ReparsePointInfo link;
    ReadReparsePointOrRaise(link, std::wstring(source));
    if (LinkKindOf(link) == SourceLink::None) return IDYES;
    const WaitCursor wait;
    if (!RemoveDirectoryW(source)) RaiseLastError();
    return IDNO;
  });
}

std::optional<Path> NarrowPath(const wchar_t* path) {
  if (!path) return std::nullopt;
  return PathToNarrow(path);
}

const char* PointerTo(const std::optional<Path>& path) { return path ? path->c_str() : nullptr; }

}  // namespace

UINT CopyHookCallback(HWND window, UINT operation, UINT flags, const char* source, DWORD source_attributes,
                      const char* destination) {
  return AnswerOrCancel(window, flags, [&] {
    CopyHookItem item(window, flags, source, destination);
    const CopyHookDecision decision = DecideCopyHook({operation, flags, window != nullptr, source_attributes}, item);
    if (Failed(decision.failure)) ReportFailure(window, flags, decision.failure);
    item.Run(decision.action);
    return static_cast<UINT>(decision.answer);
  });
}

UINT CopyHookCallbackWide(HWND window, UINT operation, UINT flags, const wchar_t* source, DWORD source_attributes,
                          const wchar_t* destination) {
  std::optional<Path> narrow_source, narrow_destination;
  const HRESULT converted = CallAtBoundary([&] {
    narrow_source = NarrowPath(source);
    narrow_destination = NarrowPath(destination);
  });
  if (converted == HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION))
    return AnswerUnconvertible(window, operation, flags, source, source_attributes);
  if (FAILED(converted)) {
    ReportFailure(window, flags, converted);
    return IDCANCEL;
  }
  return CopyHookCallback(window, operation, flags, PointerTo(narrow_source), source_attributes,
                          PointerTo(narrow_destination));
}

STDMETHODIMP_(UINT) CDirectoryShellExtension::CopyCallback(HWND window, UINT operation, UINT flags, LPCSTR source,
                                                           DWORD source_attributes, LPCSTR destination, DWORD) {
  return CopyHookCallback(window, operation, flags, source, source_attributes, destination);
}

STDMETHODIMP_(UINT) CDirectoryShellExtension::CopyCallback(HWND window, UINT operation, UINT flags, LPCWSTR source,
                                                           DWORD source_attributes, LPCWSTR destination, DWORD) {
  return CopyHookCallbackWide(window, operation, flags, source, source_attributes, destination);
}

}  // namespace qm
