#include "module/language_module.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "core/module_names.h"
#include "win/activation_context.h"
#include "win/errors.h"
#include "win/module_file_name.h"

namespace qm {
namespace {

std::optional<DWORD> ReadDwordValue(HKEY key, const char* name) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return std::nullopt;
  return value;
}

std::uint64_t ModuleProductVersion(HMODULE module) {
  const std::string path = ModuleFileName(module);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<std::byte> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return 0;
  void* fixed = nullptr;
  UINT fixed_size = 0;
  if (!VerQueryValueA(block.data(), "\\", &fixed, &fixed_size) || !fixed) return 0;
  // The answer must lie inside the block it was read from.
  const auto* begin = static_cast<const std::byte*>(fixed);
  if (begin < block.data() || fixed_size > static_cast<std::size_t>(block.data() + block.size() - begin)) return 0;
  return ProductVersionFromFixedInfo(std::span(begin, fixed_size)).value_or(0);
}

// A module that is not there needs no activation context to fail loading.
bool IsMissing(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

UniqueLibrary LoadInManifestContext(HMODULE main_module, const std::string& path) {
  // Without a context the load still goes ahead: a module whose references
  // are not resolved needs nothing the manifest names.
  const UniqueActivationContext context = CreateModuleManifestContext(main_module);
  const ActivationContextActivation activation(context.get());
  return UniqueLibrary(LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
}

}  // namespace

LCID ReadLanguageSetting(HMODULE main_module) {
  const std::string title = SplitModulePath(ModuleFileName(main_module), IsAnsiLeadByte).title;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    UniqueRegKey key;
    if (RegOpenKeyExA(root, kLanguageSettingKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) continue;
    if (auto value = ReadDwordValue(key.get(), title.c_str())) return *value;
    if (auto value = ReadDwordValue(key.get(), "Default")) return *value;
  }
  return ConvertDefaultLocale(LOCALE_USER_DEFAULT);
}

std::string BuildLanguageModulePath(HMODULE main_module, LANGID language) {
  return LanguageModulePath(SplitModulePath(ModuleFileName(main_module), IsAnsiLeadByte), language);
}

bool ModuleVersionsMatch(HMODULE first, HMODULE second) noexcept {
  try {
    return ModuleProductVersion(first) == ModuleProductVersion(second);
  } catch (...) {
    return false;
  }
}

UniqueLibrary LoadLanguageModule(HMODULE main_module) noexcept {
  try {
    const std::string path = BuildLanguageModulePath(main_module, LANGIDFROMLCID(ReadLanguageSetting(main_module)));
    if (IsMissing(path)) return {};
    UniqueLibrary module = LoadInManifestContext(main_module, path);
    if (!module || !ModuleVersionsMatch(main_module, module.get())) return {};
    return module;
  } catch (...) {
    return {};
  }
}

}  // namespace qm
