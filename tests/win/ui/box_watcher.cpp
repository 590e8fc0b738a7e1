#include "box_watcher.h"

#include <cstring>

namespace {

HWND g_found;

BOOL CALLBACK FindBox(HWND window, LPARAM) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  g_found = window;
  return FALSE;
}

std::string Text(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

BoxWatcher::BoxWatcher(HANDLE close_after) : m_thread(GetCurrentThreadId()), m_close_after(close_after) {
  m_watcher = CreateThread(nullptr, 0, &BoxWatcher::Run, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher() { Result(); }

const SeenBox& BoxWatcher::Result() {
  if (m_watcher) {
    WaitForSingleObject(m_watcher, 30000);
    CloseHandle(m_watcher);
    m_watcher = nullptr;
  }
  return m_seen;
}

DWORD WINAPI BoxWatcher::Run(void* arg) {
  auto* self = static_cast<BoxWatcher*>(arg);
  for (int i = 0; i < 500; ++i) {
    g_found = nullptr;
    EnumThreadWindows(self->m_thread, &FindBox, 0);
    if (g_found) break;
    Sleep(20);
  }
  const HWND box = g_found;
  if (!box) return 0;
  if (self->m_close_after) WaitForSingleObject(self->m_close_after, 10000);
  SeenBox& seen = self->m_seen;
  seen.shown = true;
  GetWindowRect(box, &seen.rect);
  seen.owner = GetWindow(box, GW_OWNER);
  seen.caption = Text(box);
  seen.text = Text(GetDlgItem(box, 0xFFFF));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(20);
  return 0;
}
