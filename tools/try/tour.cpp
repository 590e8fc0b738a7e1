#include "tour.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <vector>

#include "dialog_driver.h"
#include "disk.h"
#include "details.h"
#include "file_operation.h"
#include "resources/class_ids.h"
#include "resources/resource_ids.h"
#include "shell.h"
#include "transcript.h"

namespace tour {
namespace {

int g_unexpected = 0;
constexpr int kApplyButton = 0x3021;  // the sheet's Apply (ID_APPLY_NOW)

void Expect(bool held, const std::string& what) {
  if (held) return;
  ++g_unexpected;
  Say("UNEXPECTED: " + what);
}

// Where the registry says a class lives, as COM finds it.
void ShowRegisteredServer(const CLSID& clsid, const char* name) {
  wchar_t id[40] = {}, path[MAX_PATH] = {};
  StringFromGUID2(clsid, id, 40);
  DWORD size = sizeof path;
  const std::wstring key = L"CLSID\\" + std::wstring(id) + L"\\InprocServer32";
  const bool found =
      RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS;
  Say(std::string(name) + " " + Utf8(id));
  Say(found ? L"  InprocServer32 = " + std::wstring(path) : L"  not registered");
}

std::optional<DWORD> Setting(const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Quorvane\\Marrowby", name, RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void ShowSetting(const wchar_t* name) {
  const auto value = Setting(name);
  Say(L"HKCU\\SOFTWARE\\Quorvane\\Marrowby  \"" + std::wstring(name) + L"\" = " +
      (!value        ? L"(none): the dialog shows"
       : *value == 1 ? L"1: the dialog shows only while Control is held"
                     : std::to_wstring(*value) + L": the dialog shows"));
}

}  // namespace

int RunTour(const std::wstring& root) {
  const auto at = [&](const wchar_t* name) { return root + L"\\" + name; };
  Disk disk;
  if (!Disk::MakeDemo(root)) {
    Say(L"the demo folder " + root + L" could not be made");
    return 1;
  }

  Heading("Explorer finds the extension's two classes through the registry");
  ShowRegisteredServer(qm::kClsidDirectoryShellExtension, "CDirectoryShellExtension");
  ShowRegisteredServer(qm::kClsidFolderShellExtension, "CFolderShellExtension");
  // Held for the whole tour, so the DLL stays loaded under the NTFS model.
  const auto held = CreateRegistered<IUnknown>(qm::kClsidDirectoryShellExtension);
  Expect(static_cast<bool>(held) && CreateRegistered<IUnknown>(qm::kClsidFolderShellExtension),
         "CoCreateInstance of both classes");
  if (!held) return g_unexpected;
  Say("the demo folder:");
  for (const wchar_t* folder : {L"Docs", L"Music"}) disk.List(at(folder));
  Say("and the empty folders Links, Backup, Desk, Shared and Archive");

  Heading("1. Hard link by right-drag   [real hard links in Wine]");
  Say(L"the user drags " + at(L"Docs\\report.txt") + L" with the right mouse button onto " + at(L"Links"));
  Expect(RightDrag(at(L"Links"), {at(L"Docs\\report.txt")}) == S_OK, "a hard link by right-drag");
  disk.List(at(L"Links"));

  Heading("2. Paste as hard links   [real]");
  Say(L"the user copies report.txt and notes.txt in " + at(L"Docs") + L", then right-clicks " + at(L"Backup"));
  CopyToClipboard({at(L"Docs\\report.txt"), at(L"Docs\\notes.txt")});
  Expect(ContextMenu(at(L"Backup")) == S_OK, "hard links by paste");
  disk.List(at(L"Backup"));
  Expect(Disk::LinkCount(at(L"Docs\\report.txt")) == 3, "report.txt with three names");

  Heading("3. Soft link by right-drag   [Wine as it is]");
  Note("Wine cannot store junctions: it refuses to set a reparse point (FSCTL_SET_REPARSE_POINT) and reports none");
  Say(L"the user right-drags " + at(L"Music") + L" onto " + at(L"Links"));
  const HRESULT refused = RightDrag(at(L"Links"), {at(L"Music")}, {{"error-soft-link-in-wine.png", Press(IDOK)}});
  Expect(refused == HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED), "Wine's refusal of the junction");
  disk.List(at(L"Links"));
  Say("(the directory the command made for the link is gone again)");

