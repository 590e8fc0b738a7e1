// A property sheet as the shell makes one for an item's Properties: the
// pages an extension adds, shown with version 6 of the common controls (the
// shell's), found through the extension's own manifest. No test framework,
// so that tools/try can use it too.
#pragma once

#include <windows.h>
#include <prsht.h>
#include <shobjidl.h>

#include <vector>

namespace harness {

class PropertySheet {
 public:
  // `dll`: the module whose manifest names the common controls.
  explicit PropertySheet(HMODULE dll);
  ~PropertySheet();  // destroys the sheet, or the pages no sheet took
  PropertySheet(const PropertySheet&) = delete;
  PropertySheet& operator=(const PropertySheet&) = delete;

  // IShellPropSheetExt::AddPages into this sheet; the status it returned.
  HRESULT AddPages(IShellPropSheetExt* extension);
  std::size_t pages() const { return m_pages.size(); }

  // Shows the sheet with its pages, modeless (PSH_MODELESS), and returns the
  // window of its first page; null when there is none.
  HWND Show(const wchar_t* caption);
  // The same, modal; returns what PropertySheetW returned (0 without pages).
  INT_PTR Run(HWND owner, const wchar_t* caption);
  // The sheet's own Apply (PSM_APPLY): whether every page accepted it.
  bool Apply();

 private:
  static BOOL CALLBACK Add(HPROPSHEETPAGE page, LPARAM self);
  INT_PTR Display(DWORD flags, HWND owner, const wchar_t* caption);

  HANDLE m_context = INVALID_HANDLE_VALUE;
  HMODULE m_controls = nullptr;
  std::vector<HPROPSHEETPAGE> m_pages;
  HWND m_sheet = nullptr;
};

}  // namespace harness
