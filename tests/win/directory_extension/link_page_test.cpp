// The "Link" page of the Properties dialog as the shell's sheet shows it: one
// selected item, the page made by the shipped DLL and shown for real.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "extension_fixture.h"
#include "harness/fault_sweep.h"
#include "harness/property_sheet.h"
#include "resources/resource_ids.h"
#include "ui/error_message.h"

namespace extension_test {
namespace {

constexpr wchar_t kHint[] =
    L"To make the soft link lead to another folder, type the path of that folder and press Apply.";

std::u16string U16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::wstring g_opened;  // what the shell was asked to open
HINSTANCE WINAPI RecordOpen(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  g_opened += std::wstring(verb) + L" " + file;
  return reinterpret_cast<HINSTANCE>(42);
}

UINT(WINAPI* g_drive_type)(LPCSTR) = nullptr;
UINT WINAPI NetworkDriveN(LPCSTR root) { return root && root[0] == 'N' ? DRIVE_REMOTE : g_drive_type(root); }

// What the page shows, control by control in tab order: texts, [edits]
// (marked read-only), <buttons> (marked disabled).
std::wstring Describe(HWND page) {
  std::wstring shown;
  for (HWND item = GetWindow(page, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
    if (!IsWindowVisible(item)) continue;
    wchar_t name[16] = {};
    GetClassNameW(item, name, 16);
    std::wstring line = Text(item);
    if (!_wcsicmp(name, L"Edit"))
      line = L"[" + line + L"]" + (GetWindowLongW(item, GWL_STYLE) & ES_READONLY ? L" read-only" : L"");
    if (!_wcsicmp(name, L"Button")) line = L"<" + line + L">" + (IsWindowEnabled(item) ? L"" : L" disabled");
    shown += (shown.empty() ? L"" : L" | ") + line;
  }
  return shown;
}

// The target typed into the page, as a user's typing leaves it: modified.
void Retype(HWND page, const std::wstring& target) {
  SetWindowTextW(GetDlgItem(page, IDC_LINK_TARGET), target.c_str());
  SendMessageW(GetDlgItem(page, IDC_LINK_TARGET), EM_SETMODIFY, TRUE, 0);
}

// Music and Docs (notes.txt), the junctions Link (to Music), Dangling (to
// Gone) and Root (to E:), the symbolic links Symlink (to Music), Share (to
// \\server\share) and notes-link.txt (relative, to Docs\notes.txt), and
// three.txt with its names Names\two.txt and Names\one.txt.
class LinkPage : public DirectoryExtension {
 protected:
  LinkPage() {
    for (const char* folder : {"Music", "Docs", "Names", "Link", "Dangling", "Symlink", "Root", "Share"})
      MakeDirectory(At(folder));
    for (const char* file : {"Docs\\notes.txt", "notes-link.txt", "three.txt"}) MakeFile(At(file));
    for (const char* name : {"Names\\two.txt", "Names\\one.txt"})
      EXPECT_TRUE(CreateHardLinkA(At(name).c_str(), At("three.txt").c_str(), nullptr));
    model.Plant(At("Dangling"), harness::NtfsModel::MountPointData(U16("\\??\\" + At("Gone")), u""));
    model.Plant(At("Symlink"), harness::NtfsModel::SymbolicLinkData(U16("\\??\\" + At("Music")), u""));
    model.Plant(At("notes-link.txt"), harness::NtfsModel::SymbolicLinkData(u"Docs\\notes.txt", u"", true));
    model.Plant(At("Root"), harness::NtfsModel::MountPointData(u"\\??\\E:", u""));  // a drive root, as stored
    model.Plant(At("Share"), harness::NtfsModel::SymbolicLinkData(u"\\??\\UNC\\server\\share", u""));
    PointLink("Music");
    imports.Replace("ShellExecuteW", &RecordOpen);
    g_opened.clear();
  }

  void PointLink(const char* target) {
    model.Forget(At("Link"));
    model.Plant(At("Link"), harness::NtfsModel::MountPointData(U16("\\??\\" + At(target)), u""));
  }
  std::wstring LinkTarget() {
    const auto data = model.ReparseData(At("Link"));
    std::wstring name;
    for (std::size_t i = 0; data && i < ((*data)[10] | ((*data)[11] << 8)); i += 2) name += (*data)[16 + i];
    return name;
  }

  // The Properties of `items`, as the shell asks for their pages.
  qm::ComPtr<IShellPropSheetExt> Properties(const std::vector<std::string>& items, const std::string& folder = "") {
    qm::ComPtr<IShellPropSheetExt> sheet_extension;
    auto object = Create();
    std::vector<std::string> paths;
    for (const std::string& item : items) paths.push_back(At(item));
    EXPECT_EQ(Initialize(object.get(), folder, paths), S_OK);
    EXPECT_EQ(object.As(sheet_extension), S_OK);
    return sheet_extension;
  }
};

TEST_F(LinkPage, ShowsEachKindOfLinkAndNothingForOtherItems) {
  const std::wstring s = Wide(scratch);
  const std::wstring kTarget = L"Kind: | ", kOpen = L"<&Open Target Folder>";
  struct Row {
    std::vector<std::string> items;
    std::wstring shown;   // empty: no page
    std::wstring opens;   // what the button opens
    std::vector<std::string> calls = {};  // without a page: every call AddPages made
    std::string folder = "";
  };
  const Row rows[] = {
      {{"Link"}, kTarget + L"Soft link (junction) | &Target: | [" + s + L"\\Music] | The target exists. | " + kOpen +
                     L" | " + kHint, L"open " + s + L"\\Music"},
      {{"Dangling"}, kTarget + L"Soft link (junction) | &Target: | [" + s + L"\\Gone] | The target is missing. | " +
                         kOpen + L" disabled | " + kHint, L""},
      {{"Symlink"}, kTarget + L"Symbolic link (absolute) | &Target: | [" + s + L"\\Music] read-only | The target exists. | " +
                        kOpen, L"open " + s + L"\\Music"},
      {{"notes-link.txt"}, kTarget + L"Symbolic link (relative to its folder) | &Target: | [Docs\\notes.txt] read-only | "
                             L"The target exists. | " + kOpen, L"open " + s + L"\\Docs"},
      {{"Root"}, kTarget + L"Soft link (junction) | &Target: | [E:] | The target exists. | " + kOpen + L" | " + kHint,
       L"open E:\\"},
      {{"Share"}, kTarget + L"Symbolic link (absolute) | &Target: | [\\\\server\\share] read-only | The target is missing. | " +
                      kOpen + L" disabled", L""},
      {{"three.txt"}, kTarget + L"Hard link: the file has 3 names | &Other names of this file on its drive: | [" + s +
                          L"\\Names\\one.txt\r\n" + s + L"\\Names\\two.txt] read-only", L""},
      {{"Docs\\notes.txt"}, L"", L"", {"GetFileAttributesA", "CreateFileA", "GetFileInformationByHandle", "CloseHandle"}},
      {{"Music"}, L"", L"", {"GetFileAttributesA"}},
      {{"Link", "three.txt"}, L"", L"", {}},
      {{"Link"}, L"", L"", {}, "Docs"},  // a drop onto a folder
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.items[0] + " " + std::to_string(row.items.size()));
    const auto extension = Properties(row.items, row.folder.empty() ? "" : At(row.folder));
    harness::PropertySheet sheet(dll.module);
    imports.StartRecording();
    EXPECT_EQ(sheet.AddPages(extension.get()), S_OK);
    const auto calls = imports.StopRecording();
    ASSERT_EQ(sheet.pages(), row.shown.empty() ? 0u : 1u);
    if (row.shown.empty()) {
      EXPECT_EQ(calls, row.calls);
      continue;
    }
    const HWND page = sheet.Show(L"Properties");
    EXPECT_EQ(Describe(page), row.shown);
    const HWND open = GetDlgItem(page, IDC_LINK_OPEN_TARGET);  // as a user can: shown and enabled
    if (IsWindowVisible(open) && IsWindowEnabled(open)) SendMessageW(open, BM_CLICK, 0, 0);
    EXPECT_EQ(g_opened, row.opens);
    g_opened.clear();
  }
  EXPECT_TRUE(observed().boxes.empty());
}

TEST_F(LinkPage, ApplyRepointsAJunctionOnlyToAnExistingLocalFolderOtherThanItselfOrAParent) {
  MakeFile(At("Docs\\report.txt"));
  g_drive_type = imports.Replace("GetDriveTypeA", &NetworkDriveN);
  const struct {
    std::wstring typed;
    DWORD refused;  // the error shown; 0: applied
  } rows[] = {
      {Wide(At("Docs")) + L"\\", 0},
      {Wide(At("Gone")), ERROR_FILE_NOT_FOUND},
      {Wide(At("Docs\\report.txt")), ERROR_DIRECTORY},
      {L"N:\\Music", ERROR_DIRECTORY},
      {Wide(At("Link")), ERROR_BAD_PATHNAME},
      {Wide(scratch), ERROR_BAD_PATHNAME},
      {L"Docs", ERROR_BAD_PATHNAME},
      {Wide(scratch) + L"\\L\u012Bnk", ERROR_NO_UNICODE_TRANSLATION},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.typed.begin(), row.typed.end()));
    PointLink("Music");
    observed() = Observed();
    harness::PropertySheet sheet(dll.module);
    ASSERT_EQ(sheet.AddPages(Properties({"Link"}).get()), S_OK);
    const HWND page = sheet.Show(L"Properties");
    Retype(page, row.typed);
    EXPECT_EQ(sheet.Apply(), !row.refused);
    EXPECT_EQ(observed().boxes, row.refused ? std::vector{qm::FormatErrorText(HRESULT_FROM_WIN32(row.refused), true)} : std::vector<std::string>{});
    EXPECT_EQ(LinkTarget(), L"\\??\\" + Wide(At(row.refused ? "Music" : "Docs")));
    if (!row.refused) {
      EXPECT_EQ(observed().notified, std::vector<std::string>{std::to_string(SHCNE_UPDATEITEM) + " " + At("Link")});
      EXPECT_NE(Describe(page).find(L"[" + Wide(At("Docs")) + L"] | The target exists."), std::wstring::npos);
    }
  }
  imports.Replace("GetDriveTypeA", g_drive_type);
}

