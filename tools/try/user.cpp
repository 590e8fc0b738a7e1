#include "user.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "dialog_driver.h"
#include "picture.h"
#include "transcript.h"

namespace tour {
namespace {

std::wstring g_picture_folder = L".";

bool IsDialog(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return std::strcmp(name, "#32770") == 0 && IsWindowVisible(window);
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  if (!IsDialog(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Texts line by line in z-order; push buttons gather on one line, shown
// before the check box or last.
struct Description {
  std::wstring buttons;
  void Flush() {
    if (!buttons.empty()) Say(L"| " + buttons);
    buttons.clear();
  }
};

std::wstring Trimmed(std::wstring text) {
  while (!text.empty() && iswspace(text.back())) text.pop_back();
  return text;
}

BOOL CALLBACK DescribeItem(HWND item, LPARAM description_arg) {
  auto& description = *reinterpret_cast<Description*>(description_arg);
  if (!IsWindowVisible(item)) return TRUE;
  const std::wstring name = ClassOf(item), text = Trimmed(Shown(Text(item)));
  const LONG kind = GetWindowLongW(item, GWL_STYLE) & BS_TYPEMASK;
  if (_wcsicmp(name.c_str(), L"Button") == 0 && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX)) {
    description.Flush();
    const bool checked = SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
    description.buttons = std::wstring(checked ? L"[x] " : L"[ ] ") + text;
  } else if (_wcsicmp(name.c_str(), L"Button") == 0) {
    if (!description.buttons.empty()) description.buttons += L"  ";
    description.buttons += L"[ " + text + (IsWindowEnabled(item) ? L" ]" : L" ] (disabled)");
  } else if (_wcsicmp(name.c_str(), L"CHyperLinkEx") == 0) {
    description.buttons += L"   <" + text + L">";
  } else {
    // A multi-line edit shows a line per name.
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
      end = std::min(text.find(L"\r\n", start), text.size());
      Say(L"| " + text.substr(start, end - start));
    }
  }
  return TRUE;
}

}  // namespace

void Describe(HWND dialog) {
  Say(L"+-- \"" + Text(dialog) + L"\"");
  Description description;
  EnumChildWindows(dialog, &DescribeItem, reinterpret_cast<LPARAM>(&description));
  description.Flush();
}

void SetPictureFolder(const std::wstring& folder) { g_picture_folder = folder; }

User::User(std::vector<Reaction> reactions) : m_thread(GetCurrentThreadId()), m_reactions(std::move(reactions)) {
  m_watcher = CreateThread(nullptr, 0, &User::Watch, this, 0, nullptr);
}

User::~User() {
  m_stop = true;
  if (m_watcher) {
    WaitForSingleObject(m_watcher, INFINITE);
    CloseHandle(m_watcher);
  }
}

DWORD WINAPI User::Watch(void* arg) {
  auto* self = static_cast<User*>(arg);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // pictures are encoded through COM
  while (!self->m_stop) {
    HWND dialog = nullptr;
    EnumThreadWindows(self->m_thread, &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog) {
      self->Answer(dialog);
    } else {
      Sleep(20);
    }
  }
  CoUninitialize();
  return 0;
}

void User::Answer(HWND dialog) {
  Sleep(300);  // drawn
  const int index = m_seen++;
  Describe(dialog);
  if (index >= static_cast<int>(m_reactions.size())) {
    Say("| (not planned: the user presses Escape)");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  } else {
    const Reaction& reaction = m_reactions[index];
    if (!reaction.picture.empty()) {
      const std::wstring path = g_picture_folder + L"\\" + Wide(reaction.picture);
      Say("+-- picture: " + (SaveWindowPicture(dialog, path) ? reaction.picture : "(could not be taken)"));
    }
    reaction.act(dialog);
    // Wine's modal sheet looks whether it has ended only when a message is posted to it.
    PostMessageW(dialog, WM_NULL, 0, 0);
  }
  for (int i = 0; i < 250 && IsWindow(dialog); ++i) Sleep(20);
  if (IsWindow(dialog)) {
    Say("| (still open after 5 s: closed with Escape)");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 250 && IsWindow(dialog); ++i) Sleep(20);
  }
}

std::function<void(HWND)> Press(int button_id) {
  return [button_id](HWND dialog) {
    Say(L"the user presses \"" + Shown(ItemText(dialog, button_id)) + L"\"");
    Click(dialog, button_id);
  };
}

std::function<void(HWND)> ToggleThen(int check_box_id, std::function<void(HWND)> then) {
  return [check_box_id, then](HWND dialog) {
    Say(std::wstring(IsChecked(dialog, check_box_id) ? L"the user clears \"" : L"the user ticks \"") +
        Shown(ItemText(dialog, check_box_id)) + L"\"");
    Click(dialog, check_box_id);
    then(dialog);
  };
}

std::function<void(HWND)> Type(int edit_id, std::wstring text) {
  return [edit_id, text](HWND dialog) {
    Say(L"the user types " + text);
    HWND edit = GetDlgItem(dialog, edit_id);
    // A sheet's controls are on its pages.
    for (HWND page = GetWindow(dialog, GW_CHILD); page && !edit; page = GetWindow(page, GW_HWNDNEXT))
      edit = GetDlgItem(page, edit_id);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
  };
}

std::function<void(HWND)> Then(std::function<void(HWND)> first, std::function<void(HWND)> second) {
  return [first, second](HWND dialog) {
    first(dialog);
    Sleep(300);  // the sheet shows what happened
    Describe(dialog);
    second(dialog);
  };
}

std::function<void(HWND)> PressEscape() {
  return [](HWND dialog) {
    Say("the user presses Escape");
    PressKey(dialog, VK_ESCAPE);
  };
}

}  // namespace tour
