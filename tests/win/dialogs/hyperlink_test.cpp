// The link at the bottom of every option dialog: what it shows, what it
// opens (the shell call is intercepted), and where its class lives.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "harness/imports.h"
#include "home_page.h"
#include "painting.h"
#include "resources/resource_ids.h"
#include "settings_fixture.h"
#include "ui/hyperlink.h"
#include "ui/option_dialogs.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kPurple = RGB(128, 0, 128);
const std::wstring kHomePage = L"" QM_HOME_PAGE;

// The shell's "open", recorded instead of performed.
struct Opened {
  std::wstring verb, target;
  INT show;
};
std::vector<Opened> g_opened;
INT_PTR g_open_result = 42;
HINSTANCE WINAPI RecordShellExecute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT show) {
  g_opened.push_back({verb ? verb : L"", file ? file : L"", show});
  return reinterpret_cast<HINSTANCE>(g_open_result);
}

// A value of the browser's link colour settings, put back as it was.
class BrowserColour {
 public:
  BrowserColour(const char* name, const char* value) : m_name(name) {
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
    RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
  }
  BrowserColour(const BrowserColour&) = delete;
  BrowserColour& operator=(const BrowserColour&) = delete;
  ~BrowserColour() {
    RegDeleteValueA(m_key, m_name);
    RegCloseKey(m_key);
  }

 private:
  static constexpr char kKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";
  const char* m_name;
  HKEY m_key = nullptr;
};

class HyperLink : public SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    imports.Replace("ShellExecuteW", &RecordShellExecute);
    g_opened.clear();
    g_open_result = 42;
    ASSERT_TRUE(qm::RegisterHyperLinkClass(resources));
    parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 200, nullptr,
                             nullptr, nullptr, nullptr);
    SendMessageA(parent, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  void TearDown() override {
    DestroyWindow(parent);
    SettingsFixture::TearDown();
  }
  HWND MakeLink(const char* text, DWORD style = 0) {
    HWND link = CreateWindowExA(0, qm::kHyperLinkClassName, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, 300,
                                30, parent, nullptr, resources, nullptr);
    EXPECT_NE(link, nullptr);
    return link;
  }
  static void ClickAt(HWND link, POINT at) {
    const LPARAM position = MAKELPARAM(at.x, at.y);
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, position);
    SendMessageA(link, WM_LBUTTONUP, 0, position);
  }
  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  HINSTANCE resources = GetModuleHandleA("qm_testable.dll");
  harness::Imports imports{resources};
  HWND parent = nullptr;
};

