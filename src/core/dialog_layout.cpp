#include "core/dialog_layout.h"

namespace qm {

TextGrowth PlanTextGrowth(const Rect& text, std::int32_t measured_width, std::int32_t measured_height,
                          const std::vector<Rect>& siblings) {
  TextGrowth plan;
  plan.text = text;
  plan.moves.assign(siblings.size(), false);
  const std::int64_t growth = std::int64_t{measured_height} - (std::int64_t{text.bottom} - text.top);
  if (growth <= 0 || growth > INT32_MAX - 2) return plan;
  plan.growth = static_cast<std::int32_t>(growth);
  plan.text.right = text.left + measured_width;
  plan.text.bottom = text.top + measured_height + 2;
  for (std::size_t i = 0; i < siblings.size(); ++i) plan.moves[i] = siblings[i].top >= text.bottom;
  return plan;
}

Rect AlignLinkRect(const Rect& client, const Rect& measured, TextAlignment alignment) {
  const std::int64_t remaining =
      (std::int64_t{client.right} - client.left) - (std::int64_t{measured.right} - measured.left);
  std::int64_t shift = 0;
  if (alignment == TextAlignment::Centre) shift = remaining / 2;
  if (alignment == TextAlignment::Right) shift = remaining;
  Rect result = measured;
  result.left = static_cast<std::int32_t>(measured.left + shift);
  result.right = static_cast<std::int32_t>(measured.right + shift);
  return result;
}

}  // namespace qm
