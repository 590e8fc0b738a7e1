// Running the link commands: links on disk, the shell told, the window updated,
// failures shown and returned.
#include <gtest/gtest.h>

#include "extension_fixture.h"
#include "harness/fault_sweep.h"

namespace extension_test {
namespace {

std::string SubstituteNameOf(harness::NtfsModel& model, const std::string& link) {
  const auto data = model.ReparseData(link);
  if (!data || data->size() < 20) return "<none>";
  const auto length = static_cast<std::size_t>((*data)[10] | ((*data)[11] << 8));
  std::string name;
  for (std::size_t i = 0; i < length; i += 2) name += static_cast<char>((*data)[16 + i]);
  return name;
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

  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Music")), "\\??\\" + At("Music"));
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
  auto menu = Dropped(At("Links"), {At("Music"), At("Photos")});
  EXPECT_EQ(Invoke(menu.get(), 0), S_OK);
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Soft Link to Music")), "\\??\\" + At("Music"));
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Photos")), "\\??\\" + At("Photos"));
  EXPECT_EQ(SubstituteNameOf(model, At("Links\\Music")), "<none>");
  // Without a shell browser above the window nothing is announced.
  EXPECT_TRUE(observed().notified.empty());
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

  MakeDirectory(At("Music"));
  harness::PutFilesOnClipboard({Wide(At("Music"))});
  EXPECT_EQ(Invoke(menu.get(), 1), S_OK);
  EXPECT_EQ(SubstituteNameOf(model, At("Soft Link to Music")), "\\??\\" + At("Music"));
}

TEST_F(DirectoryExtension, CommandsOutsideTheFourAndPastesWithoutOneItemDoNothing) {
  MakeDirectory(At("A"));
  MakeDirectory(At("B"));
  MakeFile(At("f.txt"));
  harness::PutFilesOnClipboard({Wide(At("f.txt"))});
  auto two = ContextMenuOn({At("A"), At("B")});
  EXPECT_EQ(Invoke(two.get(), 3), S_OK);
  EXPECT_EQ(Invoke(two.get(), 4), S_FALSE);
  CMINVOKECOMMANDINFO info{sizeof info};
  info.lpVerb = "Create Soft Links";
  EXPECT_EQ(two->InvokeCommand(&info), S_OK);
  // A text whose address has zero bits 16 to 31 is still text, not offset 2.
  info.lpVerb = reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(0x100000000ull) | 2);
  EXPECT_EQ(two->InvokeCommand(&info), S_OK);
  EXPECT_TRUE(observed().boxes.empty());
  EXPECT_EQ(two->InvokeCommand(nullptr), E_INVALIDARG);
  EXPECT_EQ(LinkCount(At("f.txt")), 1u);
  EXPECT_TRUE(observed().notified.empty());
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
