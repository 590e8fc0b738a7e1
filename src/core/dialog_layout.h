// Layout arithmetic of the option dialogs and the hyperlink control.
#pragma once

#include <cstdint>
#include <vector>

#include "core/window_centring.h"

namespace qm {

// A text control that needs more height than it has grows to the measured
// size (plus 2 in height); the controls that start at or below its old
// bottom edge and the dialog move down by the difference.
struct TextGrowth {
  std::int32_t growth = 0;  // 0: nothing changes
  Rect text;                // the text control's new rectangle
  std::vector<bool> moves;  // per sibling: moves down by `growth`
};
TextGrowth PlanTextGrowth(const Rect& text, std::int32_t measured_width, std::int32_t measured_height,
                          const std::vector<Rect>& siblings);

enum class TextAlignment { Left, Centre, Right };

// The link's rectangle: `measured` (laid out from the client's top-left
// corner) shifted right by half the remaining width, or all of it.
Rect AlignLinkRect(const Rect& client, const Rect& measured, TextAlignment alignment);

}  // namespace qm
