// The real registry behind the registration code's Registry interface.
#pragma once

#include <windows.h>

#include "core/registry.h"

namespace qm {

// What registration opens and creates keys with: reading and writing
// (KEY_READ | KEY_WRITE, 0x2001F).
inline constexpr REGSAM kRegistrationAccess = KEY_READ | KEY_WRITE;

inline HKEY ToHkey(RegistryKey key) noexcept { return reinterpret_cast<HKEY>(key); }
inline RegistryKey ToRegistryKey(HKEY key) noexcept { return reinterpret_cast<RegistryKey>(key); }

class SystemRegistry final : public Registry {
 public:
  RegistryKey PredefinedKey(std::uint32_t index) override;
  std::uint32_t OpenKey(RegistryKey parent, const std::string& name, RegistryKey& key) override;
  std::uint32_t CreateKey(RegistryKey parent, const std::string& name, RegistryKey& key) override;
  void CloseKey(RegistryKey key) override;
  std::uint32_t SetValue(RegistryKey key, const std::string& name, std::uint32_t type,
                         std::span<const std::uint8_t> data) override;
  std::uint32_t EnumKey(RegistryKey key, std::uint32_t index, std::string& name) override;
  std::uint32_t DeleteKey(RegistryKey parent, const std::string& name) override;
};

// DeleteKeyTree over the real registry; raises its error.
void DeleteRegistryTree(HKEY parent, const std::string& name);

}  // namespace qm
