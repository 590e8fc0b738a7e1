// The person at the screen. From a second thread it finds each dialog or
// message box that the calling thread shows, prints what it says, saves its
// picture, and answers it the way the tour planned.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace tour {

struct Reaction {
  std::string picture;                // file name in the picture folder; empty: none
  std::function<void(HWND)> act;      // on the user's thread: press a button, tick a box
};

class User {
 public:
  // Answers the dialogs in the order they appear with `reactions`; one more
  // than planned is described and closed with Escape.
  explicit User(std::vector<Reaction> reactions = {});
  ~User();  // stops watching once the current dialog is answered
  User(const User&) = delete;
  User& operator=(const User&) = delete;

  int dialogs_seen() const { return m_seen; }

 private:
  static DWORD WINAPI Watch(void* self);
  void Answer(HWND dialog);

  DWORD m_thread;
  std::vector<Reaction> m_reactions;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_seen{0};
  HANDLE m_watcher = nullptr;
};

// Where the pictures of the dialogs go.
void SetPictureFolder(const std::wstring& folder);

// Reactions, run on the user's thread.
std::function<void(HWND)> Press(int button_id);
std::function<void(HWND)> PressEscape();
// Ticks the check box (or clears it when ticked), then does `then`.
std::function<void(HWND)> ToggleThen(int check_box_id, std::function<void(HWND)> then);

// Types `text` into the edit control `edit_id` (of the dialog or of a page
// of a sheet) as a user does, replacing what it held.
std::function<void(HWND)> Type(int edit_id, std::wstring text);
// Does `first`, describes the dialog again, then does `second`.
std::function<void(HWND)> Then(std::function<void(HWND)> first, std::function<void(HWND)> second);

// What a dialog shows, line by line: caption, texts, buttons, check boxes.
void Describe(HWND dialog);

}  // namespace tour
