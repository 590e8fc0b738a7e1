#include "registration/system_registry.h"

#include <algorithm>
#include <limits>

#include "win/errors.h"

namespace qm {

RegistryKey SystemRegistry::PredefinedKey(std::uint32_t index) {
  // As the SDK defines them: the value sign-extended to the pointer's width.
  return static_cast<RegistryKey>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000u | index)));
}

std::uint32_t SystemRegistry::OpenKey(RegistryKey parent, const std::string& name, RegistryKey& key) {
  HKEY opened = nullptr;
  const LONG error = RegOpenKeyExA(ToHkey(parent), name.c_str(), 0, kRegistrationAccess, &opened);
  if (error == ERROR_SUCCESS) key = ToRegistryKey(opened);
  return static_cast<std::uint32_t>(error);
}

std::uint32_t SystemRegistry::CreateKey(RegistryKey parent, const std::string& name, RegistryKey& key) {
  HKEY created = nullptr;
  const LONG error = RegCreateKeyExA(ToHkey(parent), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     kRegistrationAccess, nullptr, &created, nullptr);
  if (error == ERROR_SUCCESS) key = ToRegistryKey(created);
  return static_cast<std::uint32_t>(error);
}

void SystemRegistry::CloseKey(RegistryKey key) { RegCloseKey(ToHkey(key)); }

std::uint32_t SystemRegistry::SetValue(RegistryKey key, const std::string& name, std::uint32_t type,
                                       std::span<const std::uint8_t> data) {
  if (data.size() > std::numeric_limits<DWORD>::max()) return ERROR_INVALID_PARAMETER;
  return static_cast<std::uint32_t>(RegSetValueExA(ToHkey(key), name.empty() ? nullptr : name.c_str(), 0, type,
                                                   data.data(), static_cast<DWORD>(data.size())));
}

std::uint32_t SystemRegistry::EnumKey(RegistryKey key, std::uint32_t index, std::string& name) {
  char buffer[registry::kMaxKeyName + 1];
  DWORD length = sizeof buffer;
  const LONG error = RegEnumKeyExA(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (error == ERROR_SUCCESS) name.assign(buffer, std::min<DWORD>(length, registry::kMaxKeyName));
  return static_cast<std::uint32_t>(error);
}

std::uint32_t SystemRegistry::DeleteKey(RegistryKey parent, const std::string& name) {
  return static_cast<std::uint32_t>(RegDeleteKeyA(ToHkey(parent), name.c_str()));
}

void DeleteRegistryTree(HKEY parent, const std::string& name) {
  SystemRegistry registry;
  RaiseIfWin32Error(static_cast<LONG>(DeleteKeyTree(registry, ToRegistryKey(parent), name)));
}

}  // namespace qm
