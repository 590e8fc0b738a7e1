// Error texts and the centred error box, with real windows and message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "box_watcher.h"
#include "core/status.h"
#include "harness/imports.h"
#include "harness/ledger.h"
#include "resources/resource_ids.h"
#include "ui/centered_message_box.h"
#include "ui/error_message.h"
#include "ui/window_object.h"
#include "ui/window_object_registry.h"

namespace {

constexpr qm::Status kGenericError = static_cast<qm::Status>(0x82010001u);
// A system message that cannot be formed without insert arguments ("... %1").
constexpr qm::Status kNeedsInserts = static_cast<qm::Status>(0x8007006Bu);

std::string SystemText(DWORD id) {
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, id, LANG_USER_DEFAULT, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  return text;
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

class ErrorReporting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qm::InitializeWindowObjectRegistry());
    harness::ledger::Install(imports);
    harness::ledger::Forget();
  }
  void TearDown() override {
    const auto open = harness::ledger::Open();
    EXPECT_TRUE(open.empty()) << open.front();
    EXPECT_TRUE(harness::ledger::StrayReleases().empty());
    EXPECT_EQ(qm::TakePendingWindowObject(), nullptr);
    for (HWND w : windows) DestroyWindow(w);
  }
  HWND MakeWindow(int x, int y, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                  HWND parent = nullptr) {
    HWND w = CreateWindowExA(0, "STATIC", "owner", style, x, y, width, height, parent, nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    if (!parent) windows.push_back(w);
    return w;
  }
  static RECT Rect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
  }
  harness::Imports imports{GetModuleHandleA("qm_testable.dll")};
  std::vector<HWND> windows;
};

TEST_F(ErrorReporting, TextsComeFromTheSystemThenTheMainModuleThenTheFallback) {
  const std::string system_text = SystemText(0x80004005u);
  ASSERT_FALSE(system_text.empty());
  imports.ResetCounts();
  EXPECT_EQ(qm::FormatErrorText(qm::status::Fail, true), system_text);
  EXPECT_EQ(imports.Calls("FormatMessageA"), 1u);  // found in the first source
  EXPECT_EQ(qm::FormatErrorText(kGenericError, true), "Generic error\r\n");
  EXPECT_EQ(qm::FormatErrorText(kGenericError, false), "Generic error\r\n");
  EXPECT_EQ(qm::FormatErrorText(qm::status::NoFreeLinkName, true), "Error 0xa20101c4");
  EXPECT_EQ(qm::FormatErrorText(qm::status::NoFreeLinkName, false), "");
  // A system text that still holds its inserts was not formed: the next source answers.
  ASSERT_NE(SystemText(static_cast<DWORD>(kNeedsInserts)).find("%1"), std::string::npos);
  EXPECT_EQ(qm::FormatErrorText(kNeedsInserts, true), "Error 0x8007006b");
}

TEST_F(ErrorReporting, FailingLookupsFallThroughAndEveryBufferIsReleased) {
  struct Case {
    qm::Status status;
    std::uint64_t failing_call;
    const char* text;
  };
  for (const Case& c : {Case{qm::status::Fail, 1, "Error 0x80004005"}, Case{kGenericError, 1, "Generic error\r\n"},
                        Case{kGenericError, 2, "Error 0x82010001"}}) {
    SCOPED_TRACE(c.text);
    imports.FailCall("FormatMessageA", c.failing_call, ERROR_RESOURCE_LANG_NOT_FOUND);
    EXPECT_EQ(qm::FormatErrorText(c.status, true), c.text);
    EXPECT_TRUE(imports.FaultFired());
    imports.ClearFaults();
  }
  EXPECT_TRUE(harness::ledger::Open().empty());
}

