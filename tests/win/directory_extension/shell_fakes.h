// Stand-ins for what Explorer hands a shell extension: a data object with a
// drop list, and a window whose shell browser and view record what they are asked.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace fakes {

// An IDataObject carrying CF_HDROP (wide names, as Explorer makes it), or
// nothing when made without names and `offer_drop` false. Another program's
// may hand over a block of its own making, or a stream, which it releases
// through the data object.
class DropDataObject : public IDataObject {
 public:
  explicit DropDataObject(std::vector<std::wstring> names, bool offer_drop = true, std::string block = {},
                          bool as_stream = false);
  virtual ~DropDataObject() = default;
  LONG references() const { return m_references; }
  int get_data_calls = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_references; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::vector<std::wstring> m_names;
  bool m_offer_drop;
  std::string m_block;
  bool m_as_stream;
  LONG m_references = 1;
};

// What the view was asked, in order, as text: "Refresh", "SelectItem 4 <null>",
// "SelectItem 25 <name>", "SelectAndPositionItem 153 <name> x,y".
struct Recording {
  std::vector<std::string> calls;
};

class RecordingView : public IShellView2 {
 public:
  RecordingView(Recording& recording, bool with_view2) : m_recording(recording), m_with_view2(with_view2) {}
  virtual ~RecordingView() = default;
  HRESULT fail_refresh = S_OK;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
  LONG references() const { return m_references; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UIActivate(UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh() override;
  HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView*, LPCFOLDERSETTINGS, IShellBrowser*, RECT*, HWND*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DestroyViewWindow() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SaveViewState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SelectItem(PCUITEMID_CHILD item, SVSIF flags) override;
  HRESULT STDMETHODCALLTYPE GetItemObject(UINT, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetView(SHELLVIEWID*, ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewWindow2(LPSV2CVW2_PARAMS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE HandleRename(PCUITEMID_CHILD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SelectAndPositionItem(PCUITEMID_CHILD item, UINT flags, POINT* point) override;

 private:
  Recording& m_recording;
  bool m_with_view2;
  LONG m_references = 1;
};

class RecordingBrowser : public IShellBrowser {
 public:
  explicit RecordingBrowser(IShellView* view) : m_view(view) {}
  virtual ~RecordingBrowser() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
  LONG references() const { return m_references; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** out) override;
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return E_NOTIMPL; }

 private:
  IShellView* m_view;
  LONG m_references = 1;
};

// A site offering `browser` as its top-level browser service, as Explorer
// sets on the handlers of its menus.
class BrowserSite : public IServiceProvider {
 public:
  explicit BrowserSite(IShellBrowser* browser) : m_browser(browser) {}
  virtual ~BrowserSite() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override;

 private:
  IShellBrowser* m_browser;
  LONG m_references = 1;
};

// A top-level window of Explorer's class that answers CWM_GETISHELLBROWSER
// with `browser` (may be null), and a child control inside it to invoke
// commands from. Another program's window may answer the same message with
// anything (`answer`).
class ExplorerWindow {
 public:
  explicit ExplorerWindow(IShellBrowser* browser);
  ExplorerWindow(const char* class_name, LRESULT answer);
  ~ExplorerWindow();
  HWND frame() const { return m_frame; }
  HWND child() const { return m_child; }

 private:
  HWND m_frame = nullptr;
  HWND m_child = nullptr;
};

// The last element of an item identifier list as the text the recordings use.
std::string ChildName(PCUITEMID_CHILD item);
// The name the recordings show for the item `path` names.
std::string ChildNameOfPath(const std::string& path);

}  // namespace fakes
