#include "dialog_driver.h"

#include <cstring>

namespace {

struct Search {
  const DialogDriver::Filter* wanted;
  HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM arg) {
  auto* search = reinterpret_cast<Search*>(arg);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if (*search->wanted && !(*search->wanted)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

DialogDriver::DialogDriver(Action act, Filter wanted, DWORD wait_ms)
    : m_thread(GetCurrentThreadId()), m_act(std::move(act)), m_wanted(std::move(wanted)), m_wait_ms(wait_ms) {
  m_driver = CreateThread(nullptr, 0, &DialogDriver::Run, this, 0, nullptr);
}

DialogDriver::~DialogDriver() { Found(); }

bool DialogDriver::Found() {
  if (m_driver) {
    WaitForSingleObject(m_driver, 30000);
    CloseHandle(m_driver);
    m_driver = nullptr;
  }
  return m_found;
}

bool DialogDriver::LeftOpen() {
  Found();
  return m_left_open;
}

DWORD WINAPI DialogDriver::Run(void* arg) {
  auto* self = static_cast<DialogDriver*>(arg);
  Search search{&self->m_wanted};
  for (DWORD waited = 0; waited < self->m_wait_ms && !search.found; waited += 20) {
    EnumThreadWindows(self->m_thread, &FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(20);
  }
  const HWND dialog = search.found;
  if (!dialog) return 0;
  self->m_found = true;
  self->m_act(dialog);
  for (int i = 0; i < 250 && IsWindow(dialog); ++i) Sleep(20);
  if (IsWindow(dialog)) {
    self->m_left_open = true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 250 && IsWindow(dialog); ++i) Sleep(20);
  }
  return 0;
}

std::wstring Text(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

std::wstring ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PressKey(HWND dialog, WORD key) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  const HWND target = info.hwndFocus ? info.hwndFocus : dialog;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(target, WM_KEYDOWN, key, 1 | scan);
  PostMessageA(target, WM_KEYUP, key, 1 | scan | (LPARAM{3} << 30));
  Sleep(100);
}

RECT ItemRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  return rect;
}

RECT DialogUnits(HWND dialog, int left, int top, int right, int bottom) {
  RECT rect{left, top, right, bottom};
  MapDialogRect(dialog, &rect);
  return rect;
}

bool HasItem(HWND dialog, int id) { return GetDlgItem(dialog, id) != nullptr; }

ControlKeyDown::ControlKeyDown() {
  GetKeyboardState(m_saved);
  BYTE keys[256];
  std::memcpy(keys, m_saved, sizeof keys);
  keys[VK_CONTROL] |= 0x80;
  keys[VK_LCONTROL] |= 0x80;
  SetKeyboardState(keys);
}

ControlKeyDown::~ControlKeyDown() { SetKeyboardState(m_saved); }
