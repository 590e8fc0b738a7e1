// The four option dialogs as the copy hook asks them: real dialogs from the
// module's templates, answered with real clicks and keys from a second thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "harness/imports.h"
#include "resources/resource_ids.h"
#include "settings_fixture.h"
#include "ui/option_dialogs.h"
#include "win/boundary.h"

namespace {

const qm::Path kSource = "D:\\Links\\Music";
const std::wstring kTarget = L"D:\\Music";
const qm::Path kDestination = "E:\\Backup\\Music";

using Make = std::function<std::unique_ptr<qm::OptionDialog>(HINSTANCE, const qm::Path& source, bool possible)>;

struct Kind {
  const char* name;
  Make make;
  const char* setting;
  int message, hide_box, link_button;
  std::vector<int> buttons;  // ending buttons besides IDCANCEL
  int hidden_answer;
  std::wstring caption, message_text;
};

const std::vector<Kind>& Kinds() {
  static const std::vector<Kind> kinds = {
      {"move",
       [](HINSTANCE r, const qm::Path& s, bool possible) {
         return std::make_unique<qm::MoveSoftLinkDialog>(r, s, kTarget, kDestination, possible);
       },
       qm::kMoveSoftLinkVisibility, IDC_MOVE_SOFT_LINK_MESSAGE, IDC_MOVE_SOFT_LINK_HIDE, IDC_MOVE_SOFT_LINK,
       {IDC_MOVE_SOFT_LINK, IDC_MOVE_AS_DIRECTORY}, IDC_MOVE_SOFT_LINK, L"Move Soft Link to Directory Options",
       L"You are about to move directory 'D:\\Links\\Music', which is a soft link to directory 'D:\\Music'. "
       L"Instead you can only move the link."},
      {"copy directory",
       [](HINSTANCE r, const qm::Path& s, bool) { return std::make_unique<qm::CopyDirectoryDialog>(r, s, kDestination); },
       qm::kCopyDirectoryVisibility, IDC_COPY_DIRECTORY_MESSAGE, IDC_COPY_DIRECTORY_HIDE, 0,
       {IDC_COPY_DIRECTORY, IDC_CREATE_SOFT_LINK}, IDC_COPY_DIRECTORY, L"Copy Directory Options",
       L"You are about to copy directory 'D:\\Links\\Music'. Instead you can create a soft link and avoid "
       L"duplication of contained items."},
      {"copy soft link",
       [](HINSTANCE r, const qm::Path& s, bool possible) {
         return std::make_unique<qm::CopySoftLinkDialog>(r, s, kTarget, kDestination, possible);
       },
       qm::kCopySoftLinkVisibility, IDC_COPY_SOFT_LINK_MESSAGE, IDC_COPY_SOFT_LINK_HIDE, IDC_COPY_SOFT_LINK,
       {IDC_COPY_AS_DIRECTORY, IDC_COPY_SOFT_LINK}, IDC_COPY_AS_DIRECTORY, L"Copy Soft Link to Directory Options",
       L"You are about to copy directory 'D:\\Links\\Music', which is a soft link to directory 'D:\\Music'. "
       L"Instead you can copy the link and avoid duplication of contained items."},
      {"delete",
       [](HINSTANCE r, const qm::Path& s, bool) { return std::make_unique<qm::DeleteSoftLinkDialog>(r, s, kTarget, true); },
       qm::kDeleteSoftLinkVisibility, IDC_DELETE_SOFT_LINK_MESSAGE, IDC_DELETE_SOFT_LINK_HIDE, 0,
       {IDC_DELETE_SOFT_LINK}, IDC_DELETE_SOFT_LINK, L"Delete Soft Link to Directory Options",
       L"You are about to delete directory 'D:\\Links\\Music', which is a soft link to directory 'D:\\Music'."},
  };
  return kinds;
}

class OptionDialogs : public SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, area.left + 100, area.top + 80, 700,
                            500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner);
    SettingsFixture::TearDown();
  }

  // Asks `dialog` over the owner while `act` drives it; the answer, or the
  // failure status when it raised.
  int Ask(qm::OptionDialog& dialog, const DialogDriver::Action& act, bool* shown = nullptr, DWORD wait_ms = 10000) {
    int answer = 0;
    DialogDriver driver(act, [](HWND d) { return HasItem(d, IDC_HOME_PAGE_LINK); }, wait_ms);
    const HRESULT status = qm::CallAtBoundary([&] { answer = dialog.AskChoice(owner); });
    if (shown) *shown = driver.Found();
    EXPECT_FALSE(driver.LeftOpen());
    return FAILED(status) ? status : answer;
  }

  HINSTANCE resources = GetModuleHandleA("qm_testable.dll");
  HWND owner = nullptr;
};

