#include "harness/property_sheet.h"

#include "win/proc_address.h"

namespace harness {

using qm::ProcAddress;

PropertySheet::PropertySheet(HMODULE dll) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(dll, path, MAX_PATH);
  // The manifest is resource 3: one the loader does not apply by itself.
  const ACTCTXW request{sizeof request, ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID, path, 0, 0, nullptr,
                        MAKEINTRESOURCEW(3), nullptr, dll};
  m_context = CreateActCtxW(&request);
  ULONG_PTR cookie = 0;
  if (m_context != INVALID_HANDLE_VALUE && ActivateActCtx(m_context, &cookie)) {
    m_controls = LoadLibraryW(L"comctl32.dll");
    DeactivateActCtx(0, cookie);
  }
}

PropertySheet::~PropertySheet() {
  if (m_sheet)
    DestroyWindow(m_sheet);
  else if (m_controls)
    for (HPROPSHEETPAGE page : m_pages) ProcAddress<BOOL(WINAPI*)(HPROPSHEETPAGE)>(m_controls, "DestroyPropertySheetPage")(page);
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

INT_PTR PropertySheet::Display(DWORD flags, HWND owner, const wchar_t* caption) {
  if (m_pages.empty() || !m_controls) return 0;
  PROPSHEETHEADERW header{sizeof header, flags | PSH_PROPTITLE, owner};
  header.pszCaption = caption;
  header.nPages = static_cast<UINT>(m_pages.size());
  header.phpage = m_pages.data();
  return ProcAddress<INT_PTR(WINAPI*)(LPCPROPSHEETHEADERW)>(m_controls, "PropertySheetW")(&header);
}

HWND PropertySheet::Show(const wchar_t* caption) {
  m_sheet = reinterpret_cast<HWND>(Display(PSH_MODELESS, nullptr, caption));
  return m_sheet ? PropSheet_GetCurrentPageHwnd(m_sheet) : nullptr;
}

INT_PTR PropertySheet::Run(HWND owner, const wchar_t* caption) {
  const INT_PTR result = Display(0, owner, caption);
  if (result) m_pages.clear();  // the sheet destroyed them
  return result;
}

bool PropertySheet::Apply() { return m_sheet && PropSheet_Apply(m_sheet); }

}  // namespace harness
