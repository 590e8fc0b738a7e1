#include "ui/center_window.h"

#include "core/window_centring.h"

namespace qm {
namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool CenterWindow(HWND window) noexcept {
  const auto style = static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE));
  const bool is_child = (style & WS_CHILD) != 0;
  const HWND reference = is_child ? GetParent(window) : GetWindow(window, GW_OWNER);
  const CentringFacts facts{is_child, reference != nullptr,
                            reference ? static_cast<std::uint32_t>(GetWindowLongA(reference, GWL_STYLE)) : 0};
  RECT own{}, area{}, centre{};
  if (!GetWindowRect(window, &own)) return false;
  switch (ChooseCentringFrame(facts)) {
    case CentringFrame::None:
      return false;
    case CentringFrame::ReferenceClientInParent:
      if (!GetClientRect(reference, &area) || !GetClientRect(reference, &centre)) return false;
      break;
    case CentringFrame::ReferenceWindowInWorkArea:
      if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || !GetWindowRect(reference, &centre)) return false;
      break;
    case CentringFrame::WorkArea:
      if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return false;
      centre = area;
      break;
  }
  const Point corner = CentredPosition(ToRect(own), ToRect(centre), ToRect(area));
  return SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace qm
