// The Explorer window a menu command was invoked from: its shell browser,
// its view, and the host's own menu items.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "directory_extension/created_links.h"
#include "win/com_ptr.h"

namespace qm {

// Explorer answers this with its IShellBrowser (no reference is handed out).
constexpr UINT CWM_GETISHELLBROWSER = WM_USER + 7;

// The shell browser of the host: the site's top-level browser service, else
// the answer to CWM_GETISHELLBROWSER of the top-level window above `window`,
// asked only when that window belongs to the calling thread and is one of the
// shell's own browser windows (other programs may give the message another
// meaning). Null when there is none.
ComPtr<IShellBrowser> GetShellBrowser(IUnknown* site, HWND window);

// Announces each created link (SHCNE_CREATE); with a shell browser it also
// refreshes the view and selects the links, positioned at the cursor when
// dropped. Failures are absorbed.
void UpdateExplorerWindow(IUnknown* site, HWND window, const CreatedLinks& created, bool dropped) noexcept;

// Position of the item whose command identifier is `id`, or -1.
int FindMenuItemPosition(HMENU menu, UINT id);

}  // namespace qm
