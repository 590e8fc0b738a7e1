// The Explorer window a menu command was invoked from: its shell browser,
// its view, and the host's own menu items.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "core/path_list.h"
#include "win/com_ptr.h"

namespace qm {

// Explorer answers this with its IShellBrowser (no reference is handed out).
constexpr UINT CWM_GETISHELLBROWSER = WM_USER + 7;

// The shell browser of the top-level window above `window`, or null.
ComPtr<IShellBrowser> GetShellBrowser(HWND window);

// Refreshes the view of the window's browser, announces each created link
// (SHCNE_CREATE) and selects them, positioned at the cursor when dropped.
// Without a browser nothing is announced; failures are absorbed.
void UpdateExplorerWindow(HWND window, const PathList& created, bool dropped) noexcept;

// Position of the item whose command identifier is `id`, or -1.
int FindMenuItemPosition(HMENU menu, UINT id);

}  // namespace qm
