// The copy hook of the directory extension: the shell asks it once per item
// before it moves, copies, deletes or renames a folder, and obeys IDYES (go
// on), IDNO (skip the item) or IDCANCEL (stop the operation).
#pragma once

#include <windows.h>

namespace qm {

// ICopyHookA::CopyCallback. Deleting a soft link removes only the link;
// copying or moving one can copy or move only the link; copying a directory
// can make a soft link to it instead. Failures are shown over `window` unless
// `flags` carry FOF_NOERRORUI.
UINT CopyHookCallback(HWND window, UINT operation, UINT flags, const char* source, DWORD source_attributes,
                      const char* destination);

// ICopyHookW::CopyCallback: the paths converted exactly (a null one stays
// null), then as above. A path the code page cannot hold is never acted on
// through a look-alike and never blocks the shell: the item is left to it,
// except that a soft link so named is deleted as a link, by its wide path.
UINT CopyHookCallbackWide(HWND window, UINT operation, UINT flags, const wchar_t* source, DWORD source_attributes,
                          const wchar_t* destination);

}  // namespace qm