// Answers every lookup with a text of its own, allocated as the system does,
// whose reported length ends before the terminating zero.
using FormatMessageAFn = DWORD(WINAPI*)(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*);
FormatMessageAFn g_format_message;
const char* g_model_text;
DWORD WINAPI ModelFormatMessage(DWORD flags, LPCVOID, DWORD, DWORD, LPSTR buffer, DWORD, va_list*) {
  const DWORD length = g_format_message(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING |
                                            FORMAT_MESSAGE_IGNORE_INSERTS | (flags & FORMAT_MESSAGE_MAX_WIDTH_MASK),
                                        g_model_text, 0, 0, buffer, 0, nullptr);
  return length >= 4 ? length - 4 : length;  // the last 4 characters are not part of the message
}

TEST_F(ErrorReporting, MessageTextsAreTakenByTheirReportedLength) {
  g_format_message = imports.Replace("FormatMessageA", &ModelFormatMessage);
  g_model_text = "Model text\r\nJUNK";
  EXPECT_EQ(qm::FormatErrorText(qm::status::Fail, true), "Model text\r\n");
  g_model_text = "Needs %1 here\r\nJUNK";
  EXPECT_EQ(qm::FormatErrorText(qm::status::Fail, true), "Error 0x80004005");
  EXPECT_TRUE(harness::ledger::Open().empty());
}

TEST_F(ErrorReporting, ErrorBoxOfAChildControlIsCentredOverItsCaptionedAncestor) {
  const RECT area = WorkArea();
  HWND top = MakeWindow(area.left + 60, area.top + 40, 420, 300);
  HWND panel = MakeWindow(10, 10, 300, 200, WS_CHILD | WS_VISIBLE, top);
  HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, panel, nullptr, nullptr, nullptr);
  const std::pair<qm::Status, std::string> cases[] = {{qm::status::NoFreeLinkName, "Error 0xa20101c4"},
                                                      {qm::status::Fail, SystemText(0x80004005u)}};
  for (const auto& [status, text] : cases) {
    BoxWatcher watcher;
    EXPECT_EQ(qm::ShowErrorMessage(button, status), 0);
    const SeenBox& box = watcher.Result();
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.owner, top);
    EXPECT_NEAR(DoubleCentreX(box.rect), DoubleCentreX(Rect(top)), 2);
    EXPECT_NEAR(DoubleCentreY(box.rect), DoubleCentreY(Rect(top)), 2);
  }
}

std::string BinFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file(path, length);
  return file.substr(0, file.find_last_of('\\') + 1);
}

TEST_F(ErrorReporting, ALanguageModuleTranslatesFallbackAndCaptionButNotTheMessageTable) {
  // A copy of the test module, with the German module beside it under the
  // name of the user's language, loads the German module as resource module.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = temp + std::string("qm_ui_language_") + std::to_string(GetCurrentProcessId()) + "\\";
  const std::string module = folder + "qm_testable.dll";
  const std::string language =
      folder + "qm_testable.lang-" + std::to_string(LANGIDFROMLCID(GetUserDefaultLCID())) + ".dll";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((BinFolder() + "qm_testable.dll").c_str(), module.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((BinFolder() + "QuorvaneMarrowby.lang-1031.dll").c_str(), language.c_str(), FALSE));
  HMODULE copy = LoadLibraryA(module.c_str());
  ASSERT_NE(copy, nullptr);
  // The copy's own functions, by their exported (mangled) names.
  using FormatFn = std::string (*)(qm::Status, bool);
  using ShowFn = int (*)(HWND, qm::Status);
  const auto format = reinterpret_cast<FormatFn>(GetProcAddress(copy, "_ZN2qm15FormatErrorTextB5cxx11Eib"));
  const auto show = reinterpret_cast<ShowFn>(GetProcAddress(copy, "_ZN2qm16ShowErrorMessageEP6HWND__i"));
  ASSERT_TRUE(format && show);
  EXPECT_EQ(format(kGenericError, true), "Generic error\r\n");
  EXPECT_EQ(format(qm::status::NoFreeLinkName, true), "Fehler 0xa20101c4");
  {
    BoxWatcher watcher;
    show(nullptr, qm::status::NoFreeLinkName);
    EXPECT_EQ(watcher.Result().caption, "Fehler");
    EXPECT_EQ(watcher.Result().text, "Fehler 0xa20101c4");
  }
  FreeLibrary(copy);
  DeleteFileA(language.c_str());
  DeleteFileA(module.c_str());
  RemoveDirectoryA(folder.c_str());
}

