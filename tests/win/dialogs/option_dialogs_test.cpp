// The four option dialogs as the copy hook asks them: real dialogs from the
// module's templates, answered with real clicks and keys from a second thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
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
  int Ask(qm::OptionDialog& dialog, const DialogDriver::Action& act, bool* shown = nullptr) {
    int answer = 0;
    DialogDriver driver(act);
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

}  // namespace