// The tooltip that belongs to the dialog on `thread`, and the text of its one tool.
std::wstring ToolTipText(DWORD thread) {
  HWND tip = nullptr;
  EnumThreadWindows(thread, [](HWND w, LPARAM found) WINAPI -> BOOL {
    char name[32] = {};
    GetClassNameA(w, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0) *reinterpret_cast<HWND*>(found) = w;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&tip));
  if (!tip || SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) != 1) return L"(no single tool)";
  wchar_t text[256] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.lpszText = text;
  SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST_F(HyperLink, InADialogClickEnterAndSpaceEachOpenTheAddressOnceAndTheLinkTurnsVisited) {
  qm::CopyDirectoryDialog dialog(resources, "D:\\Music", "E:\\Music");
  bool blue_before = false, purple_before = true, blue_after = true, purple_after = false, open_after_keys = false;
  std::vector<std::size_t> counts;
  std::wstring text, tip, class_name(32, L'\0');
  RECT drawn{};
  int link_width = 0;
  DialogDriver driver(
      [&](HWND d) {
        const HWND link = GetDlgItem(d, IDC_HOME_PAGE_LINK);
        text = Text(link);
        class_name.resize(static_cast<std::size_t>(GetClassNameW(link, class_name.data(), 32)));
        tip = ToolTipText(GetWindowThreadProcessId(d, nullptr));
        const Painting before(link);
        drawn = before.Bounds(kBlue);
        link_width = before.width();
        blue_before = before.Has(kBlue);
        purple_before = before.Has(kPurple);
        SendMessageA(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
        PressKey(d, VK_RETURN);
        counts.push_back(g_opened.size());
        PressKey(d, VK_SPACE);
        counts.push_back(g_opened.size());
        ClickAt(link, Centre(drawn));
        counts.push_back(g_opened.size());
        open_after_keys = IsWindow(d) != FALSE;
        const Painting after(link);
        blue_after = after.Has(kBlue);
        purple_after = after.Has(kPurple);
        PressKey(d, VK_ESCAPE);
      },
      [](HWND d) { return HasItem(d, IDC_HOME_PAGE_LINK); });
  EXPECT_EQ(dialog.AskChoice(parent), IDCANCEL);
  ASSERT_TRUE(driver.Found());
  EXPECT_EQ(text, kHomePage);
  EXPECT_LT(drawn.right, link_width);  // the whole address fits: its underline ends short of the edge
  EXPECT_EQ(class_name, L"CHyperLinkEx");
  EXPECT_EQ(tip, kHomePage);
  EXPECT_EQ(counts, (std::vector<std::size_t>{1, 2, 3}));
  EXPECT_TRUE(open_after_keys);  // Enter on the link did not press the dialog's default button
  for (const Opened& opened : g_opened) {
    EXPECT_EQ(opened.verb, L"open");
    EXPECT_EQ(opened.target, kHomePage);
    EXPECT_EQ(opened.show, SW_SHOWNORMAL);
  }
  EXPECT_TRUE(blue_before);
  EXPECT_FALSE(purple_before);
  EXPECT_FALSE(blue_after);
  EXPECT_TRUE(purple_after);
}

TEST_F(HyperLink, BrowserColoursThatParseReplaceTheDefaultsAndOnlyASuccessfulOpenIsVisited) {
  struct Case {
    const char* name;
    const char* link_setting;
    const char* visited_setting;
    INT_PTR open_result;
    COLORREF before, after;
  };
  const Case cases[] = {
      {"defaults", nullptr, nullptr, 42, kBlue, kPurple},
      {"red link", "255,0,0", nullptr, 42, RGB(255, 0, 0), kPurple},
      {"named colour ignored", "red", nullptr, 42, kBlue, kPurple},
      {"green visited", nullptr, "0,128,0", 42, kBlue, RGB(0, 128, 0)},
      {"failed open", "255,0,0", "0,128,0", SE_ERR_FNF, RGB(255, 0, 0), RGB(255, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<BrowserColour> link_colour, visited_colour;
    if (c.link_setting) link_colour.emplace("Anchor Color", c.link_setting);
    if (c.visited_setting) visited_colour.emplace("Anchor Color Visited", c.visited_setting);
    g_open_result = c.open_result;
    const HWND link = MakeLink(QM_HOME_PAGE);
    const Painting before(link);
    EXPECT_TRUE(before.Has(c.before));
    SendMessageA(link, WM_CHAR, VK_RETURN, 0);
    const Painting after(link);
    EXPECT_TRUE(after.Has(c.after));
    if (c.after != c.before) EXPECT_FALSE(after.Has(c.before));
    DestroyWindow(link);
  }
}

TEST_F(HyperLink, TheLinkFollowsItsAlignmentAndAnEmptyOneShowsAndOpensNothing) {
  struct Case {
    DWORD style;
    const char* text;
  };
  for (const Case& c : {Case{SS_LEFT, "www.example.test"}, Case{SS_CENTER, "www.example.test"},
                        Case{SS_RIGHT, "www.example.test"}, Case{SS_LEFT, ""}}) {
    SCOPED_TRACE(std::to_string(c.style) + c.text);
    g_opened.clear();
    const HWND link = MakeLink(c.text, c.style);
    const Painting painting(link);
    const RECT drawn = painting.Bounds(kBlue);
    RECT client{};
    GetClientRect(link, &client);
    ClickAt(link, Centre(drawn));
    SendMessageA(link, WM_CHAR, VK_SPACE, 0);
    ClickAt(link, Centre(client));
    if (!*c.text) {
      EXPECT_TRUE(IsRectEmpty(&drawn));
      EXPECT_TRUE(g_opened.empty());
    } else {
      EXPECT_EQ(g_opened.size(), 2u);  // the click in the middle of the client area misses a short left or right link
      if (c.style == SS_LEFT) EXPECT_LE(drawn.left, 2);
      if (c.style == SS_RIGHT) EXPECT_GE(drawn.right, client.right - 2);
      if (c.style == SS_CENTER) EXPECT_NEAR(drawn.left + drawn.right, client.right, 4);
    }
    DestroyWindow(link);
  }
}

TEST_F(HyperLink, TheClassIsRegisteredOnceAndMovesToTheLanguageModuleWhoseDialogsUseIt) {
  imports.ResetCounts();
  EXPECT_TRUE(qm::RegisterHyperLinkClass(resources));
  EXPECT_EQ(imports.Calls("RegisterClassExA"), 0u);  // already registered in SetUp

  const HMODULE german = LoadLibraryExA("QuorvaneMarrowby.lang-1031.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(german, nullptr);
  std::wstring caption, link_text;
  qm::DeleteSoftLinkDialog dialog(german, "D:\\Links\\Music", L"D:\\Music", true);
  WNDCLASSEXA found{sizeof found};
  EXPECT_FALSE(GetClassInfoExA(resources, qm::kHyperLinkClassName, &found));
  EXPECT_TRUE(GetClassInfoExA(german, qm::kHyperLinkClassName, &found));
  {
    DialogDriver driver([&](HWND d) {
      caption = Text(d);
      link_text = ItemText(d, IDC_HOME_PAGE_LINK);
      PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(dialog.AskChoice(parent), IDCANCEL);
  }
  EXPECT_EQ(caption, L"Optionen zum L\u00F6schen eines Soft Links");
  EXPECT_EQ(link_text, kHomePage);
  EXPECT_EQ(imports.Calls("RegisterClassExA"), 1u);
  EXPECT_EQ(imports.Calls("UnregisterClassA"), 1u);

  EXPECT_TRUE(qm::RegisterHyperLinkClass(resources));
  FreeLibrary(german);
}

}  // namespace