  Heading("From here on, junctions come from the test harness's NTFS model");
  Say("explorer_host now patches QuorvaneMarrowby.dll's import table in its own process, as the Windows");
  Say("tests do (tests/win/harness): the DLL's file and volume calls reach a model that keeps junctions as");
  Say("NTFS does. The DLL's code is unchanged. The junctions live in this process only, over real empty");
  Say("directories; steps shown this way are marked [NTFS model]. Hard links, menus, dialogs, the registry");
  Say("and Wine's own file operations stay real.");
  disk.UseNtfsModel(GetModuleHandleW(L"QuorvaneMarrowby.dll"));

  Heading("4. Soft link by right-drag   [NTFS model]");
  Say(L"the user right-drags " + at(L"Music") + L" onto " + at(L"Links") + L" again");
  Expect(RightDrag(at(L"Links"), {at(L"Music")}) == S_OK, "a soft link by right-drag");
  disk.List(at(L"Links"));
  Expect(disk.SoftLinkTarget(at(L"Links\\Music")) == at(L"Music"), "Links\\Music a soft link to Music");

  Heading("5. Paste as soft links   [NTFS model]");
  Say(L"the user copies " + at(L"Music") + L" and " + at(L"Docs") + L", then right-clicks " + at(L"Desk"));
  CopyToClipboard({at(L"Music"), at(L"Docs")});
  Expect(ContextMenu(at(L"Desk")) == S_OK, "soft links by paste");
  disk.List(at(L"Desk"));

  Heading("6. Details view columns   [the junction: NTFS model; the hard links: real]");
  ShowDetailsView(disk, at(L"Links"));

  Heading("7. Infotips   [the lists: written by regsvr32; the junction: NTFS model]");
  ShowInfotips(disk, at(L"Links"));
  Note("Explorer puts these lines in the tip after its own, for the System.* entries of the lists");

  Heading("8. Icon overlay   [attributes of the junction: NTFS model]");
  ShowOverlays(disk, at(L"Links"));

  Note("Wine's own SHFileOperation asks no copy hooks: explorer_host asks the hook as Windows' shell does");
  Note("and lets Wine's SHFileOperation do what the hook leaves to the shell (IDYES)");
  // Each asks one dialog, answered with the link action; the hook then answers IDNO.
  struct LinkAction {
    const char* heading;
    UINT operation;
    const wchar_t *source, *into;  // into: empty for a delete
    const char* picture;
    int button;
    std::vector<const wchar_t*> shown;  // folders listed afterwards
  };
  const LinkAction actions[] = {
      {"9. Copy hook: copying a directory   [dialog: real; the new junction: NTFS model]", FO_COPY, L"Music",
       L"Backup", "copy-directory.png", IDC_CREATE_SOFT_LINK, {L"Backup"}},
      {"10. Copy hook: copying a soft link   [NTFS model]", FO_COPY, L"Links\\Music", L"Shared", "copy-soft-link.png",
       IDC_COPY_SOFT_LINK, {L"Shared"}},
      {"11. Copy hook: moving a soft link   [NTFS model]", FO_MOVE, L"Shared\\Music", L"Archive",
       "move-soft-link.png", IDC_MOVE_SOFT_LINK, {L"Shared", L"Archive"}},
      {"12. Copy hook: deleting a soft link   [NTFS model]", FO_DELETE, L"Links\\Music", L"", "delete-soft-link.png",
       IDC_DELETE_SOFT_LINK, {L"Links"}},
  };
  for (const LinkAction& action : actions) {
    Heading(action.heading);
    const std::wstring into = *action.into ? at(action.into) : L"";
    const wchar_t* verb = action.operation == FO_DELETE ? L"deletes " : action.operation == FO_MOVE ? L"moves " : L"copies ";
    Say(L"the user " + std::wstring(verb) + at(action.source) +
        (into.empty() ? L" (to the Recycle Bin)" : L" into " + into));
    Expect(FileOperation(disk, action.operation, at(action.source), into, {{action.picture, Press(action.button)}}) ==
               IDNO,
           std::string("the link action of ") + action.picture);
    for (const wchar_t* folder : action.shown) disk.List(at(folder));
  }
  disk.List(at(L"Music"));
  Say("(only the link went: the target's files are all there)");
  Expect(Disk::Names(at(L"Music")).size() == 2, "the target's files kept");

