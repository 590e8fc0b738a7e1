#include "core/registry.h"

namespace qm {

std::uint32_t DeleteKeyTree(Registry& registry, RegistryKey parent, const std::string& name) {
  {
    OwnedRegistryKey key(registry);
    if (const std::uint32_t error = registry.OpenKey(parent, name, key.put())) return error;
    std::string subkey;
    for (;;) {
      const std::uint32_t enumerated = registry.EnumKey(key.get(), 0, subkey);
      if (enumerated == registry::kNoMoreItems) break;
      // A subkey that cannot be read or removed would be met again forever.
      if (enumerated) return enumerated;
      if (const std::uint32_t error = DeleteKeyTree(registry, key.get(), subkey)) return error;
    }
  }
  return registry.DeleteKey(parent, name);
}

}  // namespace qm
