// The four link-creation commands of the directory extension's menu.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "core/link_menu.h"
#include "core/path_list.h"
#include "directory_extension/created_links.h"

namespace qm {

// Inserts the entry (at most one in practice) that the selection earns into
// `menu`, with identifiers idCmdFirst + command offset; an entry whose
// identifier would lie beyond `id_last` is left out rather than collide with
// another handler's. Raises when the volume or the clipboard cannot be read,
// before anything is inserted.
void AddLinkMenuEntries(HMENU menu, UINT index_menu, UINT id_first, UINT id_last, const Path& folder,
                        const PathList& items);

// Creates the links of `command`, appending each new link to `created`. The
// drag commands link `items` into `folder`; the paste commands link the
// clipboard's names into the one selected item. A soft link's source must be
// a directory on a local drive (else HRESULT_FROM_WIN32(ERROR_DIRECTORY)), a
// hard link's must not be a directory (E_ACCESSDENIED). Raises at the first
// failure; links made before it stay.
void CreateLinks(LinkCommand command, const Path& folder, const PathList& items, CreatedLinks& created);

// IContextMenu::InvokeCommand for a selection, with the object's site (may be
// null). The verb is an offset 0 to 3 (S_FALSE above) or one of the four verb
// texts (E_INVALIDARG for any other text); a drag command without a drop
// folder is E_INVALIDARG.
HRESULT InvokeLinkCommand(const CMINVOKECOMMANDINFO* info, IUnknown* site, const Path& folder,
                          const PathList& items);

// IContextMenu::GetCommandString.
HRESULT GetLinkCommandString(UINT_PTR id, UINT type, char* name, UINT size);

}  // namespace qm
