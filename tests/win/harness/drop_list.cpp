#include "harness/drop_list.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

namespace harness {

void* MakeDropList(const std::vector<std::wstring>& names) {
  std::size_t chars = 2;  // the list ends with an empty name
  for (const auto& n : names) chars += n.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(drop + 1);
  for (const auto& n : names) {
    std::memcpy(text, n.c_str(), (n.size() + 1) * sizeof(wchar_t));
    text += n.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

void* MakeGlobalBlock(const std::string& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  return memory;
}

bool PlaceFilesOnClipboard(const std::vector<std::wstring>& names, bool move) {
  if (!OpenClipboard(nullptr)) return false;
  HGLOBAL effect = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
  *static_cast<DWORD*>(GlobalLock(effect)) = move ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
  GlobalUnlock(effect);
  EmptyClipboard();
  SetClipboardData(RegisterClipboardFormatA("Preferred DropEffect"), effect);
  SetClipboardData(CF_HDROP, MakeDropList(names));
  CloseClipboard();
  return true;
}

}  // namespace harness
