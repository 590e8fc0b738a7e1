// The dialog templates of the main module and of each language module, made
// into real windows: the same controls in the same places, only the texts
// translated.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "dialog_driver.h"
#include "home_page.h"
#include "resources/resource_ids.h"
#include "ui/hyperlink.h"

namespace {

struct Control {
  int id;
  std::wstring class_name;
  LONG style;
  RECT rect;
  std::wstring text;
  bool operator==(const Control&) const = default;
};

struct Made {
  LONG style;
  RECT client;
  RECT template_size, template_icon;
  std::wstring caption;
  std::vector<Control> controls;
};

INT_PTR CALLBACK Plain(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

Made MakeDialog(HMODULE module, int id) {
  Made made{};
  EXPECT_TRUE(qm::RegisterHyperLinkClass(module));
  const HWND dialog = CreateDialogParamW(module, MAKEINTRESOURCEW(id), GetDesktopWindow(), &Plain, 0);
  EXPECT_NE(dialog, nullptr) << id;
  if (!dialog) return made;
  made.style = GetWindowLongW(dialog, GWL_STYLE);
  GetClientRect(dialog, &made.client);
  made.template_size = DialogUnits(dialog, 0, 0, 275, 105);
  made.template_icon = DialogUnits(dialog, 10, 10, 10 + 20, 10 + 20);
  made.caption = Text(dialog);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Control control{GetDlgCtrlID(child), std::wstring(64, L'\0'), GetWindowLongW(child, GWL_STYLE), {}, Text(child)};
    control.class_name.resize(static_cast<std::size_t>(GetClassNameW(child, control.class_name.data(), 64)));
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
    made.controls.push_back(control);
  }
  DestroyWindow(dialog);
  return made;
}

TEST(DialogTemplates, LanguageModulesTranslateTheTextsAndKeepEveryControl) {
  const HMODULE main = GetModuleHandleA("qm_testable.dll");
  const char* languages[] = {"QuorvaneMarrowby.lang-1031.dll", "QuorvaneMarrowby.lang-1036.dll"};
  for (const int id : {IDD_COPY_DIRECTORY, IDD_DELETE_SOFT_LINK, IDD_MOVE_SOFT_LINK, IDD_COPY_SOFT_LINK, IDD_LINK_PAGE}) {
    SCOPED_TRACE(id);
    const Made english = MakeDialog(main, id);
    const bool page = id == IDD_LINK_PAGE;  // the Link page: a child of a sheet, with no icon or link
    EXPECT_EQ(english.style & 0x80C800C8, page ? 0x00C00048 : 0x80C800C8);
    EXPECT_TRUE(page || EqualRect(&english.client, &english.template_size));
    ASSERT_EQ(english.controls.size(), page ? 9u : id == IDD_DELETE_SOFT_LINK ? 7u : 8u);
    EXPECT_TRUE(page || EqualRect(&english.controls[0].rect, &english.template_icon));  // the icon keeps its size
    const Control& link = english.controls.back();
    EXPECT_EQ(link.id, page ? IDC_LINK_NAMES : IDC_HOME_PAGE_LINK);
    EXPECT_EQ(link.text, page ? L"" : L"" QM_HOME_PAGE);  // the link shows the web site address itself
    for (const char* name : languages) {
      SCOPED_TRACE(name);
      const HMODULE language = LoadLibraryExA(name, nullptr, DONT_RESOLVE_DLL_REFERENCES);
      ASSERT_NE(language, nullptr);
      const Made translated = MakeDialog(language, id);
      EXPECT_EQ(translated.style, english.style);
      EXPECT_TRUE(page || translated.caption != english.caption);  // "Link" is German too
      ASSERT_EQ(translated.controls.size(), english.controls.size());
      for (std::size_t i = 0; i < english.controls.size(); ++i) {
        const Control& a = english.controls[i];
        const Control& b = translated.controls[i];
        EXPECT_EQ(std::tie(a.id, a.class_name, a.style), std::tie(b.id, b.class_name, b.style)) << i;
        EXPECT_TRUE(EqualRect(&a.rect, &b.rect)) << i;
        if (a.id == IDC_HOME_PAGE_LINK)
          EXPECT_EQ(a.text, b.text);  // the address is the same in every language
        else if (!a.text.empty())
          EXPECT_NE(a.text, b.text) << i;
        // Each message keeps as many paths as the English one.
        const auto paths = [](const std::wstring& t) {
          std::size_t n = 0;
          for (std::size_t at = t.find(L"%s"); at != std::wstring::npos; at = t.find(L"%s", at + 2)) ++n;
          return n;
        };
        EXPECT_EQ(paths(a.text), paths(b.text)) << i;
      }
      FreeLibrary(language);
    }
  }
  EXPECT_TRUE(qm::RegisterHyperLinkClass(main));
}

}  // namespace
