#include "directory_extension/explorer_window.h"

#include <shlobj.h>

#include "win/unique_resource.h"

namespace qm {

ComPtr<IShellBrowser> GetShellBrowser(HWND window) {
  while (IsWindow(window) && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  if (!IsWindow(window)) return nullptr;
  auto* unknown = reinterpret_cast<IUnknown*>(SendMessageA(window, CWM_GETISHELLBROWSER, 0, 0));
  ComPtr<IShellBrowser> browser;
  if (unknown) unknown->QueryInterface(IID_IShellBrowser, browser.put_void());
  return browser;
}

void UpdateExplorerWindow(HWND window, const PathList& created, bool dropped) noexcept {
  try {
    const ComPtr<IShellBrowser> browser = GetShellBrowser(window);
    if (!browser) return;
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.put())) || !view) return;
    if (FAILED(view->Refresh())) return;
    ComPtr<IShellView2> view2;
    view.As(view2);
    if (FAILED(view->SelectItem(nullptr, SVSI_DESELECTOTHERS))) return;

    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    const UINT flags = SVSI_SELECT | SVSI_ENSUREVISIBLE | SVSI_FOCUSED | (dropped ? SVSI_POSITIONITEM : 0);

    for (const Path& path : created) {
      const UniqueItemIdList item(ILCreateFromPathA(path.c_str()));
      if (!item) continue;
      SHChangeNotify(SHCNE_CREATE, SHCNF_IDLIST, item.get(), nullptr);
      PCUITEMID_CHILD last = ILFindLastID(item.get());
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
