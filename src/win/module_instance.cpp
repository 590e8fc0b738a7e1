#include "win/module_instance.h"

#include <atomic>

#include "win/boundary.h"
#include "win/errors.h"
#include "win/text.h"

namespace qm {
namespace {

constinit HMODULE g_main_module = nullptr;
constinit std::atomic<HMODULE> g_resource_module{nullptr};
constinit ResourceModuleChooser g_chooser = nullptr;
constinit INIT_ONCE g_choice = INIT_ONCE_STATIC_INIT;

// `parameter` receives the status of the chooser.
BOOL CALLBACK RunChooser(PINIT_ONCE, PVOID parameter, PVOID*) {
  auto& status = *static_cast<HRESULT*>(parameter);
  status = CallAtBoundary([] { g_resource_module.exchange(g_chooser(g_main_module)); });
  return SUCCEEDED(status);
}

}  // namespace

void AttachModuleInstance(HMODULE instance, ResourceModuleChooser chooser) noexcept {
  g_main_module = instance;
  g_resource_module.store(instance);
  g_chooser = chooser;
}

void DetachModuleInstance() noexcept { g_resource_module.exchange(g_main_module); }

HMODULE MainModule() noexcept { return g_main_module; }

HRESULT ChooseResourceModule() noexcept {
  if (!g_main_module || !g_chooser) return E_UNEXPECTED;
  HRESULT status = S_OK;
  if (InitOnceExecuteOnce(&g_choice, &RunChooser, &status, nullptr)) return S_OK;
  if (FAILED(status)) return status;
  const DWORD error = GetLastError();  // the one-time call itself failed
  return error != ERROR_SUCCESS ? StatusFromWin32(error) : E_FAIL;
}

HMODULE ResourceModule() {
  RaiseIfFailed(ChooseResourceModule());
  return g_resource_module.load();
}

std::string LoadResourceString(UINT id) { return LoadModuleString(ResourceModule(), id); }

std::string LoadModuleString(HMODULE module, UINT id) {
  const wchar_t* text = nullptr;
  SetLastError(ERROR_SUCCESS);
  // With no buffer size the call hands out the resource's own text.
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) {
    const DWORD error = GetLastError();
    RaiseStatus(StatusFromWin32(error != ERROR_SUCCESS ? error : ERROR_RESOURCE_NAME_NOT_FOUND));
  }
  return ToNarrow(std::wstring_view(text, static_cast<std::size_t>(length)));
}

}  // namespace qm
