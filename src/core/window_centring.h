// Where a window goes when it is centred over its reference window.
#pragma once

#include <cstdint>

namespace qm {

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Point {
  std::int32_t x = 0, y = 0;
};

// What the window is centred over, and inside what.
enum class CentringFrame {
  ReferenceClientInParent,  // a child: the reference's client area, inside the parent's client area
  ReferenceWindowInWorkArea,  // a top-level window over its visible, not minimised owner
  WorkArea,  // a top-level window without such an owner: the middle of the work area
  None,  // a child without a parent: nothing to centre over
};

struct CentringFacts {
  bool is_child = false;        // WS_CHILD
  bool has_reference = false;   // the parent of a child, the owner of a top-level window
  std::uint32_t reference_style = 0;
};

CentringFrame ChooseCentringFrame(const CentringFacts& facts);

// Top-left corner for `window` (only its size counts) centred on `reference`
// and then pushed back inside `area`: left or top edge first, else right or
// bottom edge. Midpoints and halves round toward zero.
Point CentredPosition(const Rect& window, const Rect& reference, const Rect& area);

}  // namespace qm
