#include "directory_extension/explorer_window.h"

#include <servprov.h>
#include <shlguid.h>

#include "core/ascii_text.h"
#include "directory_extension/link_items.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

// Top-level classes of the shell's own browsers: Explorer windows and the desktop.
constexpr const char* kShellBrowserClasses[] = {"CabinetWClass", "ExploreWClass", "Progman"};

bool IsShellBrowserWindow(HWND window) {
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  char name[32] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  if (length <= 0) return false;
  for (const char* shell_class : kShellBrowserClasses)
    if (EqualIgnoringAsciiCase(std::string_view(name, static_cast<std::size_t>(length)), shell_class)) return true;
  return false;
}

ComPtr<IShellBrowser> BrowserOfSite(IUnknown* site) {
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  if (!site || FAILED(site->QueryInterface(IID_IServiceProvider, services.put_void())) || !services) return browser;
  if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void()))) browser.detach();
  return browser;
}

// The browser's view, refreshed and with nothing selected; null when any step fails.
ComPtr<IShellView> ClearedView(IShellBrowser* browser) {
  ComPtr<IShellView> view;
  if (FAILED(browser->QueryActiveShellView(view.put())) || !view) return nullptr;
  if (FAILED(view->Refresh()) || FAILED(view->SelectItem(nullptr, SVSI_DESELECTOTHERS))) return nullptr;
  return view;
}

}  // namespace

ComPtr<IShellBrowser> GetShellBrowser(IUnknown* site, HWND window) {
  if (ComPtr<IShellBrowser> browser = BrowserOfSite(site)) return browser;
  while (IsWindow(window) && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  if (!IsWindow(window) || !IsShellBrowserWindow(window)) return nullptr;
  auto* unknown = reinterpret_cast<IUnknown*>(SendMessageA(window, CWM_GETISHELLBROWSER, 0, 0));
  ComPtr<IShellBrowser> browser;
  if (unknown && FAILED(unknown->QueryInterface(IID_IShellBrowser, browser.put_void()))) browser.detach();
  return browser;
}

void UpdateExplorerWindow(IUnknown* site, HWND window, const CreatedLinks& created, bool dropped) noexcept {
  try {
    ComPtr<IShellView> view;
    if (const ComPtr<IShellBrowser> browser = GetShellBrowser(site, window)) view = ClearedView(browser.get());
    ComPtr<IShellView2> view2;
    POINT cursor{};
    if (view) {
      view.As(view2);
      GetCursorPos(&cursor);
      ScreenToClient(window, &cursor);
    }
    const UINT flags = SVSI_SELECT | SVSI_ENSUREVISIBLE | SVSI_FOCUSED | (dropped ? SVSI_POSITIONITEM : 0);

    LinkItems items;
    for (std::size_t i = 0; i < created.size(); ++i) {
      PCIDLIST_ABSOLUTE item = items.ItemOf(created.path(i), created.file(i));
      if (!item) continue;
      SHChangeNotify(SHCNE_CREATE, SHCNF_IDLIST, item, nullptr);
      if (!view) continue;
      PCUITEMID_CHILD last = ILFindLastID(item);
      if (view2) {
        view2->SelectAndPositionItem(last, flags, &cursor);
      } else {
        view->SelectItem(last, flags);
      }
    }
  } catch (...) {
    // The links exist; a view that cannot show them is not the command's failure.
  }
}

int FindMenuItemPosition(HMENU menu, UINT id) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position)
    if (GetMenuItemID(menu, position) == id) return position;
  return -1;
}

}  // namespace qm
