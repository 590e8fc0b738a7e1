#include "harness/property_sheet.h"

namespace harness {
namespace {

template <class Function>
Function Find(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

PropertySheet::PropertySheet(HMODULE dll) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(dll, path, MAX_PATH);
  ACTCTXW request{sizeof request};
  request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path;
  request.lpResourceName = MAKEINTRESOURCEW(3);
  request.hModule = dll;
  m_context = CreateActCtxW(&request);
  ULONG_PTR cookie = 0;
  if (m_context != INVALID_HANDLE_VALUE && ActivateActCtx(m_context, &cookie)) {
    m_controls = LoadLibraryW(L"comctl32.dll");
    DeactivateActCtx(0, cookie);
  }
}

PropertySheet::~PropertySheet() {
  if (m_sheet) {
    DestroyWindow(m_sheet);
  } else if (m_controls) {
    const auto destroy = Find<BOOL(WINAPI*)(HPROPSHEETPAGE)>(m_controls, "DestroyPropertySheetPage");
    for (HPROPSHEETPAGE page : m_pages) destroy(page);
  }
  if (m_controls) FreeLibrary(m_controls);
  if (m_context != INVALID_HANDLE_VALUE) ReleaseActCtx(m_context);
}

BOOL CALLBACK PropertySheet::Add(HPROPSHEETPAGE page, LPARAM self) {
  reinterpret_cast<PropertySheet*>(self)->m_pages.push_back(page);
  return TRUE;
}

HRESULT PropertySheet::AddPages(IShellPropSheetExt* extension) {
  return extension->AddPages(&PropertySheet::Add, reinterpret_cast<LPARAM>(this));
}

PROPSHEETHEADERW PropertySheet::Header(const wchar_t* caption, DWORD flags, HWND owner) {
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = flags | PSH_PROPTITLE;
  header.hwndParent = owner;
  header.pszCaption = caption;
  header.nPages = static_cast<UINT>(m_pages.size());
  header.phpage = m_pages.data();
  return header;
}

HWND PropertySheet::Show(const wchar_t* caption) {
  if (m_pages.empty() || !m_controls) return nullptr;
  const auto show = Find<INT_PTR(WINAPI*)(LPCPROPSHEETHEADERW)>(m_controls, "PropertySheetW");
  const PROPSHEETHEADERW header = Header(caption, PSH_MODELESS, nullptr);
  m_sheet = reinterpret_cast<HWND>(show(&header));
  return m_sheet ? PropSheet_GetCurrentPageHwnd(m_sheet) : nullptr;
}

INT_PTR PropertySheet::Run(HWND owner, const wchar_t* caption) {
  if (m_pages.empty() || !m_controls) return -1;
  const auto show = Find<INT_PTR(WINAPI*)(LPCPROPSHEETHEADERW)>(m_controls, "PropertySheetW");
  const PROPSHEETHEADERW header = Header(caption, 0, owner);
  const INT_PTR result = show(&header);
  m_pages.clear();  // the sheet destroyed them
  return result;
}

bool PropertySheet::Apply() { return m_sheet && PropSheet_Apply(m_sheet); }

}  // namespace harness