// Records the boxes the module asks for instead of showing them.
struct AskedBox {
  HWND owner;
  std::string text, caption;
  UINT style;
};
std::vector<AskedBox> g_asked;
int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  g_asked.push_back({owner, text ? text : "", caption ? caption : "", style});
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return IDOK;
}

TEST_F(ErrorReporting, OwnerIsTheFirstWindowWithABorderOrDialogFrame) {
  imports.Replace("MessageBoxA", &RecordMessageBox);
  HWND top = MakeWindow(0, 0, 400, 300);
  HWND framed = MakeWindow(10, 10, 300, 200, WS_CHILD | WS_VISIBLE | WS_BORDER, top);
  HWND inner = MakeWindow(5, 5, 100, 100, WS_CHILD | WS_VISIBLE, framed);
  HWND dialog_framed = MakeWindow(0, 0, 50, 50, WS_CHILD | WS_VISIBLE | WS_DLGFRAME, inner);
  HWND gone = MakeWindow(0, 0, 50, 50);
  DestroyWindow(gone);
  g_asked.clear();
  qm::ShowErrorMessage(inner, qm::status::Fail);
  qm::ShowErrorMessage(dialog_framed, qm::status::Fail);
  qm::ShowErrorMessage(nullptr, qm::status::Fail);
  qm::ShowErrorMessage(gone, qm::status::Fail);
  ASSERT_EQ(g_asked.size(), 5u);
  EXPECT_EQ(g_asked[0].owner, framed);
  EXPECT_EQ(g_asked[1].owner, dialog_framed);
  EXPECT_EQ(g_asked[2].owner, nullptr);
  // A destroyed window is passed on; the box it cannot own is shown without owner.
  EXPECT_EQ(g_asked[3].owner, gone);
  EXPECT_EQ(g_asked[4].owner, nullptr);
  for (const AskedBox& b : g_asked) {
    EXPECT_EQ(b.caption, "Error");
    EXPECT_EQ(b.text, qm::FormatErrorText(qm::status::Fail, true));
    EXPECT_EQ(b.style, static_cast<UINT>(MB_OK | MB_ICONERROR));
  }
}

