#include "win/module_instance.h"

#include <atomic>
#include <optional>

#include "win/boundary.h"
#include "win/errors.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

constinit HMODULE g_main_module = nullptr;
constinit std::atomic<HMODULE> g_resource_module{nullptr};
constinit ResourceModuleChooser g_chooser = nullptr;
constinit std::optional<CriticalSection> g_choice_lock;
constinit std::atomic<bool> g_chosen{false};

}  // namespace

bool AttachModuleInstance(HMODULE instance, ResourceModuleChooser chooser) noexcept {
  g_main_module = instance;
  g_resource_module.store(instance);
  g_chooser = chooser;
  g_chosen.store(false);
  g_choice_lock.emplace();
  if (g_choice_lock->ok()) return true;
  g_choice_lock.reset();
  return false;
}

void DetachModuleInstance() noexcept {
  g_resource_module.exchange(g_main_module);
  g_choice_lock.reset();
}

HMODULE MainModule() noexcept { return g_main_module; }

HRESULT ChooseResourceModule() noexcept {
  if (!g_main_module || !g_chooser || !g_choice_lock) return E_UNEXPECTED;
  if (g_chosen.load(std::memory_order_acquire)) return S_OK;
  CriticalSectionLock hold(*g_choice_lock);  // whoever asks meanwhile waits
  if (g_chosen.load(std::memory_order_relaxed)) return S_OK;
  const HRESULT status = CallAtBoundary([] { g_resource_module.exchange(g_chooser(g_main_module)); });
  if (SUCCEEDED(status)) g_chosen.store(true, std::memory_order_release);
  return status;
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
