// Finds the message box a thread is showing, reads it while it is open, and
// closes it with OK.
#pragma once

#include <windows.h>

#include <string>

struct SeenBox {
  bool shown = false;
  RECT rect{};
  HWND owner = nullptr;
  std::string caption, text;
};

class BoxWatcher {
 public:
  // Watches the calling thread. With `close_after`, the box stays open until
  // that event is set (or 10 s have passed).
  explicit BoxWatcher(HANDLE close_after = nullptr);
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;
  ~BoxWatcher();

  // Waits for the watch to end: the box closed, or none seen within 10 s.
  const SeenBox& Result();

 private:
  static DWORD WINAPI Run(void* self);

  DWORD m_thread;
  HANDLE m_close_after;
  HANDLE m_watcher = nullptr;
  SeenBox m_seen;
};

// Centre of a rectangle along each axis, doubled to stay in integers.
inline LONG DoubleCentreX(const RECT& r) { return r.left + r.right; }
inline LONG DoubleCentreY(const RECT& r) { return r.top + r.bottom; }
