#include "ui/hyperlink.h"

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "core/anchor_colour.h"
#include "core/dialog_layout.h"
#include "ui/window_object.h"
#include "ui/window_object_registry.h"
#include "ui/window_text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

constexpr char kBrowserSettingsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";
constexpr UINT_PTR kToolId = 1;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX;

// The instance the class is registered for; guarded by the window code's lock.
HINSTANCE g_registered_for = nullptr;

// A colour of the browser settings ("r,g,b" in at most 12 bytes), if one is stored.
std::optional<COLORREF> StoredColour(HKEY key, const char* name) {
  char text[12] = {};
  DWORD type = REG_NONE, size = sizeof text;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  const auto colour = ParseAnchorColour(std::string_view(text, size));
  if (!colour) return std::nullopt;
  return RGB(colour->red, colour->green, colour->blue);
}

class CHyperLinkEx final : public CWindowObject {
 public:
  static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnFinalMessage() override { delete this; }

 private:
  void Start();
  void SetLinkTarget(std::wstring target);
  void ReadColours();
  void CreateToolTip();
  void MeasureLink();
  void Paint(HDC dc);
  void Open();
  bool OverLink(LPARAM position) const;
  const std::wstring& ShownText() const { return m_label.empty() ? m_target : m_label; }
  UINT AlignmentFormat() const;

  std::wstring m_label, m_target;
  COLORREF m_link_colour = RGB(0, 0, 255);
  COLORREF m_visited_colour = RGB(128, 0, 128);
  bool m_visited = false;
  HFONT m_normal_font = nullptr;
  UniqueGdiObject m_link_font;
  RECT m_link_rect{};
  UniqueWindow m_tooltip;
  HCURSOR m_hand = nullptr;
};

LRESULT CALLBACK CHyperLinkEx::ClassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_NCCREATE) return DefWindowProcA(window, message, wparam, lparam);
  std::unique_ptr<CHyperLinkEx> control(new (std::nothrow) CHyperLinkEx);
  if (!control) return FALSE;
  try {
    const PendingWindowObject pending(*control);
    const LRESULT result = StartWindowProc(window, message, wparam, lparam);
    if (FromWindow(window) != control.get()) return FALSE;
    // The window owns it now; it deletes itself after the last message.
    control.release();
    return result;
  } catch (...) {
    return FALSE;
  }
}

