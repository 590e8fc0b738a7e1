#include "painting.h"

#include <algorithm>

Painting::Painting(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  m_width = client.right;
  m_height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = m_width;
  info.bmiHeader.biHeight = -m_height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  const auto* pixels = static_cast<const DWORD*>(bits);
  for (int i = 0; pixels && i < m_width * m_height; ++i)
    m_pixels.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

bool Painting::Has(COLORREF colour) const {
  return std::find(m_pixels.begin(), m_pixels.end(), colour) != m_pixels.end();
}

RECT Painting::Bounds(COLORREF colour) const {
  RECT bounds{m_width, m_height, 0, 0};
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x)
      if (m_pixels[static_cast<std::size_t>(y * m_width + x)] == colour) {
        bounds.left = std::min<LONG>(bounds.left, x);
        bounds.top = std::min<LONG>(bounds.top, y);
        bounds.right = std::max<LONG>(bounds.right, x + 1);
        bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
      }
  if (bounds.right == 0) SetRectEmpty(&bounds);
  return bounds;
}
