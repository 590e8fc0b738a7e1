#include "directory_extension/link_commands.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/ascii_text.h"
#include "core/multi_text.h"
#include "core/volume_root.h"
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

// Makes the links of one command. What is the same for every link (the name
// pattern, the drives' answers, the buffers) is made once; each link costs
// its source's test, the existence tests of its candidate names and the
// calls that make it. The clipboard may have changed since the menu was
// built, so each source is tested again: a soft link leads to a local
// directory or drive, a hard link is another name for a file.
class LinkMaker {
 public:
  LinkMaker(LinkCommand command, const Path& destination)
      : m_soft(IsSoftLinkCommand(command)),
        m_names(destination, false, {LoadResourceString(LinkNameStringId(command)), "%s (%d)", 2}) {}

  void Create(const Path& source, CreatedLinks& created) {
    if (m_soft) {
      if (!PathIsDirectoryA(source.c_str()) || !IsOnLocalDrive(source))
        RaiseStatus(StatusFromWin32(status::Win32Directory));
      const Path& link = m_names.Choose(source);
      PathToWide(source, m_wide);
      m_soft_links.Create(link, m_wide);
      PathToWide(link, m_wide);
      created.Add(link, FileData(m_wide));
      return;
    }
    // The new name's file is the source's: one read tests the source and
    // gives what the shell is told about the link.
    std::optional<WIN32_FILE_ATTRIBUTE_DATA> file;
    bool directory;
    if (PathIsUNCA(source.c_str())) {
      directory = PathIsDirectoryA(source.c_str()) != FALSE;
    } else {
      PathToWide(source, m_wide);
      file = FileData(m_wide);
      directory = file && (file->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    if (directory) RaiseStatus(E_ACCESSDENIED);  // what the file system answers for a hard link to a directory
    const Path& link = m_names.Choose(source);
    if (!CreateHardLinkA(link.c_str(), source.c_str(), nullptr)) RaiseLastError();
    created.Add(link, file);
  }

 private:
  static std::optional<WIN32_FILE_ATTRIBUTE_DATA> FileData(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data;
  }

  // A drive's type is asked once per command.
  bool IsOnLocalDrive(const Path& path) {
    const auto root = VolumeRootOf(path);
    if (!root) return false;
    const auto letter = static_cast<unsigned char>((*root)[0]);
    for (const auto& [known, local] : m_drives)
      if (known == letter) return local;
    const bool local = qm::IsOnLocalDrive(path);
    m_drives.push_back({letter, local});
    return local;
  }

  bool m_soft;
  UniqueNameChooser m_names;
  SoftLinkWriter m_soft_links;
  std::wstring m_wide;
  std::vector<std::pair<unsigned char, bool>> m_drives;
};

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
  CreatedLinks created;
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

void CreateLinks(LinkCommand command, const Path& folder, const PathList& items, CreatedLinks& created) {
  if (!IsPasteCommand(command)) {
    if (items.empty()) return;
    LinkMaker maker(command, folder);
    created.Reserve(items.size(), folder.size() + MAX_PATH / 4);
    for (const Path& item : items) maker.Create(item, created);
    return;
  }
  if (items.size() != 1) return;
  PathList clipboard;
  if (!GetClipboardFileList(clipboard) || clipboard.empty()) return;
  LinkMaker maker(command, items[0]);
  created.Reserve(clipboard.size(), items[0].size() + MAX_PATH / 4);
  for (const Path& entry : clipboard) maker.Create(entry, created);
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
