#include "shell_fakes.h"

#include <shlguid.h>

#include "harness/drop_list.h"

#include <cstdio>
#include <cstring>

namespace fakes {

DropDataObject::DropDataObject(std::vector<std::wstring> names, bool offer_drop, std::string block, bool as_stream)
    : m_names(std::move(names)), m_offer_drop(offer_drop), m_block(std::move(block)), m_as_stream(as_stream) {}

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
  HGLOBAL list = m_block.empty() ? harness::MakeDropList(m_names) : harness::MakeGlobalBlock(m_block);
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = list;
  medium->pUnkForRelease = nullptr;
  if (m_as_stream && SUCCEEDED(CreateStreamOnHGlobal(list, TRUE, &medium->pstm))) {
    medium->tymed = TYMED_ISTREAM;
    medium->pUnkForRelease = this;
    AddRef();
  }
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

HRESULT BrowserSite::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IServiceProvider) {
    *out = static_cast<IServiceProvider*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT BrowserSite::QueryService(REFGUID service, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (service != SID_STopLevelBrowser) return E_NOINTERFACE;
  return m_browser->QueryInterface(iid, out);
}

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_USER + 7) return GetWindowLongPtrA(window, GWLP_USERDATA);
  return DefWindowProcA(window, message, w, l);
}

const char* HostClass(const char* name) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) {
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
  }
  return name;
}

}  // namespace

ExplorerWindow::ExplorerWindow(IShellBrowser* browser)
    : ExplorerWindow("CabinetWClass", reinterpret_cast<LRESULT>(browser)) {}

ExplorerWindow::ExplorerWindow(const char* class_name, LRESULT answer) {
  m_frame = CreateWindowA(HostClass(class_name), "Explorer", WS_OVERLAPPEDWINDOW, 100, 100, 640, 480, nullptr,
                          nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(m_frame, GWLP_USERDATA, answer);
  m_child = CreateWindowA("STATIC", "view", WS_CHILD | WS_VISIBLE, 10, 10, 600, 400, m_frame, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
}

ExplorerWindow::~ExplorerWindow() { DestroyWindow(m_frame); }

}  // namespace fakes
