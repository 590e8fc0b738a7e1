// What a window draws, read back pixel by pixel (WM_PRINTCLIENT into a
// memory bitmap), so tests can see colours and where they are.
#pragma once

#include <windows.h>

#include <vector>

class Painting {
 public:
  explicit Painting(HWND window);

  bool Has(COLORREF colour) const;
  // The smallest rectangle holding every pixel of `colour` (empty: none).
  RECT Bounds(COLORREF colour) const;
  int width() const { return m_width; }

 private:
  int m_width = 0, m_height = 0;
  std::vector<COLORREF> m_pixels;
};
