// Explorer's side of the extension: its classes created through the registry,
// the menus of a right-drag and of a folder, and the clipboard's Copy.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "transcript.h"
#include "user.h"
#include "win/com_ptr.h"

namespace tour {

// An instance of a registered class, as Explorer creates one; empty (and the
// failure said) when the registry does not lead to it.
template <class T>
qm::ComPtr<T> CreateRegistered(const CLSID& clsid, REFIID iid = __uuidof(T)) {
  qm::ComPtr<T> object;
  const HRESULT status = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.put_void());
  if (FAILED(status)) Say("CoCreateInstance failed: " + StatusText(status));
  return object;
}

// The menu Explorer shows at the end of a right-drag of `items` onto
// `folder`, with the extension's entries; the user picks the first of them,
// and `reactions` answer what it shows. The command's status.
HRESULT RightDrag(const std::wstring& folder, const std::vector<std::wstring>& items,
                  std::vector<Reaction> reactions = {});
// The context menu of the directory `folder` with files on the clipboard.
HRESULT ContextMenu(const std::wstring& folder, std::vector<Reaction> reactions = {});
// The Properties dialog of `item` as Explorer shows it, with the pages the
// extension adds, run until `reactions` close it. The number of pages the
// extension added; -1 when it could not be asked.
int Properties(const std::wstring& item, std::vector<Reaction> reactions = {});
// Explorer's Copy of `items`.
bool CopyToClipboard(const std::vector<std::wstring>& items);

}  // namespace tour
