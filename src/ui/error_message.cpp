#include "ui/error_message.h"

#include "core/error_text.h"
#include "resources/resource_ids.h"
#include "ui/centered_message_box.h"
#include "win/module_instance.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

// Used when the resource module has no fallback text.
constexpr char kBuiltInFallback[] = "Error 0x%08x";

constexpr DWORD kCaptionBits = WS_BORDER | WS_DLGFRAME;

// One message table lookup without insert arguments; empty when the source
// has no text for `id` or the text needs arguments.
std::string MessageTableText(DWORD source, HMODULE module, DWORD id) {
  UniqueLocalMemory buffer;
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | source, module,
                                      id, LANG_USER_DEFAULT, reinterpret_cast<LPSTR>(buffer.put()), 0, nullptr);
  if (length == 0 || !buffer) return {};
  std::string text(static_cast<const char*>(buffer.get()), length);
  if (NeedsInsertArguments(text)) return {};
  return text;
}

std::string FallbackFormat() {
  try {
    std::string format = LoadResourceString(IDS_ERROR_FALLBACK);
    if (!format.empty()) return format;
  } catch (const CAtlException&) {
  }
  return kBuiltInFallback;
}

HWND MessageBoxOwner(HWND window) {
  HWND current = window;
  while (current && IsWindow(current) && (GetWindowLongA(current, GWL_STYLE) & kCaptionBits) == 0)
    current = GetParent(current);
  return current && IsWindow(current) ? current : window;
}

}  // namespace

std::string FormatErrorText(Status status, bool fallback) {
  const auto id = static_cast<DWORD>(status);
  std::string text = MessageTableText(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, id);
  const HMODULE message_modules[] = {MainModule()};
  for (HMODULE module : message_modules) {
    if (!text.empty()) break;
    text = MessageTableText(FORMAT_MESSAGE_FROM_HMODULE, module, id);
  }
  if (text.empty() && fallback) text = FormatFallbackErrorText(FallbackFormat(), id);
  return text;
}

int ShowErrorMessage(HWND window, Status status) noexcept {
  try {
    const HWND owner = MessageBoxOwner(window);
    const std::string text = FormatErrorText(status, true);
    const auto caption = MAKEINTRESOURCEA(IDS_ERROR_CAPTION);
    const int answer = CenteredMessageBox(owner, text.c_str(), caption, MB_OK | MB_ICONERROR);
    // A window destroyed meanwhile cannot own the box; show it without owner
    // rather than lose the report.
    if (answer <= 0 && owner && !IsWindow(owner)) CenteredMessageBox(nullptr, text.c_str(), caption, MB_OK | MB_ICONERROR);
  } catch (...) {
    // Out of memory: nothing left to show the failure with.
  }
  return 0;
}

}  // namespace qm
