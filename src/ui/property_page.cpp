#include "ui/property_page.h"

#include <optional>

#include "ui/dialog_messages.h"
#include "ui/window_object_registry.h"
#include "win/activation_context.h"
#include "win/errors.h"
#include "win/module_instance.h"
#include "win/proc_address.h"

namespace qm {
namespace {

using CreatePageFunction = HPROPSHEETPAGE(WINAPI*)(LPCPROPSHEETPAGEW);
using DestroyPageFunction = BOOL(WINAPI*)(HPROPSHEETPAGE);

// The common controls of a context, found at run time: the module imports
// none, so that no version is bound when it loads.
struct CommonControls {
  UniqueLibrary library;
  CreatePageFunction create = nullptr;
  DestroyPageFunction destroy = nullptr;
};

CommonControls LoadCommonControls(HANDLE context) {
  const ActivationContextActivation activation(context);
  if (!activation.active()) RaiseLastError();
  CommonControls controls{UniqueLibrary(LoadLibraryExA("comctl32.dll", nullptr, 0))};
  if (!controls.library) RaiseLastError();
  controls.create = ProcAddress<CreatePageFunction>(controls.library.get(), "CreatePropertySheetPageW");
  controls.destroy = ProcAddress<DestroyPageFunction>(controls.library.get(), "DestroyPropertySheetPage");
  if (!controls.create || !controls.destroy) RaiseLastError();
  return controls;
}

// A page handle not yet taken by a sheet.
class OwnedPage {
 public:
  OwnedPage(HPROPSHEETPAGE page, DestroyPageFunction destroy) noexcept : m_page(page), m_destroy(destroy) {}
  OwnedPage(const OwnedPage&) = delete;
  OwnedPage& operator=(const OwnedPage&) = delete;
  ~OwnedPage() {
    if (m_page) m_destroy(m_page);
  }
  HPROPSHEETPAGE get() const noexcept { return m_page; }
  void release() noexcept { m_page = nullptr; }

 private:
  HPROPSHEETPAGE m_page;
  DestroyPageFunction m_destroy;
};

}  // namespace

void CPropertyPage::Add(std::unique_ptr<CPropertyPage> page, HINSTANCE resources, int template_id,
                        LPFNADDPROPSHEETPAGE add, LPARAM add_parameter) {
  page->m_context = CreateModuleManifestContext(MainModule());
  if (!page->m_context) RaiseLastError();
  const CommonControls controls = LoadCommonControls(page->m_context.get());
  PROPSHEETPAGEW description{};
  description.dwSize = sizeof description;
  description.dwFlags = PSP_USECALLBACK | PSP_USEFUSIONCONTEXT;
  description.hInstance = resources;
  description.pszTemplate = MAKEINTRESOURCEW(template_id);
  description.pfnDlgProc = &CPropertyPage::DialogProc;
  description.lParam = reinterpret_cast<LPARAM>(page.get());
  description.pfnCallback = &CPropertyPage::PageCallback;
  description.hActCtx = page->m_context.get();
  OwnedPage handle(controls.create(&description), controls.destroy);
  if (!handle.get()) RaiseLastError();
  // From here on the page owns the object: destroying it releases the object.
  // The sheet that takes the page holds the common controls it was made by.
  page.release();
  if (add(handle.get(), add_parameter)) handle.release();
}

void CPropertyPage::MarkChanged() { PropSheet_Changed(GetParent(window()), window()); }

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT message, PROPSHEETPAGEW* page) {
  if (message == PSPCB_RELEASE && page) delete reinterpret_cast<CPropertyPage*>(page->lParam);
  return 1;
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  // The page is made when the sheet first shows it; its WM_INITDIALOG carries
  // the sheet's copy of the page description, and so the object.
  if (message != WM_INITDIALOG || !lparam || CWindowObject::FromWindow(dialog))
    return CWindowObject::StartDialogProc(dialog, message, wparam, lparam);
  auto* const page = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lparam)->lParam);
  try {
    const PendingWindowObject pending(*page);
    return CWindowObject::StartDialogProc(dialog, message, wparam, lparam);
  } catch (...) {
    return FALSE;
  }
}

LRESULT CPropertyPage::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  std::optional<LRESULT> handled;
  const bool apply = message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lparam)->code == PSN_APPLY;
  HandleDialogMessage(window(), [&] {
    if (message == WM_INITDIALOG) {
      handled = OnInitDialog() ? TRUE : FALSE;
    } else if (message == WM_COMMAND && OnCommand(LOWORD(wparam), HIWORD(wparam))) {
      handled = 0;
    } else if (apply) {
      handled = PSNRET_INVALID;  // stays so when OnApply raises
      OnApply();
      handled = PSNRET_NOERROR;
    }
  });
  if (!handled) return CallPreviousProcedure(message, wparam, lparam);
  if (apply) SetWindowLongPtrW(window(), DWLP_MSGRESULT, *handled);
  return *handled;
}

}  // namespace qm
