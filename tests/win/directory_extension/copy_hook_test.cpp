// The copy hook as the shell calls it: once per item, through ICopyHookA or
// ICopyHookW, with soft links of the NTFS model and the answers it obeys.
#include <shlwapi.h>

#include <cstring>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "extension_fixture.h"
#include "harness/fault_sweep.h"
#include "resources/resource_ids.h"
#include "ui/settings.h"

namespace extension_test {
namespace {

constexpr DWORD kLinkAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

std::u16string U16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::vector<HCURSOR>& cursors() {
  static std::vector<HCURSOR> shown;
  return shown;
}

HCURSOR WINAPI RecordCursor(HCURSOR cursor) {
  cursors().push_back(cursor);
  return SetCursor(cursor);
}

// Music (with a song) and its junction Link, an empty folder Dest, and one
// object for the test, as the shell uses one per operation.
class CopyHook : public DirectoryExtension {
 protected:
  CopyHook() {
    ClearSettings();
    object = Create();
    MakeDirectory(At("Music"));
    MakeFile(At("Music\\song.mp3"));
    MakeDirectory(At("Dest"));
    Restore();
  }

  ~CopyHook() override { ClearSettings(); }

  static void ClearSettings() {
    for (const char* name : {qm::kMoveSoftLinkVisibility, qm::kCopyDirectoryVisibility, qm::kCopySoftLinkVisibility,
                             qm::kDeleteSoftLinkVisibility})
      RegDeleteKeyValueA(HKEY_CURRENT_USER, qm::kSettingsKey, name);
  }

  // Puts Link (a junction) and Symlink (a symbolic link) back where they went.
  void Restore() {
    if (!Exists(At("Link"))) MakeLink(At("Link"), harness::NtfsModel::MountPointData(U16(Music()), u""));
    if (!Exists(At("Symlink"))) MakeLink(At("Symlink"), harness::NtfsModel::SymbolicLinkData(U16(Music()), u""));
    observed() = Observed();
  }
  void MakeLink(const std::string& path, std::vector<std::uint8_t> data) {
    MakeDirectory(path);
    model.Plant(path, std::move(data));
  }

  // The substitute name of the junction at `path`, "<none>" for none.
  std::string LinkAt(const std::string& path) {
    const auto data = model.ReparseData(path);
    if (!data || data->size() < 16 || (*data)[0] != 3) return "<none>";
    std::string name;
    for (std::size_t i = 0; i < ((*data)[10] | ((*data)[11] << 8)); i += 2) name += static_cast<char>((*data)[16 + i]);
    return name;
  }

  // CopyCallback through ICopyHookA, or ICopyHookW with the paths widened; a
  // null path stays null.
  UINT Call(bool wide, HWND window, UINT operation, UINT flags, const std::string& source, DWORD attributes,
            const char* destination) {
    if (!wide) {
      qm::ComPtr<ICopyHookA> hook;
      EXPECT_EQ(object->QueryInterface(kIidCopyHookA, hook.put_void()), S_OK);
      return hook->CopyCallback(window, operation, flags, source.c_str(), attributes, destination, 0);
    }
    qm::ComPtr<ICopyHookW> hook;
    EXPECT_EQ(object->QueryInterface(kIidCopyHookW, hook.put_void()), S_OK);
    const std::wstring to = destination ? Wide(destination) : L"";
    return hook->CopyCallback(window, operation, flags, Wide(source).c_str(), attributes,
                              destination ? to.c_str() : nullptr, 0);
  }
  UINT Move(UINT flags, const std::string& destination) {
    return Call(false, nullptr, FO_MOVE, flags, At("Link"), kLinkAttributes, destination.c_str());
  }

  std::string Music() const { return "\\??\\" + At("Music"); }
  // A name of the scratch folder, or a full path as it is; empty for none.
  std::string Resolve(const char* path) const { return !path ? "" : PathIsRelativeA(path) ? At(path) : path; }

  qm::ComPtr<IContextMenu> object;
};

TEST_F(CopyHook, ALinkMovedOntoATakenNameGetsTheNextFreeSoftLinkNameUnderTheWaitCursor) {
  MakeDirectory(At("Dest\\Link"));
  cursors().clear();
  auto* previous = imports.Replace("SetCursor", &RecordCursor);
  const HCURSOR before = GetCursor();
  EXPECT_EQ(Move(0, At("Dest\\Link")), static_cast<UINT>(IDNO));
  EXPECT_EQ(LinkAt(At("Dest\\Soft Link to Link")), Music());
  EXPECT_EQ(cursors(), (std::vector<HCURSOR>{LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)), before}));
  imports.Replace("SetCursor", previous);

