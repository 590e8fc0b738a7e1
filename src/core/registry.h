// The registry as registration sees it: keys behind opaque handles, Win32
// error codes as results. The DLL passes the real registry; native tests an
// in-memory one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

namespace qm {

// An open key, or a predefined root; 0 is no key.
using RegistryKey = std::uintptr_t;

namespace registry {
// Win32 errors that registration tells apart.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kNoMoreItems = 259;
// Value types.
constexpr std::uint32_t kString = 1;
constexpr std::uint32_t kExpandString = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kMultiString = 7;
// Longest subkey name that enumeration reads, in characters.
constexpr std::size_t kMaxKeyName = 256;
}  // namespace registry

class Registry {
 public:
  virtual ~Registry() = default;
  // The predefined key 0x80000000 | `index` (0 is HKEY_CLASSES_ROOT); never closed.
  virtual RegistryKey PredefinedKey(std::uint32_t index) = 0;
  // Both open with full access; a created key is non-volatile and has no class.
  virtual std::uint32_t OpenKey(RegistryKey parent, const std::string& name, RegistryKey& key) = 0;
  virtual std::uint32_t CreateKey(RegistryKey parent, const std::string& name, RegistryKey& key) = 0;
  virtual void CloseKey(RegistryKey key) = 0;
  // An empty name is the key's default value.
  virtual std::uint32_t SetValue(RegistryKey key, const std::string& name, std::uint32_t type,
                                 std::span<const std::uint8_t> data) = 0;
  virtual std::uint32_t EnumKey(RegistryKey key, std::uint32_t index, std::string& name) = 0;
  // Deletes a key that has no subkeys.
  virtual std::uint32_t DeleteKey(RegistryKey parent, const std::string& name) = 0;
};

// Owns a key opened through a Registry.
class OwnedRegistryKey {
 public:
  explicit OwnedRegistryKey(Registry& registry) noexcept : m_registry(&registry) {}
  OwnedRegistryKey(OwnedRegistryKey&& other) noexcept
      : m_registry(other.m_registry), m_key(std::exchange(other.m_key, 0)) {}
  OwnedRegistryKey& operator=(OwnedRegistryKey&&) = delete;
  ~OwnedRegistryKey() { reset(); }

  RegistryKey get() const noexcept { return m_key; }
  explicit operator bool() const noexcept { return m_key != 0; }
  void reset() noexcept {
    if (m_key) m_registry->CloseKey(std::exchange(m_key, 0));
  }
  RegistryKey& put() noexcept {
    reset();
    return m_key;
  }

 private:
  Registry* m_registry;
  RegistryKey m_key = 0;
};

// Deletes `name` under `parent` with all its subkeys: each first subkey in
// turn, depth first, then the key itself. Returns the first error; a missing
// key gives the error of opening it.
std::uint32_t DeleteKeyTree(Registry& registry, RegistryKey parent, const std::string& name);

}  // namespace qm
