// The copy hook as the shell calls it: once per item, through ICopyHookA or
// ICopyHookW, with soft links of the NTFS model and the answers it obeys.
#include <gtest/gtest.h>

#include "extension_fixture.h"
#include "harness/fault_sweep.h"

namespace extension_test {
namespace {


constexpr DWORD kLinkAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

std::u16string U16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class CopyHook : public DirectoryExtension {
 protected:
  CopyHook() {
    object = Create();
    MakeDirectory(At("Music"));
    MakeFile(At("Music\\song.mp3"));
    MakeLink(At("Link"), At("Music"));
    MakeDirectory(At("Dest"));
  }

  void MakeLink(const std::string& link, const std::string& target) {
    MakeDirectory(link);
    model.Plant(link, harness::NtfsModel::MountPointData(U16("\\??\\" + target), u""));
  }

  // The substitute name stored at `path`, "<none>" for no junction.
  std::string LinkAt(const std::string& path) {
    const auto data = model.ReparseData(path);
    if (!data || data->size() < 16 || (*data)[0] != 3) return "<none>";
    const std::size_t length = (*data)[10] | ((*data)[11] << 8);
    std::string name;
    for (std::size_t i = 0; i < length && 16 + i < data->size(); i += 2) name += static_cast<char>((*data)[16 + i]);
    return name;
  }

  // CopyCallback of a fresh object through ICopyHookA, or ICopyHookW with the
  // same paths widened; a null path stays null.
  UINT Call(bool wide, HWND window, UINT operation, UINT flags, const char* source, DWORD attributes,
            const char* destination) {
    if (!wide) {
      qm::ComPtr<ICopyHookA> hook;
      EXPECT_EQ(object->QueryInterface(kIidCopyHookA, hook.put_void()), S_OK);
      return hook ? hook->CopyCallback(window, operation, flags, source, attributes, destination, 0) : 0;
    }
    qm::ComPtr<ICopyHookW> hook;
    EXPECT_EQ(object->QueryInterface(kIidCopyHookW, hook.put_void()), S_OK);
    const std::wstring wide_source = source ? Wide(source) : L"", wide_destination = destination ? Wide(destination) : L"";
    return hook ? hook->CopyCallback(window, operation, flags, source ? wide_source.c_str() : nullptr, attributes,
                                     destination ? wide_destination.c_str() : nullptr, 0)
                : 0;
  }

  std::string Music() const { return "\\??\\" + At("Music"); }

  qm::ComPtr<IContextMenu> object;  // one object for the test, as the shell uses one per operation
};

TEST_F(CopyHook, LeavesItemsToTheShellOrHandlesOnlyTheLink) {
  const HWND desktop = GetDesktopWindow();
  MakeDirectory(At("Plain"));
  MakeFile(At("Plain\\keep.txt"));
  MakeFile(At("file.txt"));
  MakeDirectory(At("Symlink"));
  model.Plant(At("Symlink"), harness::NtfsModel::SymbolicLinkData(U16("\\??\\" + At("Music")), u""));
  MakeDirectory("E:\\CopyHookFat");
  model.DescribeDrive('E', "FAT32");

  struct Row {
    const char* name;
    HWND window;
    UINT operation, flags;
    std::string source;
    DWORD attributes;
    std::string destination;  // empty: none
    UINT answer;
    std::vector<std::pair<std::string, std::string>> links;  // junctions expected afterwards
    bool source_stays;
  };
  const std::string dest_link = At("Dest\\Link");
  const Row rows[] = {
      {"silent delete of a link", nullptr, FO_DELETE, FOF_ALLOWUNDO, At("Link"), kLinkAttributes, "", IDNO, {},
       false},
      {"unconfirmed delete of a link", desktop, FO_DELETE, FOF_NOCONFIRMATION, At("Link"), kLinkAttributes, "",
       IDNO, {}, false},
      {"delete of a plain directory", desktop, FO_DELETE, 0, At("Plain"), FILE_ATTRIBUTE_DIRECTORY, "", IDYES, {},
       true},
      {"delete of a file", desktop, FO_DELETE, 0, At("file.txt"), FILE_ATTRIBUTE_REPARSE_POINT, "", IDYES, {},
       true},
      {"rename of a link", desktop, FO_RENAME, 0, At("Link"), kLinkAttributes, At("Renamed"), IDYES,
       {{At("Link"), Music()}}, true},
      {"silent copy of a link", nullptr, FO_COPY, 0, At("Link"), kLinkAttributes, dest_link, IDYES,
       {{At("Link"), Music()}}, true},
      {"unconfirmed copy of a directory", desktop, FO_COPY, FOF_NOCONFIRMATION, At("Plain"), FILE_ATTRIBUTE_DIRECTORY,
       At("Dest\\Plain"), IDYES, {}, true},
      {"silent move of a link", nullptr, FO_MOVE, 0, At("Link"), kLinkAttributes, dest_link, IDNO,
       {{dest_link, Music()}}, false},
      {"silent move of a link to FAT", nullptr, FO_MOVE, 0, At("Link"), kLinkAttributes, "E:\\CopyHookFat\\Link",
       IDYES, {{At("Link"), Music()}}, true},
      {"silent move of a link to UNC", nullptr, FO_MOVE, 0, At("Link"), kLinkAttributes, "\\\\server\\share\\Link",
       IDYES, {{At("Link"), Music()}}, true},
      // Another kind of reparse point has no target to link to: only ever removed.
      {"silent move of a symbolic link", nullptr, FO_MOVE, 0, At("Symlink"), kLinkAttributes,
       At("Dest\\Symlink"), IDYES, {{At("Dest\\Symlink"), "<none>"}}, true},
      {"copy of a symbolic link", desktop, FO_COPY, 0, At("Symlink"), kLinkAttributes, At("Dest\\Symlink"),
       IDYES, {{At("Dest\\Symlink"), "<none>"}}, true},
      {"silent delete of a symbolic link", nullptr, FO_DELETE, 0, At("Symlink"), kLinkAttributes, "", IDNO, {},
       false},
  };
  for (bool wide : {false, true}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.name) + (wide ? " (W)" : " (A)"));
      observed() = Observed();
      const char* destination = row.destination.empty() ? nullptr : row.destination.c_str();
      EXPECT_EQ(Call(wide, row.window, row.operation, row.flags, row.source.c_str(), row.attributes, destination),
                row.answer);
      EXPECT_EQ(Exists(row.source), row.source_stays);
      for (const auto& [path, substitute] : row.links) EXPECT_EQ(LinkAt(path), substitute) << path;
      EXPECT_TRUE(Exists(At("Music\\song.mp3")));
      EXPECT_TRUE(observed().boxes.empty());
      // Put the world back for the next row.
      RemoveTree(dest_link);
      model.Forget(dest_link);
      if (!Exists(At("Link"))) MakeLink(At("Link"), At("Music"));
      if (!Exists(At("Symlink"))) {
        MakeDirectory(At("Symlink"));
        model.Plant(At("Symlink"), harness::NtfsModel::SymbolicLinkData(U16("\\??\\" + At("Music")), u""));
      }
    }
  }
  RemoveTree("E:\\CopyHookFat");
}

