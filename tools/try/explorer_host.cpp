// A small stand-in for Explorer: loads QuorvaneMarrowby.dll from beside
// itself, hands it a right-drag or a context menu the way Explorer does, and
// prints what a user would see: the menu entries offered, the command run,
// and its result.
//
//   explorer_host drag FOLDER ITEM...   right-drag ITEMs onto FOLDER, pick the entry
//   explorer_host paste FOLDER          context menu of FOLDER with the clipboard's files
//   explorer_host copy ITEM...          put ITEMs on the clipboard as Explorer's Copy does
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const CLSID kDirectoryExtension = {0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};

std::string FullPath(const char* path) {
  char full[MAX_PATH] = {};
  GetFullPathNameA(path, MAX_PATH, full, nullptr);
  return full;
}

std::string StatusText(HRESULT status) {
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(status), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = text ? text : "";
  LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

HGLOBAL DropList(const std::vector<std::string>& paths) {
  std::size_t size = sizeof(DROPFILES) + 2;
  for (const auto& p : paths) size += p.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  char* text = reinterpret_cast<char*>(drop + 1);
  for (const auto& p : paths) {
    lstrcpyA(text, p.c_str());
    text += p.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

// The data object Explorer hands over: the selection as CF_HDROP.
class Selection : public IDataObject {
 public:
  explicit Selection(std::vector<std::string> paths) : m_paths(std::move(paths)) {}
  virtual ~Selection() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDataObject) return *out = nullptr, E_NOINTERFACE;
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = DropList(m_paths);
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  std::vector<std::string> m_paths;
};

int Run(IContextMenu* menu, bool dropped) {
  // Explorer's own entries around ours; its Paste entry has identifier 31003.
  HMENU popup = CreatePopupMenu();
  if (dropped) {
    AppendMenuA(popup, MF_STRING, 1, "&Copy Here");
    AppendMenuA(popup, MF_STRING, 2, "&Move Here");
  } else {
    AppendMenuA(popup, MF_STRING, 1, "&Open");
    AppendMenuA(popup, MF_STRING, 31003, "&Paste");
    AppendMenuA(popup, MF_STRING, 3, "P&roperties");
  }
  const UINT first = 1000;
  const HRESULT query = menu->QueryContextMenu(popup, 2, first, first + 99, CMF_NORMAL);
  std::printf("menu:\n");
  UINT chosen = 0;
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    char text[128] = {};
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    const UINT id = GetMenuItemID(popup, i);
    std::printf("  %s\n", text);
    if (id >= first && id < first + 4 && !chosen) chosen = id;
  }
  DestroyMenu(popup);
  if (FAILED(query)) {
    std::printf("QueryContextMenu failed: 0x%08lx %s\n", static_cast<unsigned long>(query), StatusText(query).c_str());
    return 1;
  }
  if (!chosen) {
    std::printf("no link entry offered\n");
    return 0;
  }
  char verb[64] = {};
  menu->GetCommandString(chosen - first, GCS_VERBA, nullptr, verb, sizeof verb);
  std::printf("choosing the link entry (verb \"%s\")\n", verb);
  CMINVOKECOMMANDINFO info{sizeof info};
  info.fMask = CMIC_MASK_FLAG_NO_UI;
  info.lpVerb = MAKEINTRESOURCEA(chosen - first);
  info.nShow = SW_SHOWNORMAL;
  const HRESULT result = menu->InvokeCommand(&info);
  if (FAILED(result)) {
    std::printf("the command failed: 0x%08lx %s\n", static_cast<unsigned long>(result), StatusText(result).c_str());
    return 1;
  }
  std::printf("done\n");
  return 0;
}

int CopyToClipboard(const std::vector<std::string>& paths) {
  if (!OpenClipboard(nullptr)) return 1;
  EmptyClipboard();
  SetClipboardData(CF_HDROP, DropList(paths));
  CloseClipboard();
  std::printf("copied %u item(s) to the clipboard\n", static_cast<unsigned>(paths.size()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: explorer_host drag FOLDER ITEM... | paste FOLDER | copy ITEM...\n");
    return 2;
  }
  const std::string mode = argv[1];
  std::vector<std::string> paths;
  for (int i = 2; i < argc; ++i) paths.push_back(FullPath(argv[i]));
  if (mode == "copy") return CopyToClipboard(paths);

  HMODULE dll = LoadLibraryA("QuorvaneMarrowby.dll");
  auto get_class_object =
      dll ? reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(dll, "DllGetClassObject"))
          : nullptr;
  if (!get_class_object) {
    std::printf("QuorvaneMarrowby.dll could not be loaded\n");
    return 1;
  }
  IClassFactory* factory = nullptr;
  IContextMenu* menu = nullptr;
  IShellExtInit* init = nullptr;
  if (FAILED(get_class_object(kDirectoryExtension, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
      FAILED(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu))) ||
      FAILED(menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)))) {
    std::printf("the directory extension could not be created\n");
    return 1;
  }
  PIDLIST_ABSOLUTE folder = nullptr;
  std::vector<std::string> items;
  if (mode == "drag") {
    folder = ILCreateFromPathA(paths[0].c_str());
    items.assign(paths.begin() + 1, paths.end());
    std::printf("right-drag of %u item(s) onto %s\n", static_cast<unsigned>(items.size()), paths[0].c_str());
  } else {
    items.assign(paths.begin(), paths.begin() + 1);
    std::printf("context menu of %s\n", paths[0].c_str());
  }
  Selection selection(items);
  init->Initialize(folder, &selection, nullptr);
  const int result = Run(menu, folder != nullptr);
  if (folder) ILFree(folder);
  init->Release();
  menu->Release();
  factory->Release();
  return result;
}
