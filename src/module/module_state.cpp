#include "module/module_state.h"

#include <atomic>
#include <optional>

#include "module/class_ids.h"
#include "module/language_module.h"
#include "module/product_classes.h"
#include "ui/hyperlink.h"
#include "ui/window_object_registry.h"
#include "win/errors.h"
#include "win/text.h"

namespace qm {
namespace {

// Base module record.
constinit HMODULE g_main_module = nullptr;
constinit std::atomic<HMODULE> g_resource_module{nullptr};

// Module object.
constinit LONG volatile g_lock_count = 0;
constinit bool g_initialization_failed = false;
constinit std::optional<UniqueLibrary> g_language_module;

}  // namespace

HMODULE MainModule() noexcept { return g_main_module; }
HMODULE ResourceModule() noexcept { return g_resource_module.load(); }
HMODULE LanguageModule() noexcept { return g_language_module ? g_language_module->get() : nullptr; }
const GUID& ModuleLibraryId() noexcept { return kModuleLibraryId; }

LONG LockModule() noexcept { return InterlockedIncrement(&g_lock_count); }
LONG UnlockModule() noexcept { return InterlockedDecrement(&g_lock_count); }
LONG ModuleLockCount() noexcept { return InterlockedCompareExchange(&g_lock_count, 0, 0); }

std::string LoadResourceString(UINT id) {
  const HMODULE module = ResourceModule();
  if (!module) RaiseStatus(status::Unexpected);
  return LoadModuleString(module, id);
}

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

void AttachModule(HMODULE instance) noexcept {
  g_main_module = instance;
  g_resource_module.store(instance);
  if (!ProductObjectMap().Initialize() || !InitializeWindowObjectRegistry()) {
    g_initialization_failed = true;
    return;
  }
  UniqueLibrary language_module = LoadLanguageModule(instance);
  if (language_module) {
    g_resource_module.store(language_module.get());
    g_language_module.emplace(std::move(language_module));
  }
}

bool ModuleInitializationFailed() noexcept { return g_initialization_failed; }

void DetachModule() noexcept {
  // Its procedure goes with the DLL; a later load registers it afresh.
  UnregisterHyperLinkClass();
  g_resource_module.store(g_main_module);
  g_language_module.reset();
  UninitializeWindowObjectRegistry();
  ProductObjectMap().Terminate();
}

}  // namespace qm
