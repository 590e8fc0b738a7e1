// Running the link commands: links on disk, the shell told, the window updated,
// failures shown and returned.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "extension_fixture.h"
#include "harness/fault_sweep.h"

namespace extension_test {
namespace {

std::wstring SubstituteNameOf(harness::NtfsModel& model, const std::string& link) {
  const auto data = model.ReparseData(link);
  if (!data || data->size() < 20) return L"<none>";
  const auto length = static_cast<std::size_t>((*data)[10] | ((*data)[11] << 8));
  std::wstring name;
  for (std::size_t i = 0; i < length; i += 2) name += static_cast<wchar_t>((*data)[16 + i] | ((*data)[17 + i] << 8));
  return name;
}

std::wstring NtPathOf(const std::string& path) { return L"\\??\\" + Wide(path); }

// The names in `directory`, in the order the file system lists them.
std::vector<std::string> Contents(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::strcmp(data.cFileName, ".") && std::strcmp(data.cFileName, "..")) names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

TEST_F(DirectoryExtension, DroppedDirectoryBecomesASoftLinkNotifiedAndSelectedAtTheCursor) {
  MakeDirectory(At("Links"));
  MakeDirectory(At("Music"));
  fakes::Recording recording;
  fakes::RecordingView view(recording, true);
  fakes::RecordingBrowser browser(&view);
  fakes::ExplorerWindow window(&browser);
  SetCursorPos(300, 250);

  auto menu = Dropped(At("Links"), {At("Music")});
  EXPECT_EQ(Invoke(menu.get(), 0, window.child()), S_OK);

  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Music")), NtPathOf(At("Music")));
  EXPECT_EQ(observed().notified, std::vector<std::string>{"2 " + At("Links\\Music")});
  POINT cursor{300, 250};
  ScreenToClient(window.child(), &cursor);
  EXPECT_EQ(recording.calls, (std::vector<std::string>{
                                 "Refresh", "SelectItem 4 <null>",
                                 "SelectAndPositionItem 153 " + fakes::ChildNameOfPath(At("Links\\Music")) + " " +
                                     std::to_string(cursor.x) + "," + std::to_string(cursor.y)}));
  EXPECT_EQ(view.references(), 1);
  EXPECT_EQ(browser.references(), 1);
  EXPECT_TRUE(observed().boxes.empty());
}

TEST_F(DirectoryExtension, LinksTakeFreeNamesInDragOrder) {
  MakeDirectory(At("Links"));
  MakeDirectory(At("Music"));
  MakeDirectory(At("Photos"));
  MakeDirectory(At("Links\\Music"));  // taken: the link gets the next name
  MakeDirectory(At("Links\\E"));      // a drive's name is its letter
  auto menu = Dropped(At("Links"), {At("Music"), At("Photos"), "E:\\"});
  EXPECT_EQ(Invoke(menu.get(), 0), S_OK);
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Soft Link to Music")), NtPathOf(At("Music")));
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Photos")), NtPathOf(At("Photos")));
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Soft Link to E")), L"\\??\\E:");
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Music")), L"<none>");
  // Without a shell browser the shell is still told.
  EXPECT_EQ(observed().notified.size(), 3u);
}

TEST_F(DirectoryExtension, DroppedFilesBecomeHardLinksSelectedWithoutPositionInAPlainView) {
  MakeDirectory(At("Links"));
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeFile(At(name));
  fakes::Recording recording;
  fakes::RecordingView view(recording, false);
  fakes::RecordingBrowser browser(&view);
  fakes::ExplorerWindow window(&browser);

  auto menu = Dropped(At("Links"), {At("a.txt"), At("b.txt"), At("c.txt")});
  EXPECT_EQ(Invoke(menu.get(), 2, window.frame()), S_OK);
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(LinkCount(At(std::string("Links\\") + name)), 2u);
  EXPECT_EQ(observed().notified.size(), 3u);
  ASSERT_EQ(recording.calls.size(), 5u);
  EXPECT_EQ(recording.calls[2], "SelectItem 153 " + fakes::ChildNameOfPath(At("Links\\a.txt")));
}

TEST_F(DirectoryExtension, PastingTheSameFileTwiceIntoItsFolderNumbersTheSecondLink) {
  MakeFile(At("report.txt"));
  harness::PutFilesOnClipboard({Wide(At("report.txt"))});
  auto menu = ContextMenuOn({scratch});
  EXPECT_EQ(Invoke(menu.get(), 3), S_OK);
  EXPECT_EQ(Invoke(menu.get(), 3), S_OK);
  EXPECT_EQ(LinkCount(At("report.txt")), 3u);
  EXPECT_TRUE(Exists(At("Hard Link to report.txt")));
  EXPECT_TRUE(Exists(At("Hard Link to report (2).txt")));

  // A paste selects without positioning: only a drop lands at the cursor.
  MakeDirectory(At("Music"));
  harness::PutFilesOnClipboard({Wide(At("Music"))});
  fakes::Recording recording;
  fakes::RecordingView view(recording, true);
  fakes::RecordingBrowser browser(&view);
  fakes::ExplorerWindow window(&browser);
  EXPECT_EQ(Invoke(menu.get(), 1, window.child()), S_OK);
  EXPECT_EQ(SubstituteNameOf(model, At("Soft Link to Music")), NtPathOf(At("Music")));
  ASSERT_EQ(recording.calls.size(), 3u);
  EXPECT_EQ(recording.calls[2].rfind("SelectAndPositionItem 25 ", 0), 0u) << recording.calls[2];
}

TEST_F(DirectoryExtension, CommandsOutsideTheFourAndPastesWithoutOneItemDoNothing) {
  MakeDirectory(At("A"));
  MakeDirectory(At("B"));
  MakeFile(At("f.txt"));
  harness::PutFilesOnClipboard({Wide(At("f.txt"))});
  auto two = ContextMenuOn({At("A"), At("B")});
  EXPECT_EQ(Invoke(two.get(), 3), S_OK);
  EXPECT_EQ(Invoke(two.get(), 4), S_FALSE);
  // The drag commands need a drop folder: no links beside the current directory.
  EXPECT_EQ(Invoke(two.get(), 0), E_INVALIDARG);
  EXPECT_EQ(Invoke(two.get(), 2), E_INVALIDARG);
  EXPECT_TRUE(observed().boxes.empty());
  EXPECT_EQ(two->InvokeCommand(nullptr), E_INVALIDARG);
  EXPECT_EQ(LinkCount(At("f.txt")), 1u);
  EXPECT_TRUE(observed().notified.empty());
}

TEST_F(DirectoryExtension, TextVerbsRunTheirCommandsAndOtherTextsAreLeftToOtherHandlers) {
  MakeDirectory(At("Links"));
  MakeDirectory(At("Music"));
  MakeFile(At("a.txt"));
  auto drag_directory = Dropped(At("Links"), {At("Music")});
  auto drag_file = Dropped(At("Links"), {At("a.txt")});
  auto on_links = ContextMenuOn({At("Links")});
  // Text above 4 GiB whose low word reads like offset 2.
  char* high = nullptr;
  for (std::uintptr_t base = 1ull << 32; !high && base < 1ull << 40; base += 1ull << 32)
    high = static_cast<char*>(VirtualAlloc(reinterpret_cast<void*>(base), 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_TRUE(high);
  std::strcpy(high + 2, "open");
  const struct {
    LPCSTR verb;
    IContextMenu* menu;
    const char* copied;  // put on the clipboard first
    HRESULT status;
  } rows[] = {
      {"Create Soft Links", drag_directory.get(), nullptr, S_OK},
      {"Create Hard Links", drag_file.get(), nullptr, S_OK},
      {"paste as soft links", on_links.get(), "Music", S_OK},
      {"Paste as Hard Links", on_links.get(), "a.txt", S_OK},
      {"open", drag_directory.get(), nullptr, E_INVALIDARG},
      {high + 2, drag_file.get(), nullptr, E_INVALIDARG},
  };
  for (const auto& row : rows) {
    if (row.copied) harness::PutFilesOnClipboard({Wide(At(row.copied))});
    CMINVOKECOMMANDINFO info{sizeof info, CMIC_MASK_FLAG_NO_UI, nullptr, row.verb};
    EXPECT_EQ(row.menu->InvokeCommand(&info), row.status) << row.verb;
  }
  VirtualFree(high, 0, MEM_RELEASE);
  auto made = Contents(At("Links"));
  std::sort(made.begin(), made.end());
  EXPECT_EQ(made, (std::vector<std::string>{"Hard Link to a.txt", "Music", "Soft Link to Music", "a.txt"}));
}

TEST_F(DirectoryExtension, ANameTheCodePageCannotHoldFailsAndNeverLinksALookAlike) {
  // Code page 1252 has no "ā" or "ī"; their best fits are "a" and "i".
  constexpr HRESULT kNoTranslation = HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
  MakeDirectory(At("Links"));
  MakeFile(At("a.txt"));
  ASSERT_TRUE(CreateDirectoryW(WideAt(L"L\u012bnks").c_str(), nullptr));
  CloseHandle(CreateFileW(WideAt(L"\u0101.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  struct Row {
    const char* where;
    std::wstring folder;
    std::vector<std::wstring> items;
    std::wstring copied;
    UINT offset;
  };
  const Row rows[] = {
      {"drop list", WideAt(L"Links"), {WideAt(L"\u0101.txt")}, L"", 2},
      {"clipboard", L"", {WideAt(L"Links")}, WideAt(L"\u0101.txt"), 3},
      {"drop folder", WideAt(L"L\u012bnks"), {WideAt(L"a.txt")}, L"", 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.where);
    if (!row.copied.empty()) harness::PutFilesOnClipboard({row.copied});
    auto menu = Create();
    HRESULT status = Initialize(menu.get(), row.folder, row.items);
    if (SUCCEEDED(status)) status = Invoke(menu.get(), row.offset, nullptr, CMIC_MASK_FLAG_NO_UI);
    EXPECT_EQ(status, kNoTranslation);
    EXPECT_EQ(LinkCount(At("a.txt")), 1u);
  }
  EXPECT_EQ(Contents(At("Links")), std::vector<std::string>{});
}

TEST_F(DirectoryExtension, ASoftLinkLeadsToItsSourceWhateverTheThreadLocale) {
  // Explorer's thread locale is the user's formats locale: here Russian (code
  // page 1251) over the system's 1252.
  MakeDirectory(At("Links"));
  ASSERT_TRUE(CreateDirectoryW(WideAt(L"Caf\u00e9").c_str(), nullptr));
  const LCID before = GetThreadLocale();
  SetThreadLocale(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT));
  auto menu = Create();
  HRESULT status = Initialize(menu.get(), WideAt(L"Links"), {WideAt(L"Caf\u00e9")});
  if (SUCCEEDED(status)) status = Invoke(menu.get(), 0);
  SetThreadLocale(before);
  EXPECT_EQ(status, S_OK);
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Caf\xE9")), L"\\??\\" + WideAt(L"Caf\u00e9"));
}

TEST_F(DirectoryExtension, EachLinkNeedsASourceOfItsKindAndTheFirstThatHasNoneStopsTheCommand) {
  // The clipboard may change between the menu and the command.
  MakeDirectory(At("Music"));
  MakeFile(At("notes.txt"));
  RemoveTree("E:\\Shared");
  MakeDirectory("E:\\Shared");
  imports.Replace("GetDriveTypeA", &NetworkDriveE);
  auto dest = ContextMenuOn({At("Dest")});
  constexpr HRESULT kNotADirectory = HRESULT_FROM_WIN32(ERROR_DIRECTORY);
  struct Row {
    std::vector<std::wstring> copied;
    UINT offset;
    HRESULT status;
    std::vector<std::string> made;
  };
  const Row rows[] = {
      {{Wide(At("notes.txt")), L"\\\\server\\share\\dir"}, 1, kNotADirectory, {}},
      {{Wide(At("Music")), L"\\\\server\\share\\dir"}, 1, kNotADirectory, {"Music"}},
      {{L"E:\\Shared"}, 1, kNotADirectory, {}},  // a network drive
      {{Wide(At("Music"))}, 3, E_ACCESSDENIED, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    RemoveTree(At("Dest"));
    MakeDirectory(At("Dest"));
    harness::PutFilesOnClipboard(row.copied);
    EXPECT_EQ(Invoke(dest.get(), row.offset, nullptr, CMIC_MASK_FLAG_NO_UI), row.status);
    EXPECT_EQ(Contents(At("Dest")), row.made);
  }
  RemoveTree("E:\\Shared");
}

TEST_F(DirectoryExtension, TheViewComesFromTheSiteAndAForeignWindowIsNotAskedForIt) {
  MakeDirectory(At("Links"));
  MakeDirectory(At("Music"));
  fakes::Recording recording;
  fakes::RecordingView view(recording, false);
  fakes::RecordingBrowser browser(&view);
  // Another file manager may give Explorer's message a meaning of its own.
  fakes::ExplorerWindow foreign("QmOtherFileManager", 1);
  auto menu = Dropped(At("Links"), {At("Music")});
  EXPECT_EQ(Invoke(menu.get(), 0, foreign.child()), S_OK);
  EXPECT_TRUE(recording.calls.empty());

  fakes::BrowserSite site(&browser);
  qm::ComPtr<IObjectWithSite> with_site;
  ASSERT_EQ(menu.As(with_site), S_OK);
  with_site->SetSite(&site);
  EXPECT_EQ(Invoke(menu.get(), 0, foreign.child()), S_OK);
  with_site->SetSite(nullptr);
  EXPECT_EQ(recording.calls, (std::vector<std::string>{
                                 "Refresh", "SelectItem 4 <null>",
                                 "SelectItem 153 " + fakes::ChildNameOfPath(At("Links\\Soft Link to Music"))}));
  EXPECT_EQ(observed().notified,
            (std::vector<std::string>{"2 " + At("Links\\Music"), "2 " + At("Links\\Soft Link to Music")}));
  EXPECT_EQ(browser.references(), 1);
}

TEST_F(DirectoryExtension, AFailingHardLinkStopsTheCommandShowsAndReturnsItsStatus) {
  MakeDirectory(At("Links"));
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) MakeFile(At(name));
  fakes::Recording recording;
  fakes::RecordingView view(recording, true);
  fakes::RecordingBrowser browser(&view);
  fakes::ExplorerWindow window(&browser);
  auto menu = Dropped(At("Links"), {At("a.txt"), At("b.txt"), At("c.txt")});

  for (DWORD mask : {DWORD{0}, DWORD{CMIC_MASK_FLAG_NO_UI}}) {
    RemoveTree(At("Links"));
    MakeDirectory(At("Links"));
    observed() = Observed();
    imports.ResetCounts();
    imports.FailCall("CreateHardLinkA", 2, ERROR_ACCESS_DENIED);
    const HCURSOR before = GetCursor();
    EXPECT_EQ(Invoke(menu.get(), 2, window.child(), mask), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    EXPECT_EQ(GetCursor(), before);
    EXPECT_TRUE(Exists(At("Links\\a.txt")));
    EXPECT_FALSE(Exists(At("Links\\b.txt")));
    EXPECT_FALSE(Exists(At("Links\\c.txt")));
    EXPECT_EQ(imports.Calls("CreateHardLinkA"), 2u);
    EXPECT_TRUE(observed().notified.empty());
    EXPECT_TRUE(recording.calls.empty());
    if (mask == 0) {
      ASSERT_EQ(observed().boxes.size(), 1u);
      EXPECT_NE(observed().boxes[0].find("ccess"), std::string::npos) << observed().boxes[0];
    } else {
      EXPECT_TRUE(observed().boxes.empty());
    }
  }
}

TEST_F(DirectoryExtension, EveryFailingCallLeavesNoOpenClipboardNoWaitCursorAndNoStrayLink) {
  MakeDirectory(At("Target"));
  MakeFile(At("a.txt"));
  MakeFile(At("b.txt"));
  harness::PutFilesOnClipboard({Wide(At("a.txt")), Wide(At("b.txt"))});
  auto menu = ContextMenuOn({At("Target")});
  const HCURSOR before = GetCursor();
  harness::FaultSweepOptions options;
  options.prepare = [&] {
    RemoveTree(At("Target"));
    MakeDirectory(At("Target"));
    observed() = Observed();
  };
  options.skip = {"SHChangeNotify", "MessageBoxA"};
  const auto faults = harness::SweepFaults(
      imports, [&] { return Invoke(menu.get(), 3, nullptr, CMIC_MASK_FLAG_NO_UI); },
      [&](const harness::Fault& fault, HRESULT status) {
        EXPECT_EQ(GetCursor(), before) << harness::Describe(fault);
        EXPECT_TRUE(OpenClipboard(nullptr)) << harness::Describe(fault);
        CloseClipboard();
        // Either the command failed with a status, or a failure it may absorb.
        if (FAILED(status)) {
          EXPECT_TRUE(observed().notified.empty()) << harness::Describe(fault);
        }
        EXPECT_TRUE(observed().boxes.empty()) << harness::Describe(fault);
      },
      options);
  EXPECT_GE(faults.size(), 4u);
}

}  // namespace
}  // namespace extension_test
