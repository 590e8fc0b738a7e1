#include "shell_fakes.h"

#include <cstdio>
#include <cstring>

namespace fakes {

HGLOBAL MakeDropList(const std::vector<std::wstring>& names) {
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

void PutFilesOnClipboard(const std::vector<std::wstring>& names) {
  HGLOBAL effect = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
  *static_cast<DWORD*>(GlobalLock(effect)) = DROPEFFECT_COPY;
  GlobalUnlock(effect);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(RegisterClipboardFormatA("Preferred DropEffect"), effect);
  SetClipboardData(CF_HDROP, MakeDropList(names));
  CloseClipboard();
}

void PutTextOnClipboard(const char* text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::strcpy(static_cast<char*>(GlobalLock(memory)), text);
  GlobalUnlock(memory);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

DropDataObject::DropDataObject(std::vector<std::wstring> names, bool offer_drop)
    : m_names(std::move(names)), m_offer_drop(offer_drop) {}

HRESULT DropDataObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDataObject) {
    *out = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT DropDataObject::QueryGetData(FORMATETC* format) {
  return m_offer_drop && format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                                                   : DV_E_FORMATETC;
}

HRESULT DropDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT DropDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  ++get_data_calls;
  if (!format || !medium) return E_INVALIDARG;
  if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = MakeDropList(m_names);
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

std::string ChildName(PCUITEMID_CHILD item) {
  if (!item) return "<null>";
  std::string text;
  const auto* bytes = reinterpret_cast<const unsigned char*>(item);
  const USHORT size = item->mkid.cb;
  for (USHORT i = 0; i < size; ++i) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    text += hex;
  }
  return text;
}

std::string ChildNameOfPath(const std::string& path) {
  PIDLIST_ABSOLUTE list = ILCreateFromPathA(path.c_str());
  if (!list) return "<no item " + path + ">";
  std::string name = ChildName(ILFindLastID(list));
  ILFree(list);
  return name;
}

HRESULT RecordingView::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellView ||
      (m_with_view2 && iid == IID_IShellView2)) {
    *out = static_cast<IShellView2*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT RecordingView::Refresh() {
  m_recording.calls.push_back("Refresh");
  return fail_refresh;
}

HRESULT RecordingView::SelectItem(PCUITEMID_CHILD item, SVSIF flags) {
  m_recording.calls.push_back("SelectItem " + std::to_string(flags) + " " + ChildName(item));
  return S_OK;
}

HRESULT RecordingView::SelectAndPositionItem(PCUITEMID_CHILD item, UINT flags, POINT* point) {
  std::string where = point ? std::to_string(point->x) + "," + std::to_string(point->y) : "<none>";
  m_recording.calls.push_back("SelectAndPositionItem " + std::to_string(flags) + " " + ChildName(item) + " " + where);
  return S_OK;
}

HRESULT RecordingBrowser::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellBrowser) {
    *out = static_cast<IShellBrowser*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT RecordingBrowser::QueryActiveShellView(IShellView** out) {
  if (!out) return E_POINTER;
  *out = m_view;
  if (!m_view) return E_FAIL;
  m_view->AddRef();
  return S_OK;
}

namespace {

LRESULT CALLBACK ExplorerProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_USER + 7) return GetWindowLongPtrA(window, GWLP_USERDATA);
  return DefWindowProcA(window, message, w, l);
}

const char* ExplorerClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ExplorerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QmTestExplorerWindow";
    RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

}  // namespace

ExplorerWindow::ExplorerWindow(IShellBrowser* browser) {
  m_frame = CreateWindowA(ExplorerClass(), "Explorer", WS_OVERLAPPEDWINDOW, 100, 100, 640, 480, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(m_frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(browser));
  m_child = CreateWindowA("STATIC", "view", WS_CHILD | WS_VISIBLE, 10, 10, 600, 400, m_frame, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
}

ExplorerWindow::~ExplorerWindow() { DestroyWindow(m_frame); }

}  // namespace fakes
