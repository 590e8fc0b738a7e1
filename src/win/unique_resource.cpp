#include "win/unique_resource.h"

#include "win/errors.h"

namespace qm {

ClipboardOpen::~ClipboardOpen() {
  if (m_open) CloseClipboard();
}

void ClipboardOpen::Open(HWND owner) {
  if (m_open) return;
  if (!OpenClipboard(owner)) RaiseLastError();
  m_open = true;
}

}  // namespace qm