TEST_F(CopyHook, ADestinationVolumeThatCannotAnswerIsShownAndTheMoveLeftToTheShell) {
  MakeDirectory("E:\\CopyHookNoMedium");
  model.RemoveMedium('E');
  for (UINT flags : {0u, UINT{FOF_NOERRORUI}}) {
    observed() = Observed();
    EXPECT_EQ(Call(true, nullptr, FO_MOVE, flags, At("Link").c_str(), kLinkAttributes, "E:\\CopyHookNoMedium\\Link"),
              IDYES);
    EXPECT_EQ(LinkAt(At("Link")), Music());
    if (flags & FOF_NOERRORUI) {
      EXPECT_TRUE(observed().boxes.empty());
    } else {
      ASSERT_EQ(observed().boxes.size(), 1u);
      EXPECT_NE(observed().boxes[0].find("ready"), std::string::npos) << observed().boxes[0];
    }
  }
  RemoveTree("E:\\CopyHookNoMedium");
}

TEST_F(CopyHook, ALinkMovedOntoATakenNameGetsTheNextFreeSoftLinkName) {
  MakeDirectory(At("Dest\\Link"));
  EXPECT_EQ(Call(false, nullptr, FO_MOVE, 0, At("Link").c_str(), kLinkAttributes, At("Dest\\Link").c_str()), IDNO);
  EXPECT_EQ(LinkAt(At("Dest\\Soft Link to Link")), Music());

  for (int n = 2; n <= 99; ++n) MakeDirectory(At("Dest\\Soft Link to Link (" + std::to_string(n) + ")"));
  MakeLink(At("Link"), At("Music"));
  for (int round = 0; round < 2; ++round) {
    observed() = Observed();
    const UINT answer = Call(false, nullptr, FO_MOVE, 0, At("Link").c_str(), kLinkAttributes, At("Dest\\Link").c_str());
    if (round == 0) {
      // Every name is taken: shown, and the operation stops with the link in place.
      EXPECT_EQ(answer, static_cast<UINT>(IDCANCEL));
      EXPECT_EQ(observed().boxes, std::vector<std::string>{"Error 0xa20101c4"});
      EXPECT_EQ(LinkAt(At("Link")), Music());
      RemoveTree(At("Dest\\Soft Link to Link (99)"));
    } else {
      EXPECT_EQ(answer, static_cast<UINT>(IDNO));
      EXPECT_EQ(LinkAt(At("Dest\\Soft Link to Link (99)")), Music());
      EXPECT_FALSE(Exists(At("Link")));
    }
  }
}