RECT Rect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

TEST_F(OptionDialogs, EachShowsItsTextsCentredOverTheOwnerAndAnswersTheButtonPressed) {
  for (const Kind& kind : Kinds()) {
    std::vector<int> presses = kind.buttons;
    presses.push_back(IDCANCEL);
    for (const int press : presses) {
      SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(press));
      auto dialog = kind.make(resources, kSource, true);
      std::wstring caption, message;
      bool box_checked = true, link_enabled = false;
      RECT rect{};
      const int answer = Ask(*dialog, [&](HWND d) {
        caption = Text(d);
        message = ItemText(d, kind.message);
        box_checked = IsChecked(d, kind.hide_box);
        link_enabled = !kind.link_button || IsWindowEnabled(GetDlgItem(d, kind.link_button));
        rect = Rect(d);
        if (press == IDCANCEL)
          PressKey(d, VK_ESCAPE);
        else
          Click(d, press);
      });
      EXPECT_EQ(answer, press);
      EXPECT_EQ(caption, kind.caption);
      EXPECT_EQ(message, kind.message_text);
      EXPECT_FALSE(box_checked);
      EXPECT_TRUE(link_enabled);
      const RECT around = Rect(owner);
      EXPECT_NEAR(rect.left + rect.right, around.left + around.right, 2);
      EXPECT_NEAR(rect.top + rect.bottom, around.top + around.bottom, 2);
      EXPECT_EQ(ReadSetting(kind.setting), std::nullopt);
    }
  }
}

TEST_F(OptionDialogs, TheBoxHidesTheDialogAtOnceUntilControlIsHeldAndClearingItShowsItAgain) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    auto dialog = kind.make(resources, kSource, true);
    std::optional<DWORD> while_open;
    // Checked and then cancelled: the setting is kept.
    EXPECT_EQ(Ask(*dialog, [&](HWND d) {
      Click(d, kind.hide_box);
      while_open = ReadSetting(kind.setting);
      PressKey(d, VK_ESCAPE);
    }), IDCANCEL);
    EXPECT_EQ(while_open, 1u);
    EXPECT_EQ(ReadSetting(kind.setting), 1u);

    bool shown = true;
    EXPECT_EQ(Ask(*kind.make(resources, kSource, true), [](HWND) {}, &shown, 500), kind.hidden_answer);
    EXPECT_FALSE(shown);

    bool box_checked = false;
    {
      const ControlKeyDown control;
      EXPECT_EQ(Ask(*kind.make(resources, kSource, true), [&](HWND d) {
        box_checked = IsChecked(d, kind.hide_box);
        Click(d, kind.hide_box);
        while_open = ReadSetting(kind.setting);
        Click(d, kind.buttons.back());
      }, &shown), kind.buttons.back());
    }
    EXPECT_TRUE(shown);
    EXPECT_TRUE(box_checked);
    EXPECT_EQ(while_open, 2u);

    EXPECT_EQ(Ask(*kind.make(resources, kSource, true), [&](HWND d) {
      box_checked = IsChecked(d, kind.hide_box);
      PressKey(d, VK_ESCAPE);
    }, &shown), IDCANCEL);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(box_checked);
  }
}

TEST_F(OptionDialogs, OnlyAFourByteDwordOfOneHidesADialog) {
  struct Case {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    bool hidden;
  };
  const Case cases[] = {
      {"1", REG_DWORD, {1, 0, 0, 0}, true},
      {"2", REG_DWORD, {2, 0, 0, 0}, false},
      {"7", REG_DWORD, {7, 0, 0, 0}, false},
      {"text 1", REG_SZ, {'1', 0}, false},
      {"binary 1", REG_BINARY, {1, 0, 0, 0}, false},
      {"two bytes of 1", REG_DWORD, {1, 0}, false},
  };
  const Kind& kind = Kinds().front();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSetting(kind.setting, c.type, c.data);
    bool shown = false;
    const int answer = Ask(*kind.make(resources, kSource, true), [](HWND d) { PressKey(d, VK_ESCAPE); }, &shown,
                           c.hidden ? 500 : 10000);
    EXPECT_EQ(shown, !c.hidden);
    EXPECT_EQ(answer, c.hidden ? kind.hidden_answer : IDCANCEL);
  }
}