// Every failing call leaves nothing open and no page object behind (the DLL
// can unload); an Apply that fails keeps the old target.
TEST_F(LinkPage, EveryFailingCallOfAddPagesAndApplyLeavesNothingOpenAndTheOldTargetOnFailure) {
  auto* can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(dll.module, "DllCanUnloadNow"));
  qm::ComPtr<IShellPropSheetExt> extension;  // made before each run, released in it
  const char* item = nullptr;
  bool apply = false;
  harness::FaultSweepOptions options;
  options.prepare = [&] {
    PointLink("Music");
    observed() = Observed();
    extension = Properties({item});
  };
  options.skip = {"MessageBoxA"};
  // AddPages, the page shown, and with the new target typed: the sheet's Apply.
  const auto operation = [&] {
    bool done = false;
    {
      harness::PropertySheet sheet(dll.module);
      done = SUCCEEDED(sheet.AddPages(extension.get())) && sheet.pages() == 1;
      extension.reset();
      EXPECT_EQ(can_unload(), sheet.pages() ? S_FALSE : S_OK) << "a page keeps the DLL loaded";
      const HWND page = sheet.Show(L"Properties");
      if (apply) done = (Retype(page, Wide(At("Docs"))), sheet.Apply());
    }
    EXPECT_EQ(can_unload(), S_OK) << "no page object left";
    return done ? S_OK : E_FAIL;
  };
  for (const auto& [name, with_apply] : {std::pair{"Link", false}, {"three.txt", false}, {"Link", true}}) {
    SCOPED_TRACE(std::string(name) + (with_apply ? ", Apply" : ""));
    item = name;
    apply = with_apply;
    const auto faults = harness::SweepFaults(
        imports, operation,
        [&](const harness::Fault& fault, HRESULT status) {
          SCOPED_TRACE(harness::Describe(fault));
          // Re-pointed only when the sheet was told so; a page that lost its
          // object or its edit's answer (calls that report no failure) applies nothing.
          const std::wstring target = LinkTarget();
          EXPECT_TRUE(target == L"\\??\\" + Wide(At("Music")) || (status == S_OK && target == L"\\??\\" + Wide(At("Docs"))));
        },
        options);
    EXPECT_GE(faults.size(), 6u);
  }
}

}  // namespace
}  // namespace extension_test
