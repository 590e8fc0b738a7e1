// Drives a dialog that the test's thread shows modally, from a second thread,
// with real messages, the way a user's clicks and keys reach it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class DialogDriver {
 public:
  using Action = std::function<void(HWND dialog)>;
  using Filter = std::function<bool(HWND dialog)>;

  // Waits (up to `wait_ms`) for a visible dialog window of the calling thread
  // that `wanted` accepts (any, without one), runs `act` with it on the second
  // thread, then waits for it to close; one still open after 5 s is cancelled.
  explicit DialogDriver(Action act, Filter wanted = nullptr, DWORD wait_ms = 10000);
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver();

  // Waits for the second thread; whether a dialog was found.
  bool Found();
  // Whether the action left the dialog open (it was then cancelled).
  bool LeftOpen();

 private:
  static DWORD WINAPI Run(void* self);

  DWORD m_thread;
  Action m_act;
  Filter m_wanted;
  DWORD m_wait_ms;
  HANDLE m_driver = nullptr;
  bool m_found = false, m_left_open = false;
};

// Helpers for actions, called on the driver's thread.
std::wstring Text(HWND window);
std::wstring ItemText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// BM_CLICK, as a mouse click on the button.
void Click(HWND dialog, int id);
// A key pressed and released in the window that has the focus on the
// dialog's thread (the dialog itself when none has).
void PressKey(HWND dialog, WORD key);
// The window rectangle of a dialog item, in screen pixels.
RECT ItemRect(HWND dialog, int id);
// Dialog units to pixels for `dialog`.
RECT DialogUnits(HWND dialog, int left, int top, int right, int bottom);
bool HasItem(HWND dialog, int id);

// Holds the Control key down for the calling thread's key state while in scope.
class ControlKeyDown {
 public:
  ControlKeyDown();
  ControlKeyDown(const ControlKeyDown&) = delete;
  ControlKeyDown& operator=(const ControlKeyDown&) = delete;
  ~ControlKeyDown();

 private:
  BYTE m_saved[256] = {};
};