TEST_F(OptionDialogs, TheLinkButtonIsOffWhereNoLinkIsPossibleButTheHiddenMoveAnswerStays) {
  for (const Kind& kind : Kinds()) {
    if (!kind.link_button) continue;
    for (const bool possible : {true, false}) {
      SCOPED_TRACE(std::string(kind.name) + (possible ? " possible" : " impossible"));
      bool enabled = !possible;
      const int answer = Ask(*kind.make(resources, kSource, possible), [&](HWND d) {
        enabled = IsWindowEnabled(GetDlgItem(d, kind.link_button)) != FALSE;
        // A user reaches a disabled button neither by mouse nor by Enter.
        if (possible)
          Click(d, kind.link_button);
        else
          PressKey(d, VK_RETURN);
      });
      EXPECT_EQ(enabled, possible);
      if (possible)
        EXPECT_EQ(answer, kind.link_button);
      else
        EXPECT_EQ(answer, kind.buttons[0] == kind.link_button ? kind.buttons[1] : kind.buttons[0]);
    }
  }
  WriteSetting(qm::kMoveSoftLinkVisibility, 1);
  EXPECT_EQ(Ask(*Kinds().front().make(resources, kSource, false), [](HWND) {}, nullptr, 500), IDC_MOVE_SOFT_LINK);
}

TEST_F(OptionDialogs, TheDeleteIconShowsWhereTheItemGoes) {
  const HMODULE shell = GetModuleHandleA("shell32.dll");
  for (const bool allow_undo : {true, false}) {
    qm::DeleteSoftLinkDialog dialog(resources, kSource, kTarget, allow_undo);
    HICON shown = nullptr;
    Ask(dialog, [&](HWND d) {
      shown = reinterpret_cast<HICON>(SendDlgItemMessageA(d, IDC_DELETE_SOFT_LINK_ICON, STM_GETICON, 0, 0));
      PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(shown, LoadIconA(shell, MAKEINTRESOURCEA(allow_undo ? 33 : 161)));
  }
}

struct Layout {
  RECT dialog{}, message{}, explanation{}, button{}, box{}, link{}, icon{}, template_message{};
  std::wstring text;
};

TEST_F(OptionDialogs, ALongPathIsShortenedAndAWrappingMessagePushesTheRestDown) {
  const auto measure = [&](const qm::Path& source) {
    Layout layout;
    qm::MoveSoftLinkDialog dialog(resources, source, kTarget, kDestination, true);
    Ask(dialog, [&](HWND d) {
      layout.dialog = Rect(d);
      layout.message = ItemRect(d, IDC_MOVE_SOFT_LINK_MESSAGE);
      layout.button = ItemRect(d, IDC_MOVE_SOFT_LINK);
      layout.box = ItemRect(d, IDC_MOVE_SOFT_LINK_HIDE);
      layout.link = ItemRect(d, IDC_HOME_PAGE_LINK);
      layout.icon = ItemRect(d, IDC_MOVE_SOFT_LINK_ICON);
      layout.explanation = Rect(GetWindow(GetDlgItem(d, IDC_MOVE_SOFT_LINK_MESSAGE), GW_HWNDNEXT));
      layout.template_message = DialogUnits(d, 42, 12, 42 + 222, 12 + 18);
      layout.text = ItemText(d, IDC_MOVE_SOFT_LINK_MESSAGE);
      PressKey(d, VK_ESCAPE);
    });
    return layout;
  };
  const Layout short_path = measure(kSource);
  EXPECT_EQ(short_path.message.bottom - short_path.message.top,
            short_path.template_message.bottom - short_path.template_message.top);

  std::string deep = "D:";
  for (int i = 0; deep.size() < 300; ++i) deep += "\\Folder " + std::to_string(i);
  deep += "\\Music";
  for (const qm::Path& source : {deep.substr(0, 240) + "\\Music", deep}) {
    SCOPED_TRACE(source.size());
    const Layout long_path = measure(source);
    EXPECT_NE(long_path.text.find(L"D:\\Folder 0\\"), std::wstring::npos);
    EXPECT_NE(long_path.text.find(L"...\\Music'"), std::wstring::npos);
    const LONG growth = (long_path.message.bottom - long_path.message.top) -
                        (short_path.message.bottom - short_path.message.top);
    EXPECT_GT(growth, 2);
    for (const auto& [moved, before] : {std::pair{long_path.explanation, short_path.explanation},
                                        std::pair{long_path.button, short_path.button},
                                        std::pair{long_path.box, short_path.box},
                                        std::pair{long_path.link, short_path.link}})
      EXPECT_EQ(moved.top - long_path.dialog.top, before.top - short_path.dialog.top + growth - 2);
    EXPECT_EQ(long_path.icon.top - long_path.dialog.top, short_path.icon.top - short_path.dialog.top);
    EXPECT_EQ(long_path.dialog.bottom - long_path.dialog.top,
              short_path.dialog.bottom - short_path.dialog.top + growth - 2);
  }
}

bool ThreadShowsAWindow() {
  bool any = false;
  EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM seen) WINAPI -> BOOL {
    *reinterpret_cast<bool*>(seen) |= IsWindowVisible(w) && GetWindow(w, GW_OWNER) != nullptr;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&any));
  return any;
}

