#include "ui/static_layout.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "core/dialog_layout.h"
#include "core/dialog_text.h"
#include "ui/window_text.h"
#include "win/errors.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

// Room for what the system adds when it shortens a very short path.
constexpr std::size_t kCompactionRoom = 4;

constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The window rectangle of `window` in the client coordinates of `parent`.
Rect RectInParent(HWND window, HWND parent) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) RaiseLastError();
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return ToRect(rect);
}

void Place(HWND window, int x, int y, int width, int height, UINT flags) {
  if (!SetWindowPos(window, nullptr, x, y, width, height, flags)) RaiseLastError();
}

}  // namespace

std::wstring CompactPathForDialog(HWND dialog, std::wstring_view path) {
  RECT client{};
  if (!GetClientRect(dialog, &client)) RaiseLastError();
  WindowDC dc(dialog);
  if (!dc) RaiseLastError();
  const std::u16string fitting = CutPathToLength(ToU16(path), MAX_PATH - kCompactionRoom);
  wchar_t buffer[MAX_PATH] = {};
  std::copy(fitting.begin(), fitting.end(), buffer);
  // Left as it is when the system cannot shorten it.
  PathCompactPathW(dc.get(), buffer, static_cast<UINT>((client.right - client.left) / 2));
  return buffer;
}

void FitStaticToText(HWND text) {
  const HWND parent = GetParent(text);
  if (!parent) RaiseLastError();
  const std::wstring content = WindowText(text);
  const Rect old_rect = RectInParent(text, parent);

  WindowDC dc(text);
  if (!dc) RaiseLastError();
  const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(parent, WM_GETFONT, 0, 0));
  const SelectedObject selected(dc.get(), font);
  RECT measured{0, 0, old_rect.right - old_rect.left, 0};
  if (!DrawTextW(dc.get(), content.c_str(), static_cast<int>(content.size()), &measured, DT_CALCRECT | DT_WORDBREAK))
    RaiseLastError();

  std::vector<HWND> siblings;
  std::vector<Rect> sibling_rects;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == text) continue;
    siblings.push_back(child);
    sibling_rects.push_back(RectInParent(child, parent));
  }
  const TextGrowth plan =
      PlanTextGrowth(old_rect, measured.right - measured.left, measured.bottom - measured.top, sibling_rects);
  if (plan.growth == 0) return;

  Place(text, 0, 0, plan.text.right - plan.text.left, plan.text.bottom - plan.text.top, kSizeOnly);
  for (std::size_t i = 0; i < siblings.size(); ++i)
    if (plan.moves[i]) Place(siblings[i], sibling_rects[i].left, sibling_rects[i].top + plan.growth, 0, 0, kMoveOnly);
  RECT dialog{};
  if (!GetWindowRect(parent, &dialog)) RaiseLastError();
  Place(parent, 0, 0, dialog.right - dialog.left, dialog.bottom - dialog.top + plan.growth, kSizeOnly);
}

}  // namespace qm
