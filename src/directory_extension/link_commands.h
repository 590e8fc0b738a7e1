// The four link-creation commands of the directory extension's menu.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "core/link_menu.h"
#include "core/path_list.h"

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
// clipboard's names into the one selected item. Raises at the first failure;
// links made before it stay.
void CreateLinks(LinkCommand command, const Path& folder, const PathList& items, PathList& created);

// IContextMenu::InvokeCommand for a selection.
HRESULT InvokeLinkCommand(const CMINVOKECOMMANDINFO* info, const Path& folder, const PathList& items);

// IContextMenu::GetCommandString.
HRESULT GetLinkCommandString(UINT_PTR id, UINT type, char* name, UINT size);

}  // namespace qm
