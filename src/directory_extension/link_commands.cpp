#include "directory_extension/link_commands.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "core/ascii_text.h"
#include "core/multi_text.h"
#include "directory_extension/explorer_window.h"
#include "links/clipboard_file_list.h"
#include "links/soft_link.h"
#include "links/unique_name.h"
#include "links/volume_queries.h"
#include "ui/error_message.h"
#include "win/boundary.h"
#include "win/errors.h"
#include "win/module_instance.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

constexpr UINT kHostPasteItem = 31003;

class WindowsLinkMenuFacts : public LinkMenuFacts {
 public:
  explicit WindowsLinkMenuFacts(HMENU menu) : m_menu(menu) {}
  bool IsDirectory(const Path& path) override { return PathIsDirectoryA(path.c_str()) != FALSE; }
  bool IsUnc(const Path& path) override { return PathIsUNCA(path.c_str()) != FALSE; }
  bool IsNtfsVolume(const Path& path) override { return qm::IsNtfsVolume(path); }
  bool IsSameRoot(const Path& a, const Path& b) override { return PathIsSameRootA(a.c_str(), b.c_str()) != FALSE; }
  bool ReadClipboard(PathList& names) override { return GetClipboardFileList(names); }
  int HostPasteItemPosition() override { return FindMenuItemPosition(m_menu, kHostPasteItem); }

 private:
  HMENU m_menu;
};

// A soft link leads to a local directory or drive; a hard link is another
// name for a file. The clipboard may have changed since the menu was built.
void CheckLinkSource(LinkCommand command, const Path& source) {
  const bool directory = PathIsDirectoryA(source.c_str()) != FALSE;
  if (IsSoftLinkCommand(command)) {
    if (!directory || !IsOnLocalDrive(source)) RaiseStatus(StatusFromWin32(status::Win32Directory));
  } else if (directory) {
    RaiseStatus(E_ACCESSDENIED);  // what the file system answers for a hard link to a directory
  }
}

void CreateLink(LinkCommand command, const Path& source, const Path& destination, PathList& created) {
  CheckLinkSource(command, source);
  const std::string name_format = LoadResourceString(LinkNameStringId(command));
  const Path link = MakeUniqueDestinationPath(source, destination, false, name_format, "%s (%d)", 2);
  if (IsSoftLinkCommand(command)) {
    CreateSoftLink(link, PathToWide(source));
  } else if (!CreateHardLinkA(link.c_str(), source.c_str(), nullptr)) {
    RaiseLastError();
  }
  created.Add(link);
}

// The command a text verb names: one of the four advertised verbs.
std::optional<LinkCommand> CommandOfVerbText(std::string_view verb) {
  for (unsigned offset = 0; offset < kLinkCommandCount; ++offset) {
    const auto command = static_cast<LinkCommand>(offset);
    if (EqualIgnoringAsciiCase(verb, PickText(LoadResourceString(VerbStringId(command)), 0))) return command;
  }
  return std::nullopt;
}

HRESULT RunLinkCommand(const CMINVOKECOMMANDINFO& info, LinkCommand command, IUnknown* site, const Path& folder,
                       const PathList& items) {
  PathList created;
  try {
    CursorChange wait(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    CreateLinks(command, folder, items, created);
  } catch (const CAtlException& e) {
    if (!Failed(e.status())) return S_OK;
    if (!(info.fMask & CMIC_MASK_FLAG_NO_UI)) ShowErrorMessage(info.hwnd, e.status());
    return e.status();
  } catch (...) {
    return status::CommandFailedWithoutStatus;
  }
  if (!created.empty()) UpdateExplorerWindow(site, info.hwnd, created, !folder.empty());
  return S_OK;
}

}  // namespace

void AddLinkMenuEntries(HMENU menu, UINT index_menu, UINT id_first, UINT id_last, const Path& folder,
                        const PathList& items) {
  WindowsLinkMenuFacts facts(menu);
  for (const LinkMenuEntry& entry : ChooseLinkMenuEntries(folder, items, static_cast<int>(index_menu), facts)) {
    const UINT id = id_first + static_cast<UINT>(entry.command);
    if (id < id_first || id > id_last) continue;
    const std::string texts = LoadResourceString(MenuTextStringId(entry.command));
    const std::string text(PickText(texts, entry.text_index));
    InsertMenuA(menu, static_cast<UINT>(entry.position), MF_BYPOSITION | MF_STRING, id, text.c_str());
  }
}

void CreateLinks(LinkCommand command, const Path& folder, const PathList& items, PathList& created) {
  if (!IsPasteCommand(command)) {
    for (const Path& item : items) CreateLink(command, item, folder, created);
    return;
  }
  if (items.size() != 1) return;
  PathList clipboard;
  if (!GetClipboardFileList(clipboard)) return;
  for (const Path& entry : clipboard) CreateLink(command, entry, items[0], created);
}

HRESULT InvokeLinkCommand(const CMINVOKECOMMANDINFO* info, IUnknown* site, const Path& folder,
                          const PathList& items) {
  if (!info) return E_INVALIDARG;
  LinkCommand command;
  // A verb given as text has bits above the low word, also on 64-bit.
  if (IS_INTRESOURCE(info->lpVerb)) {
    const UINT offset = LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb));
    if (offset >= kLinkCommandCount) return S_FALSE;
    command = static_cast<LinkCommand>(offset);
  } else {
    std::optional<LinkCommand> named;
    const HRESULT found = CallAtBoundary([&] { named = CommandOfVerbText(info->lpVerb); });
    if (FAILED(found)) return found;
    // Another handler's verb: the host goes on to the next handler.
    if (!named) return E_INVALIDARG;
    command = *named;
  }
  // Without a drop folder the drag commands have nowhere to put links.
  if (!IsPasteCommand(command) && folder.empty()) return E_INVALIDARG;
  return RunLinkCommand(*info, command, site, folder, items);
}

HRESULT GetLinkCommandString(UINT_PTR id, UINT type, char* name, UINT size) {
  if (!name) return E_POINTER;
  const bool known = id < kLinkCommandCount;
  switch (type) {
    case GCS_VALIDATEA:
    case GCS_VALIDATEW:
      return known ? S_OK : S_FALSE;
    case GCS_VERBA:
    case GCS_HELPTEXTA:
    case GCS_VERBW:
    case GCS_HELPTEXTW:
      break;
    default:
      return E_INVALIDARG;
  }
  return CallAtBoundary([&] {
    const std::size_t piece = (type == GCS_VERBA || type == GCS_VERBW) ? 0 : 1;
    // Always terminated: a buffer too small for the text gets what fits.
    const std::size_t room = size > 0 ? size - 1 : 0;
    std::string text;
    if (known) text = PickText(LoadResourceString(VerbStringId(static_cast<LinkCommand>(id))), piece);
    if (type == GCS_VERBW || type == GCS_HELPTEXTW) {
      const std::wstring wide = ToWide(text);
      auto* out = reinterpret_cast<wchar_t*>(name);
      std::memset(out, 0, size * sizeof(wchar_t));
      std::memcpy(out, wide.c_str(), std::min(wide.size(), room) * sizeof(wchar_t));
    } else {
      std::memset(name, 0, size);
      std::memcpy(name, text.c_str(), std::min(text.size(), room));
    }
  });
}

}  // namespace qm