TEST_F(ErrorReporting, BoxIsPushedBackInsideTheWorkAreaOrCentredInItWithoutUsableOwner) {
  const RECT area = WorkArea();
  struct Case {
    const char* name;
    RECT owner;
    DWORD style;
  };
  const Case cases[] = {
      {"off left and top", {area.left - 300, area.top - 200, area.left + 100, area.top + 100}, WS_VISIBLE},
      {"off right and bottom", {area.right - 100, area.bottom - 80, area.right + 300, area.bottom + 220}, WS_VISIBLE},
      {"hidden", {area.left, area.top, area.left + 200, area.top + 150}, 0},
      {"minimised", {area.left, area.top, area.left + 200, area.top + 150}, WS_VISIBLE | WS_MINIMIZE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND owner = MakeWindow(c.owner.left, c.owner.top, c.owner.right - c.owner.left, c.owner.bottom - c.owner.top,
                            WS_OVERLAPPEDWINDOW | c.style);
    BoxWatcher watcher;
    EXPECT_EQ(qm::CenteredMessageBox(owner, "text", "caption", MB_OK), IDOK);
    const SeenBox& box = watcher.Result();
    ASSERT_TRUE(box.shown);
    if (c.style == WS_VISIBLE && c.owner.left < area.left) {
      EXPECT_EQ(box.rect.left, area.left);
      EXPECT_EQ(box.rect.top, area.top);
    } else if (c.style == WS_VISIBLE) {
      EXPECT_EQ(box.rect.right, area.right);
      EXPECT_EQ(box.rect.bottom, area.bottom);
    } else {
      EXPECT_NEAR(DoubleCentreX(box.rect), DoubleCentreX(area), 2);
      EXPECT_NEAR(DoubleCentreY(box.rect), DoubleCentreY(area), 2);
    }
  }
}

TEST_F(ErrorReporting, TextAndCaptionMayBeStringIdentifiers) {
  HWND owner = MakeWindow(100, 100, 300, 200);
  {
    BoxWatcher watcher;
    EXPECT_EQ(qm::CenteredMessageBox(owner, MAKEINTRESOURCEA(IDS_ERROR_FALLBACK), MAKEINTRESOURCEA(IDS_ERROR_CAPTION),
                                     MB_OK),
              IDOK);
    EXPECT_EQ(watcher.Result().text, "Error 0x%08x");
    EXPECT_EQ(watcher.Result().caption, "Error");
  }
  {
    BoxWatcher watcher;
    EXPECT_EQ(qm::CenteredMessageBox(owner, "plain", MAKEINTRESOURCEA(9999), MB_OK), IDOK);
    EXPECT_EQ(watcher.Result().text, "plain");
    EXPECT_EQ(watcher.Result().caption, "");
  }
}

// A second dialog made on the thread while the box is open.
struct SecondDialog {
  HWND owner = nullptr;
  bool made = false, attached = true;
  RECT rect{};
  HANDLE done = nullptr;
} g_second;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

VOID CALLBACK MakeSecondDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
  d->style = WS_POPUP | WS_CAPTION;
  d->cx = 60;
  d->cy = 30;
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), d, g_second.owner, &PlainDialogProc, 0);
  if (dialog) {
    g_second.made = true;
    g_second.attached = qm::CWindowObject::FromWindow(dialog) != nullptr;
    GetWindowRect(dialog, &g_second.rect);
    DestroyWindow(dialog);
  }
  SetEvent(g_second.done);
}

TEST_F(ErrorReporting, OnlyTheFirstDialogWindowOnTheThreadIsCentred) {
  HWND owner = MakeWindow(200, 150, 600, 400);
  g_second = SecondDialog{};
  g_second.owner = owner;
  g_second.done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SetTimer(nullptr, 0, 100, &MakeSecondDialog);
  {
    BoxWatcher watcher(g_second.done);
    EXPECT_EQ(qm::CenteredMessageBox(owner, "first", "caption", MB_OK), IDOK);
    const SeenBox& box = watcher.Result();
    ASSERT_TRUE(box.shown);
    EXPECT_NEAR(DoubleCentreX(box.rect), DoubleCentreX(Rect(owner)), 2);
  }
  CloseHandle(g_second.done);
  ASSERT_TRUE(g_second.made);
  EXPECT_FALSE(g_second.attached);
  // Left where its template put it, near the owner's top-left corner.
  EXPECT_LT(g_second.rect.left, 200 + 50);
  EXPECT_LT(g_second.rect.top, 150 + 50);
}

TEST_F(ErrorReporting, WithoutTheHookTheBoxIsStillShownUncentred) {
  const RECT area = WorkArea();
  HWND owner = MakeWindow(area.left, area.top, 300, 200);
  imports.FailCall("SetWindowsHookExA", 1, ERROR_ACCESS_DENIED);
  {
    BoxWatcher watcher;
    EXPECT_EQ(qm::CenteredMessageBox(owner, "uncentred", "caption", MB_OK), IDOK);
    EXPECT_TRUE(imports.FaultFired());
    const SeenBox& box = watcher.Result();
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.text, "uncentred");
    EXPECT_GT(std::abs(DoubleCentreX(box.rect) - DoubleCentreX(Rect(owner))), 20);
  }
  // Nothing of the failed attempt lingers: the next box is centred.
  BoxWatcher watcher;
  EXPECT_EQ(qm::CenteredMessageBox(owner, "centred", "caption", MB_OK), IDOK);
  EXPECT_NEAR(DoubleCentreX(watcher.Result().rect), DoubleCentreX(Rect(owner)), 2);
}

}  // namespace
