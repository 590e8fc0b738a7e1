#include "ui/window_text.h"

#include "win/errors.h"

namespace qm {

std::wstring WindowText(HWND window) {
  SetLastError(ERROR_SUCCESS);
  const int length = GetWindowTextLengthW(window);
  if (length == 0 && GetLastError() != ERROR_SUCCESS) RaiseLastError();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  if (copied == 0 && GetLastError() != ERROR_SUCCESS) RaiseLastError();
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

void ReplaceWindowText(HWND window, std::wstring_view text) {
  const std::wstring terminated(text);
  if (!SetWindowTextW(window, terminated.c_str())) RaiseLastError();
}

}  // namespace qm
