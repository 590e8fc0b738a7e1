#include "core/window_centring.h"

#include <algorithm>
#include <limits>

namespace qm {
namespace {

constexpr std::uint32_t kVisible = 0x10000000;    // WS_VISIBLE
constexpr std::uint32_t kMinimised = 0x20000000;  // WS_MINIMIZE

std::int32_t Saturate(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Position along one axis; 64-bit so that no sum of coordinates overflows.
std::int64_t Place(std::int64_t size, std::int64_t ref_low, std::int64_t ref_high, std::int64_t area_low,
                   std::int64_t area_high) {
  std::int64_t low = (ref_low + ref_high) / 2 - size / 2;
  if (low < area_low)
    low = area_low;
  else if (low + size > area_high)
    low = area_high - size;
  return low;
}

}  // namespace

CentringFrame ChooseCentringFrame(const CentringFacts& facts) {
  if (facts.is_child) return facts.has_reference ? CentringFrame::ReferenceClientInParent : CentringFrame::None;
  if (!facts.has_reference) return CentringFrame::WorkArea;
  const bool usable = (facts.reference_style & kVisible) != 0 && (facts.reference_style & kMinimised) == 0;
  return usable ? CentringFrame::ReferenceWindowInWorkArea : CentringFrame::WorkArea;
}

Point CentredPosition(const Rect& window, const Rect& reference, const Rect& area) {
  const std::int64_t width = std::int64_t{window.right} - window.left;
  const std::int64_t height = std::int64_t{window.bottom} - window.top;
  return {Saturate(Place(width, reference.left, reference.right, area.left, area.right)),
          Saturate(Place(height, reference.top, reference.bottom, area.top, area.bottom))};
}

}  // namespace qm
