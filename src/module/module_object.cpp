#include "module/module_object.h"

#include "module/language_module.h"
#include "module/product_classes.h"
#include "ui/hyperlink.h"
#include "ui/window_object_registry.h"
#include "win/module_instance.h"
#include "win/module_static.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

constinit bool g_initialization_failed = false;
// Freed when the DLL is unloaded, never while the process ends.
constinit ModuleStatic<UniqueLibrary> g_language_module;

// Runs once, outside the loader lock: the language module when one suits,
// else the main module.
HMODULE ChooseLanguageModule(HMODULE main_module) {
  UniqueLibrary chosen = LoadLanguageModule(main_module);
  if (!chosen) return main_module;
  return g_language_module.emplace(std::move(chosen)).get();
}

}  // namespace

void AttachModule(HMODULE instance) noexcept {
  if (!AttachModuleInstance(instance, &ChooseLanguageModule) || !ProductObjectMap().Initialize() ||
      !InitializeWindowObjectRegistry())
    g_initialization_failed = true;
}

bool ModuleInitializationFailed() noexcept { return g_initialization_failed; }

void DetachModule() noexcept {
  // Its procedure goes with the DLL; a later load registers it afresh.
  UnregisterHyperLinkClass();
  DetachModuleInstance();
  g_language_module.reset();
  UninitializeWindowObjectRegistry();
  ProductObjectMap().Terminate();
}

}  // namespace qm