  for (int n = 2; n <= 99; ++n) MakeDirectory(At("Dest\\Soft Link to Link (" + std::to_string(n) + ")"));
  Restore();
  EXPECT_EQ(Move(0, At("Dest\\Link")), static_cast<UINT>(IDCANCEL));
  EXPECT_EQ(observed().boxes, std::vector<std::string>{"Error 0xa20101c4"});
  EXPECT_EQ(LinkAt(At("Link")), Music());
  RemoveTree(At("Dest\\Soft Link to Link (99)"));
  EXPECT_EQ(Move(0, At("Dest\\Link")), static_cast<UINT>(IDNO));
  EXPECT_EQ(LinkAt(At("Dest\\Soft Link to Link (99)")), Music());
}

TEST_F(CopyHook, AWideNameTheCodePageCannotHoldIsNeverTakenForALookAlike) {
  // "Līnk" beside the junction Link: best fit would turn the one into the other.
  const std::wstring name = Wide(scratch) + L"\\L\u012Bnk", destination = Wide(At("Dest")) + L"\\L\u012Bnk";
  ASSERT_TRUE(CreateDirectoryW(name.c_str(), nullptr));
  qm::ComPtr<ICopyHookW> hook;
  ASSERT_EQ(object->QueryInterface(kIidCopyHookW, hook.put_void()), S_OK);
  const HWND desktop = GetDesktopWindow();
  // Left to the shell, without asking or blocking...
  EXPECT_EQ(hook->CopyCallback(desktop, FO_MOVE, 0, name.c_str(), kLinkAttributes, destination.c_str(), 0), IDYES);
  EXPECT_EQ(hook->CopyCallback(desktop, FO_COPY, 0, Wide(At("Music")).c_str(), FILE_ATTRIBUTE_DIRECTORY,
                               destination.c_str(), 0),
            IDYES);
  // ...except a soft link's delete, which removes just that link; a directory without one stays.
  EXPECT_EQ(hook->CopyCallback(desktop, FO_DELETE, 0, name.c_str(), kLinkAttributes, nullptr, 0), IDYES);
  EXPECT_TRUE(GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES);
  model.Plant(name, harness::NtfsModel::MountPointData(U16(Music()), u""));
  EXPECT_EQ(hook->CopyCallback(desktop, FO_DELETE, 0, name.c_str(), kLinkAttributes, nullptr, 0), IDNO);
  EXPECT_EQ(GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(LinkAt(At("Link")), Music());
  EXPECT_FALSE(Exists(At("Dest\\Link")));
  EXPECT_TRUE(observed().boxes.empty());
}

INT_PTR g_pressed = 0;
INT_PTR WINAPI PressButton(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return g_pressed; }

BOOL(WINAPI* g_is_directory)(LPCSTR) = nullptr;
BOOL WINAPI ShareIsDirectory(LPCSTR path) { return std::strncmp(path, "\\\\server\\", 9) == 0 || g_is_directory(path); }

TEST_F(CopyHook, AnswersEachItemAsTheUserOrTheSettingsChoose) {
  MakeDirectory(At("Plain"));
  MakeDirectory(At("Dest\\Empty"));
  MakeDirectory(At("Dest\\Full"));
  MakeFile(At("Dest\\Full\\mine.txt"));
  MakeDirectory("E:\\CopyHookFat");
  MakeDirectory("E:\\CopyHookFat\\Plain");
  model.DescribeDrive('E', "FAT32");
  g_is_directory = imports.Replace("PathIsDirectoryA", &ShareIsDirectory);  // \\server\share exists
  imports.Replace("GetDriveTypeA", &NetworkDriveE);
  MakeDirectory(At("Cloud"));  // a synced folder's placeholder, holding a file
  MakeFile(At("Cloud\\doc.txt"));
  model.Plant(At("Cloud"), harness::NtfsModel::TaggedData(0x9000101A));
  MakeDirectory(At("Stale"));  // no reparse point, whatever its attributes said
  MakeLink(At("Dest\\Other"), harness::NtfsModel::MountPointData(u"\\??\\D:\\Elsewhere", u""));
  const wchar_t *kDelete = L"Delete Soft Link to Directory Options", *kCopyLink = L"Copy Soft Link to Directory Options",
                *kCopy = L"Copy Directory Options", *kMove = L"Move Soft Link to Directory Options";
  struct Row {
    bool window;  // with one and without FOF_NOCONFIRMATION, the user may be asked
    UINT operation, flags;
    const char *source, *destination, *hidden;  // hidden: the setting that hides the dialog
    const wchar_t* caption;                     // of the dialog asked, none when null
    int press;
    UINT answer;
    const char* link;  // the name the junction to Music has afterwards, none when null
    std::size_t boxes = 0;
  };
  const Row rows[] = {
      {false, FO_DELETE, FOF_ALLOWUNDO, "Link", nullptr, nullptr, nullptr, 0, IDNO, nullptr},
      {true, FO_DELETE, FOF_NOCONFIRMATION, "Link", nullptr, nullptr, nullptr, 0, IDNO, nullptr},
      {true, FO_DELETE, 0, "Link", nullptr, nullptr, kDelete, IDC_DELETE_SOFT_LINK, IDNO, nullptr},
      {true, FO_DELETE, 0, "Link", nullptr, nullptr, kDelete, IDCANCEL, IDCANCEL, "Link"},
      {true, FO_DELETE, 0, "Link", nullptr, qm::kDeleteSoftLinkVisibility, nullptr, 0, IDNO, nullptr},
      {true, FO_DELETE, 0, "Plain", nullptr, nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_RENAME, 0, "Link", "Renamed", nullptr, nullptr, 0, IDYES, "Link"},
      {false, FO_COPY, 0, "Link", "Dest\\Link", nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_COPY, 0, "Link", "Dest\\Link", nullptr, kCopyLink, IDC_COPY_SOFT_LINK, IDNO, "Dest\\Link"},
      {true, FO_COPY, 0, "Link", "Dest\\Link", nullptr, kCopyLink, IDC_COPY_AS_DIRECTORY, IDYES, "Link"},
      {true, FO_COPY, 0, "Plain", "Dest\\Plain", nullptr, kCopy, IDC_CREATE_SOFT_LINK, IDNO, "Link"},
      {true, FO_COPY, 0, "Plain", "E:\\CopyHookFat\\Plain", nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_COPY, 0, "Plain", "\\\\server\\share\\Plain", nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_COPY, 0, "\\\\server\\share\\Plain", "Dest\\Plain", nullptr, nullptr, 0, IDYES, "Link"},
      {false, FO_MOVE, 0, "Link", "Dest\\Link", nullptr, nullptr, 0, IDNO, "Dest\\Link"},
      {true, FO_MOVE, 0, "Link", "Dest\\Link", nullptr, kMove, IDC_MOVE_SOFT_LINK, IDNO, "Dest\\Link"},
      {false, FO_MOVE, 0, "Link", "E:\\CopyHookFat\\Link", nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_MOVE, 0, "Link", "E:\\CopyHookFat\\Link", nullptr, kMove, IDC_MOVE_AS_DIRECTORY, IDYES, "Link"},
      // Silent without rename: an empty directory becomes the link, a full one makes it fail.
      {false, FO_MOVE, FOF_SILENT, "Link", "Dest\\Empty", nullptr, nullptr, 0, IDNO, "Dest\\Empty"},
      {false, FO_MOVE, FOF_SILENT | FOF_RENAMEONCOLLISION, "Link", "Dest\\Empty", nullptr, nullptr, 0, IDNO,
       "Dest\\Soft Link to Link"},
      {false, FO_MOVE, FOF_SILENT, "Link", "Dest\\Full", nullptr, nullptr, 0, IDCANCEL, "Link", 1},
      // Hidden, the move dialog answers Move Soft Link, which FAT refuses.
      {true, FO_MOVE, 0, "Link", "E:\\CopyHookFat\\Link", qm::kMoveSoftLinkVisibility, nullptr, 0, IDCANCEL, "Link", 1},
      // A symbolic link has no target to link to: never copied or moved as a link, deleted as one.
      {false, FO_MOVE, 0, "Symlink", "Dest\\Symlink", nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_COPY, 0, "Symlink", "Dest\\Symlink", nullptr, nullptr, 0, IDYES, "Link"},
      {false, FO_DELETE, 0, "Symlink", nullptr, nullptr, nullptr, 0, IDNO, "Link"},
      // Any other reparse point (a cloud placeholder), or none, is a directory: never deleted as a link.
      {false, FO_DELETE, 0, "Cloud", nullptr, nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_DELETE, FOF_ALLOWUNDO, "Cloud", nullptr, nullptr, nullptr, 0, IDYES, "Link"},
      {false, FO_DELETE, 0, "Stale", nullptr, nullptr, nullptr, 0, IDYES, "Link"},
      // Onto the source itself, however spelled: left to the shell.
      {false, FO_MOVE, FOF_SILENT, "Link", "Link", nullptr, nullptr, 0, IDYES, "Link"},
      {false, FO_MOVE, 0, "Link", "LINK", nullptr, nullptr, 0, IDYES, "Link"},
      {true, FO_COPY, 0, "Link", "Dest\\..\\link", nullptr, nullptr, 0, IDYES, "Link"},
      // A junction at the destination is never taken over.
      {false, FO_MOVE, FOF_SILENT, "Link", "Dest\\Other", nullptr, nullptr, 0, IDCANCEL, "Link", 1},
      // No link is offered to a directory on a network drive.
      {true, FO_COPY, 0, "E:\\CopyHookFat\\Plain", "Dest\\Plain", nullptr, nullptr, 0, IDYES, "Link"},
  };
  for (bool wide : {false, true}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::to_string(&row - rows) + (wide ? " W" : " A"));
      if (row.hidden) RegSetKeyValueA(HKEY_CURRENT_USER, qm::kSettingsKey, row.hidden, REG_DWORD, "\1\0\0\0", 4);
      std::wstring asked;
      UINT answer = 0;
      {
        DialogDriver driver(
            [&](HWND dialog) {
              asked = Text(dialog);
              if (row.press == IDCANCEL) PressKey(dialog, VK_ESCAPE);
              else Click(dialog, row.press);
            },
            nullptr, row.caption ? 10000 : 200);
        const std::string destination = Resolve(row.destination);
        answer = Call(wide, row.window ? GetDesktopWindow() : nullptr, row.operation, row.flags, Resolve(row.source),
                      std::strchr(row.source, 'P') ? FILE_ATTRIBUTE_DIRECTORY : kLinkAttributes,
                      row.destination ? destination.c_str() : nullptr);
      }
      EXPECT_EQ(answer, row.answer);
      EXPECT_EQ(asked, row.caption ? row.caption : L"");
      if (row.link) EXPECT_EQ(LinkAt(At(row.link)), Music());
      if (PathIsRelativeA(row.source)) EXPECT_EQ(Exists(At(row.source)), answer != IDNO || row.operation == FO_COPY);
      EXPECT_EQ(LinkAt(At("Dest\\Plain")), row.press == IDC_CREATE_SOFT_LINK ? "\\??\\" + At("Plain") : "<none>");
      EXPECT_EQ(LinkAt(At("Dest\\Symlink")), "<none>");
      EXPECT_EQ(LinkAt(At("Dest\\Other")), "\\??\\D:\\Elsewhere");
      EXPECT_TRUE(Exists(At("Dest\\Full\\mine.txt")));
      EXPECT_TRUE(Exists(At("Music\\song.mp3")));
      EXPECT_EQ(observed().boxes.size(), row.boxes);
      for (const char* made : {"Dest\\Link", "Dest\\Plain", "Dest\\Empty", "Dest\\Soft Link to Link"}) {
        RemoveTree(At(made));
        model.Forget(At(made));
      }
      MakeDirectory(At("Dest\\Empty"));
      ClearSettings();
      Restore();
    }
  }
  imports.Replace("PathIsDirectoryA", g_is_directory);
  // Another tool's names are carried byte for byte, whatever their form.
  const auto device = harness::NtfsModel::MountPointData(u"\\Device\\HarddiskVolume3\\Music", u"D:\\Music");
  MakeLink(At("Device"), device);
  EXPECT_EQ(Call(false, nullptr, FO_MOVE, 0, At("Device"), kLinkAttributes, At("Dest\\Device").c_str()), IDNO);
  EXPECT_EQ(model.ReparseData(At("Dest\\Device")), device);
  // A destination volume that cannot answer is shown, and the move left to the shell.
  model.RemoveMedium('E');
  EXPECT_EQ(Move(0, "E:\\CopyHookFat\\Link"), static_cast<UINT>(IDYES));
  EXPECT_EQ(Move(FOF_NOERRORUI, "E:\\CopyHookFat\\Link"), static_cast<UINT>(IDYES));
  ASSERT_EQ(observed().boxes.size(), 1u);
  EXPECT_NE(observed().boxes[0].find("ready"), std::string::npos) << observed().boxes[0];
  RemoveTree("E:\\CopyHookFat");
}