  Heading("13. The check box \"Do not show this window unless Control key is pressed\"   [real]");
  const wchar_t* setting = L"Copy Directory Options Visibility";
  ShowSetting(setting);
  Say(L"the user copies " + at(L"Docs") + L" into " + at(L"Archive"));
  Expect(FileOperation(disk, FO_COPY, at(L"Docs"), at(L"Archive"),
                       {{"", ToggleThen(IDC_COPY_DIRECTORY_HIDE, Press(IDC_COPY_DIRECTORY))}}) == IDYES,
         "a copy asked for");
  ShowSetting(setting);
  Say(L"the user copies " + at(L"Music") + L" into " + at(L"Shared") + L": no dialog this time");
  Expect(FileOperation(disk, FO_COPY, at(L"Music"), at(L"Shared")) == IDYES, "the stored answer, Copy Directory");
  disk.List(at(L"Shared"));
  Say(L"the user holds Control and copies " + at(L"Docs") + L" into " + at(L"Shared") + L": the dialog is back");
  {
    ControlKeyDown control;
    Expect(FileOperation(disk, FO_COPY, at(L"Docs"), at(L"Shared"),
                         {{"", ToggleThen(IDC_COPY_DIRECTORY_HIDE, PressEscape())}}) == IDCANCEL,
           "the dialog shown while Control is held");
  }
  ShowSetting(setting);
  Expect(Setting(setting) == 2u, "the dialog shown again from now on");

  Note("Explorer's Properties dialog shows its own pages first; the host's sheet holds only the extension's");
  struct LinkPageShown {
    const char* heading;
    const wchar_t* item;
    const char* picture;
  };
  disk.MakeJunction(at(L"Desk\\Old Photos"), at(L"Photos"));
  const LinkPageShown pages[] = {
      {"14. The Link page in Properties: a soft link   [the junction: NTFS model; the page: real]", L"Desk\\Music",
       "link-page-junction.png"},
      {"15. The Link page: a soft link whose target is gone   [NTFS model]", L"Desk\\Old Photos",
       "link-page-dangling.png"},
      {"16. The Link page: a file with three names   [real hard links; their names: NTFS model]", L"Docs\\report.txt",
       "link-page-hard-link.png"},
  };
  for (const LinkPageShown& page : pages) {
    Heading(page.heading);
    Say(L"the user opens the Properties of " + at(page.item));
    Expect(Properties(at(page.item), {{page.picture, Press(IDOK)}}) == 1, std::string("the page of ") + page.picture);
  }

  Heading("17. Re-pointing a soft link with Apply   [NTFS model]");
  Say(L"the user opens the Properties of " + at(L"Desk\\Music") + L" and types another target");
  Expect(Properties(at(L"Desk\\Music"),
                    {{"", Then(Type(IDC_LINK_TARGET, at(L"Docs")), Then(Press(kApplyButton), Press(IDOK)))}}) == 1,
         "the page of the soft link");
  disk.List(at(L"Desk"));
  Expect(disk.SoftLinkTarget(at(L"Desk\\Music")) == at(L"Docs"), "Desk\\Music re-pointed to Docs");
  Say(L"(" + at(L"Music") + L" and its files are untouched)");
  return g_unexpected;
}

int ShowLinkPage(const std::wstring& item, const std::wstring& target, const std::string& picture) {
  // The DLL is loaded, so that the model can take over its imports.
  const auto held = CreateRegistered<IUnknown>(qm::kClsidDirectoryShellExtension);
  Disk disk;
  disk.UseNtfsModel(GetModuleHandleW(L"QuorvaneMarrowby.dll"));
  if (!target.empty() && !disk.MakeJunction(item, target)) return 1;
  return held && Properties(item, {{picture, Press(IDOK)}}) == 1 ? 0 : 1;
}

int AskAboutCopy(const std::wstring& source, const std::wstring& into, const std::string& picture) {
  Disk disk;
  ControlKeyDown control;  // shown even when its setting hides it
  const UINT answer = FileOperation(disk, FO_COPY, source, into, {{picture, PressEscape()}});
  return answer == IDCANCEL ? 0 : 1;
}

}  // namespace tour