std::vector<HCURSOR>& cursors() {
  static std::vector<HCURSOR> shown;
  return shown;
}

HCURSOR WINAPI RecordCursor(HCURSOR cursor) {
  cursors().push_back(cursor);
  return SetCursor(cursor);
}

TEST_F(CopyHook, ASilentMoveWithoutRenameTurnsAnEmptyDirectoryIntoTheLinkAndStopsAtAFullOne) {
  MakeDirectory(At("Dest\\Link"));
  cursors().clear();
  auto* previous = imports.Replace("SetCursor", &RecordCursor);
  const HCURSOR before = GetCursor();
  EXPECT_EQ(Call(false, nullptr, FO_MOVE, FOF_SILENT, At("Link").c_str(), kLinkAttributes, At("Dest\\Link").c_str()),
            IDNO);
  EXPECT_EQ(LinkAt(At("Dest\\Link")), Music());
  // The link moved under the wait cursor.
  EXPECT_EQ(cursors(), (std::vector<HCURSOR>{LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)), before}));
  imports.Replace("SetCursor", previous);

  MakeLink(At("Link"), At("Music"));
  MakeDirectory(At("Dest\\Full"));
  MakeFile(At("Dest\\Full\\mine.txt"));
  for (UINT flags : {UINT{FOF_SILENT}, UINT{FOF_SILENT | FOF_NOERRORUI}}) {
    observed() = Observed();
    EXPECT_EQ(Call(true, nullptr, FO_MOVE, flags, At("Link").c_str(), kLinkAttributes, At("Dest\\Full").c_str()),
              static_cast<UINT>(IDCANCEL));
    EXPECT_EQ(LinkAt(At("Link")), Music());
    EXPECT_TRUE(Exists(At("Dest\\Full\\mine.txt")));
    EXPECT_EQ(LinkAt(At("Dest\\Full")), "<none>");
    EXPECT_EQ(observed().boxes.size(), (flags & FOF_NOERRORUI) ? 0u : 1u);
  }
}