// Every failing call of each branch, with the dialog answered for the action,
// ends with the action done and the item skipped, or with nothing changed:
// the item left to the shell after a failure to find out or ask (shown at most
// once; never for a delete, which cancels instead), or the operation stopped
// after a failure shown once. The wait cursor is gone and the song stays.
TEST_F(CopyHook, EveryFailingCallOfEachBranchActsWhollyOrNotAtAll) {
  const HCURSOR before = GetCursor();
  MakeDirectory(At("Plain"));
  MakeDirectory(At("Dest\\Link"));  // taken: the new link is renamed, reading the name pattern too
  auto* previous = imports.Replace("DialogBoxParamA", &PressButton);
  g_pressed = IDCANCEL;  // a first question registers the dialogs' window class, once
  Call(false, GetDesktopWindow(), FO_DELETE, 0, At("Link"), kLinkAttributes, nullptr);
  struct Branch {
    UINT operation;
    const char* source;
    int press;
    const char *made, *target;  // the new link and where it leads
  };
  const Branch branches[] = {
      {FO_DELETE, "Link", IDC_DELETE_SOFT_LINK, nullptr, nullptr},
      {FO_COPY, "Link", IDC_COPY_SOFT_LINK, "Dest\\Soft Link to Link", "Music"},
      {FO_COPY, "Plain", IDC_CREATE_SOFT_LINK, "Dest\\Soft Link to Plain", "Plain"},
      {FO_MOVE, "Link", IDC_MOVE_SOFT_LINK, "Dest\\Soft Link to Link", "Music"},
  };
  for (const Branch& branch : branches) {
    for (UINT flags : {0u, UINT{FOF_NOERRORUI}}) {
      SCOPED_TRACE(std::string(branch.source) + " " + std::to_string(branch.operation) + " " + std::to_string(flags));
      const std::size_t shown = (flags & FOF_NOERRORUI) ? 0 : 1;
      const std::string made = branch.made ? At(branch.made) : "";
      g_pressed = branch.press;
      harness::FaultSweepOptions options;
      options.prepare = [&] {
        if (branch.made) {
          RemoveTree(made);
          model.Forget(made);
        }
        Restore();
      };
      options.skip = {"MessageBoxA", "PathIsDirectoryA"};  // a directory test answers, it does not fail
      UINT answer = 0;
      const auto faults = harness::SweepFaults(
          imports,
          [&] {
            answer = Call(false, GetDesktopWindow(), branch.operation, flags, At(branch.source),
                          branch.source[0] == 'L' ? kLinkAttributes : FILE_ATTRIBUTE_DIRECTORY,
                          branch.made ? At("Dest\\Link").c_str() : nullptr);
            return answer == IDNO ? S_OK : E_FAIL;
          },
          [&](const harness::Fault& fault, HRESULT) {
            SCOPED_TRACE(harness::Describe(fault));
            const bool untouched = LinkAt(At("Link")) == Music() && (!branch.made || !Exists(made));
            if (answer == IDNO) {
              if (branch.made) EXPECT_EQ(LinkAt(made), "\\??\\" + At(branch.target));
              EXPECT_EQ(Exists(At("Link")), branch.operation == FO_COPY);
              EXPECT_TRUE(observed().boxes.empty());
            } else {
              EXPECT_TRUE(untouched);
              if (answer == IDCANCEL) EXPECT_EQ(observed().boxes.size(), shown);
              else EXPECT_TRUE(answer == IDYES && branch.operation != FO_DELETE && observed().boxes.size() <= shown);
            }
            EXPECT_TRUE(Exists(At("Music\\song.mp3")));
            EXPECT_EQ(GetCursor(), before);
          },
          options);
      EXPECT_GE(faults.size(), branch.made ? 8u : 2u);
    }
  }
  imports.Replace("DialogBoxParamA", previous);
  // A source that cannot be removed takes the new link away again.
  imports.FailCall("RemoveDirectoryA", 1, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Move(FOF_NOERRORUI, At("Dest\\Link")), static_cast<UINT>(IDCANCEL));
  EXPECT_EQ(LinkAt(At("Link")), Music());
  EXPECT_FALSE(Exists(At("Dest\\Soft Link to Link")));
  // An empty directory that became the link is given back as it was.
  MakeDirectory(At("Dest\\Empty"));
  imports.FailCall("RemoveDirectoryA", 1, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Move(FOF_SILENT | FOF_NOERRORUI, At("Dest\\Empty")), static_cast<UINT>(IDCANCEL));
  EXPECT_TRUE(harness::IsDirectory(At("Dest\\Empty")));
  EXPECT_FALSE(model.ReparseData(At("Dest\\Empty")));
  // A link whose directory cannot be made shows why.
  Restore();
  imports.FailCall("CreateDirectoryA", 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(Move(0, At("Dest\\Link")), static_cast<UINT>(IDCANCEL));
  ASSERT_EQ(observed().boxes.size(), 1u);
  EXPECT_NE(observed().boxes[0].find("ccess"), std::string::npos) << observed().boxes[0];
}

}  // namespace
}  // namespace extension_test