LRESULT CHyperLinkEx::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && m_tooltip) {
    MSG relayed{window(), message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
    SendMessageA(m_tooltip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  switch (message) {
    case WM_CREATE:
      Start();
      return 0;
    case WM_DESTROY:
      m_tooltip.reset();
      return 0;
    case WM_MOUSEMOVE:
      if (OverLink(lparam)) SetCursor(m_hand);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window(), nullptr, TRUE);
      return 0;
    case WM_ENABLE:
      InvalidateRect(window(), nullptr, TRUE);
      UpdateWindow(window());
      return 0;
    case WM_UPDATEUISTATE:
      return 0;
    case WM_PAINT: {
      const PaintScope paint(window());
      Paint(paint.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR: {
      POINT cursor{};
      GetCursorPos(&cursor);
      ScreenToClient(window(), &cursor);
      if (!PtInRect(&m_link_rect, cursor)) break;
      SetCursor(m_hand);
      return TRUE;
    }
    case WM_SETFONT:
      m_normal_font = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(lparam)) InvalidateRect(window(), nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(m_normal_font);
    case WM_GETDLGCODE: {
      // Enter reaches the link rather than the dialog's default button.
      const auto* key = reinterpret_cast<const MSG*>(lparam);
      const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      return DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_CHAR:
      if (wparam == VK_RETURN || wparam == VK_SPACE) Open();
      return 0;
    case WM_LBUTTONDOWN:
      if (OverLink(lparam)) {
        SetFocus(window());
        SetCapture(window());
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window()) {
        ReleaseCapture();
        if (OverLink(lparam)) Open();
      }
      return 0;
    case WM_MOUSELEAVE:
      return 0;
    default:
      break;
  }
  return CallPreviousProcedure(message, wparam, lparam);
}

void CHyperLinkEx::Start() {
  m_hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
  m_normal_font = reinterpret_cast<HFONT>(SendMessageA(GetParent(window()), WM_GETFONT, 0, 0));
  if (!m_normal_font) m_normal_font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  LOGFONTA description{};
  if (GetObjectA(m_normal_font, sizeof description, &description) == sizeof description) {
    description.lfUnderline = TRUE;
    m_link_font.reset(CreateFontIndirectA(&description));
  }
  CreateToolTip();
  m_label = WindowText(window());
  SetLinkTarget(m_label);
  ReadColours();
}

void CHyperLinkEx::ReadColours() {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kBrowserSettingsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  if (const auto colour = StoredColour(key.get(), "Anchor Color")) m_link_colour = *colour;
  if (const auto colour = StoredColour(key.get(), "Anchor Color Visited")) m_visited_colour = *colour;
}

void CHyperLinkEx::CreateToolTip() {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
  InitCommonControlsEx(&classes);
  m_tooltip.reset(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window(), nullptr,
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window(), GWLP_HINSTANCE)), nullptr));
}

void CHyperLinkEx::SetLinkTarget(std::wstring target) {
  m_target = std::move(target);
  MeasureLink();
  if (!m_tooltip) return;
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
  tool.hwnd = window();
  tool.uId = kToolId;
  SendMessageW(m_tooltip.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (m_target.empty()) return;
  SendMessageA(m_tooltip.get(), TTM_ACTIVATE, TRUE, 0);
  tool.rect = m_link_rect;
  tool.lpszText = m_target.data();
  SendMessageW(m_tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

UINT CHyperLinkEx::AlignmentFormat() const {
  switch (GetWindowLongA(window(), GWL_STYLE) & SS_TYPEMASK) {
    case SS_CENTER:
      return DT_CENTER;
    case SS_RIGHT:
      return DT_RIGHT;
    default:
      return DT_LEFT;
  }
}

void CHyperLinkEx::MeasureLink() {
  RECT client{};
  GetClientRect(window(), &client);
  const std::wstring& text = ShownText();
  if (text.empty()) {
    SetRectEmpty(&m_link_rect);
    return;
  }
  RECT measured = client;
  {
    const WindowDC dc(window());
    if (!dc) return;
    const SelectedObject font(dc.get(), m_link_font.get());
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | kTextFormat);
  }
  const UINT format = AlignmentFormat();
  const TextAlignment alignment =
      format == DT_CENTER ? TextAlignment::Centre : format == DT_RIGHT ? TextAlignment::Right : TextAlignment::Left;
  const Rect aligned = AlignLinkRect({client.left, client.top, client.right, client.bottom},
                                     {measured.left, measured.top, measured.right, measured.bottom}, alignment);
  m_link_rect = {aligned.left, aligned.top, aligned.right, aligned.bottom};
}

void CHyperLinkEx::Paint(HDC dc) {
  const SavedDC saved(dc);
  RECT client{};
  GetClientRect(window(), &client);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(window()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window())));
  if (brush) FillRect(dc, &client, brush);
  const std::wstring& text = ShownText();
  if (text.empty()) return;
  SelectObject(dc, m_link_font ? m_link_font.get() : m_normal_font);
  SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = !IsWindowEnabled(window()) ? GetSysColor(COLOR_GRAYTEXT)
                          : m_visited                ? m_visited_colour
                                                     : m_link_colour;
  SetTextColor(dc, colour);
  RECT rect = m_link_rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kTextFormat | AlignmentFormat());
  if (GetFocus() == window()) DrawFocusRect(dc, &m_link_rect);
}

void CHyperLinkEx::Open() {
  if (m_target.empty()) return;
  const HINSTANCE result = ShellExecuteW(GetParent(window()), L"open", m_target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) return;
  m_visited = true;
  InvalidateRect(window(), nullptr, TRUE);
}

bool CHyperLinkEx::OverLink(LPARAM position) const {
  const POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  return PtInRect(&m_link_rect, point) != FALSE;
}

}  // namespace

bool RegisterHyperLinkClass(HINSTANCE instance) noexcept {
  try {
    const WindowObjectRegistryLock lock;
    if (g_registered_for == instance) return true;
    if (g_registered_for) {
      UnregisterClassA(kHyperLinkClassName, g_registered_for);
      g_registered_for = nullptr;
    }
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    window_class.lpfnWndProc = &CHyperLinkEx::ClassProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kHyperLinkClassName;
    if (!RegisterClassExA(&window_class)) return false;
    g_registered_for = instance;
    return true;
  } catch (...) {
    return false;
  }
}

void UnregisterHyperLinkClass() noexcept {
  try {
    const WindowObjectRegistryLock lock;
    if (g_registered_for && UnregisterClassA(kHyperLinkClassName, g_registered_for)) g_registered_for = nullptr;
  } catch (...) {
  }
}

}  // namespace qm