TEST_F(OptionDialogs, ADialogThatCannotBeShownIsAFailureNotAnAnswer) {
  harness::Imports imports(resources);
  const HMODULE german = LoadLibraryExA("QuorvaneMarrowby.lang-1031.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(german, nullptr);
  HWND gone = CreateWindowExA(0, "STATIC", "gone", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  struct Case {
    const char* name;
    HINSTANCE resources;
    HWND parent;
    const char* failing_call;
    HRESULT status;  // 0: any failure; the platform names none
  };
  const Case cases[] = {
      {"no templates", GetModuleHandleA(nullptr), owner, nullptr, 0},
      {"owner gone", resources, gone, nullptr, HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE)},
      {"modal loop refused", resources, owner, "DialogBoxParamA", HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_MEMORY)},
      {"no link control class", german, owner, "RegisterClassExA", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.failing_call) imports.FailCall(c.failing_call, 1, ERROR_NOT_ENOUGH_MEMORY);
    qm::CopyDirectoryDialog dialog(c.resources, kSource, kDestination);
    const HRESULT status = qm::CallAtBoundary([&] { dialog.AskChoice(c.parent); });
    EXPECT_TRUE(FAILED(status));
    if (c.status) EXPECT_EQ(status, c.status);
    EXPECT_FALSE(ThreadShowsAWindow());
    if (c.failing_call) EXPECT_TRUE(imports.FaultFired());
    imports.ClearFaults();
  }
  // Hidden, nothing needs showing: the stored answer stands.
  WriteSetting(qm::kCopyDirectoryVisibility, 1);
  qm::CopyDirectoryDialog hidden(GetModuleHandleA(nullptr), kSource, kDestination);
  EXPECT_EQ(hidden.AskChoice(owner), IDC_COPY_DIRECTORY);
  FreeLibrary(german);
}

TEST_F(OptionDialogs, AFailureWhileTheDialogWorksIsShownOverItAndTheDialogStaysOpen) {
  harness::Imports imports(resources);
  imports.FailCall("LoadIconA", 1, ERROR_RESOURCE_TYPE_NOT_FOUND);
  std::wstring box_caption, box_text;
  HWND box_owner = nullptr, option_dialog = nullptr;
  DialogDriver box(
      [&](HWND b) {
        box_caption = Text(b);
        box_text = ItemText(b, 0xFFFF);
        box_owner = GetWindow(b, GW_OWNER);
        PostMessageA(b, WM_COMMAND, IDOK, 0);
      },
      [](HWND d) { return Text(d) == L"Error"; });
  qm::MoveSoftLinkDialog dialog(resources, kSource, kTarget, kDestination, true);
  EXPECT_EQ(Ask(dialog, [&](HWND d) {
    option_dialog = d;
    // A failed write of the setting is silent.
    imports.FailCall("RegCreateKeyExA", 1, ERROR_ACCESS_DENIED);
    Click(d, IDC_MOVE_SOFT_LINK_HIDE);
    Click(d, IDC_MOVE_AS_DIRECTORY);
  }), IDC_MOVE_AS_DIRECTORY);
  ASSERT_TRUE(box.Found());
  EXPECT_EQ(box_caption, L"Error");
  wchar_t system_text[256] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_RESOURCE_TYPE_NOT_FOUND,
                 LANG_USER_DEFAULT, system_text, 256, nullptr);
  EXPECT_EQ(box_text, system_text);
  EXPECT_EQ(box_owner, option_dialog);
  EXPECT_TRUE(imports.FaultFired());
  EXPECT_EQ(ReadSetting(qm::kMoveSoftLinkVisibility), std::nullopt);
}

}  // namespace