// A swept run ends with the action done and the item skipped, or with nothing
// changed: the item left to the shell after a failure to find out (shown at
// most once), or the operation stopped after a shown failure.
void ExpectSweptOutcome(const harness::Fault& fault, UINT answer, bool acted, bool untouched, std::size_t boxes,
                        bool no_error_ui) {
  SCOPED_TRACE(harness::Describe(fault));
  if (answer == IDNO) {
    EXPECT_TRUE(acted);
    EXPECT_EQ(boxes, 0u);
    return;
  }
  EXPECT_TRUE(untouched) << "answer " << answer;
  EXPECT_TRUE(answer == IDCANCEL || answer == IDYES) << answer;
  if (answer == IDCANCEL) EXPECT_EQ(boxes, no_error_ui ? 0u : 1u);
  if (answer == IDYES) EXPECT_LE(boxes, no_error_ui ? 0u : 1u);
}

TEST_F(CopyHook, EveryFailingCallOfADeleteCancelsOrRemovesOnlyTheLink) {
  const HCURSOR before = GetCursor();
  for (UINT flags : {0u, UINT{FOF_NOERRORUI}}) {
    harness::FaultSweepOptions options;
    options.prepare = [&] {
      if (!Exists(At("Link"))) MakeLink(At("Link"), At("Music"));
      observed() = Observed();
    };
    options.skip = {"MessageBoxA", "PathIsDirectoryA"};  // a directory test answers, it does not fail
    UINT answer = 0;
    const auto faults = harness::SweepFaults(
        imports,
        [&] {
          answer = Call(false, nullptr, FO_DELETE, flags, At("Link").c_str(), kLinkAttributes, nullptr);
          return answer == IDNO ? S_OK : E_FAIL;
        },
        [&](const harness::Fault& fault, HRESULT) {
          EXPECT_NE(answer, static_cast<UINT>(IDYES)) << harness::Describe(fault);
          ExpectSweptOutcome(fault, answer, !Exists(At("Link")), LinkAt(At("Link")) == Music(),
                             observed().boxes.size(), flags & FOF_NOERRORUI);
          EXPECT_TRUE(Exists(At("Music\\song.mp3")));
          EXPECT_EQ(GetCursor(), before);
        },
        options);
    EXPECT_GE(faults.size(), 1u);
  }
}

TEST_F(CopyHook, EveryFailingCallOfAMoveLeavesTheLinkWhereItWasOrMovesIt) {
  const HCURSOR before = GetCursor();
  const std::string destination = At("Dest\\Link");
  MakeDirectory(destination);  // taken: the move renames, reading the name pattern too
  const std::string moved = At("Dest\\Soft Link to Link");
  for (UINT flags : {0u, UINT{FOF_NOERRORUI}}) {
    harness::FaultSweepOptions options;
    options.prepare = [&] {
      RemoveTree(moved);
      model.Forget(moved);
      if (!Exists(At("Link"))) MakeLink(At("Link"), At("Music"));
      observed() = Observed();
    };
    options.skip = {"MessageBoxA", "PathIsDirectoryA"};
    UINT answer = 0;
    const auto faults = harness::SweepFaults(
        imports,
        [&] {
          answer = Call(false, nullptr, FO_MOVE, flags, At("Link").c_str(), kLinkAttributes, destination.c_str());
          return answer == IDNO ? S_OK : E_FAIL;
        },
        [&](const harness::Fault& fault, HRESULT) {
          const bool untouched = LinkAt(At("Link")) == Music() && !Exists(moved);
          ExpectSweptOutcome(fault, answer, !Exists(At("Link")) && LinkAt(moved) == Music(), untouched,
                             observed().boxes.size(), flags & FOF_NOERRORUI);
          EXPECT_TRUE(Exists(At("Music\\song.mp3")));
          EXPECT_EQ(GetCursor(), before);
        },
        options);
    EXPECT_GE(faults.size(), 6u);
  }
  // The source that cannot be removed takes the new link away again.
  imports.FailCall("RemoveDirectoryA", 1, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Call(false, nullptr, FO_MOVE, FOF_NOERRORUI, At("Link").c_str(), kLinkAttributes, destination.c_str()),
            static_cast<UINT>(IDCANCEL));
  EXPECT_EQ(LinkAt(At("Link")), Music());
  EXPECT_FALSE(Exists(moved));
}

}  // namespace
}  // namespace extension_test
