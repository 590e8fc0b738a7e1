// An in-memory registry for the native tests of registration: keys by case-
// insensitive name, values, handles that count, and errors on demand.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/registry.h"

namespace qm::testing {

class MemoryRegistry final : public Registry {
 public:
  MemoryRegistry();
  // Paths start with a root: "HKCR", "HKCU" or "HKLM" (indexes 0, 1, 2).
  void CreatePath(const std::string& path);
  void SetString(const std::string& path, const std::string& name, const std::string& value);
  bool HasKey(const std::string& path) const;

  // The tree below `path`, one line per key and per value in name order:
  // "HKCR\P1", "HKCR\P1 @ = text", "HKCR\P1\x name = dword:7".
  std::vector<std::string> Dump(const std::string& path) const;

  // Handles opened and not yet closed.
  int OpenHandles() const { return static_cast<int>(m_handles.size()); }
  // The next call of `operation` ("Open", "Create", "SetValue", "Enum",
  // "Delete") fails with `error` and does nothing.
  void FailNext(const std::string& operation, std::uint32_t error) { m_faults[operation] = error; }
  std::vector<std::string> calls;  // operations in call order, with their key names

  RegistryKey PredefinedKey(std::uint32_t index) override;
  std::uint32_t OpenKey(RegistryKey parent, const std::string& name, RegistryKey& key) override;
  std::uint32_t CreateKey(RegistryKey parent, const std::string& name, RegistryKey& key) override;
  void CloseKey(RegistryKey key) override;
  std::uint32_t SetValue(RegistryKey key, const std::string& name, std::uint32_t type,
                         std::span<const std::uint8_t> data) override;
  std::uint32_t EnumKey(RegistryKey key, std::uint32_t index, std::string& name) override;
  std::uint32_t DeleteKey(RegistryKey parent, const std::string& name) override;

 private:
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  struct Node {
    std::string name;
    std::map<std::string, std::unique_ptr<Node>> keys;  // by upper-case name
    std::map<std::string, Value> values;                // by upper-case name
  };

  bool Fault(const std::string& operation, std::uint32_t& error);
  Node* Resolve(RegistryKey key) const;
  Node* Walk(const std::string& path, bool create);
  RegistryKey NewHandle(std::vector<std::string> path);
  void DumpNode(const Node& node, const std::string& path, std::vector<std::string>& out) const;

  Node m_roots;
  std::map<RegistryKey, std::vector<std::string>> m_handles;  // open key -> names from the root
  RegistryKey m_next_handle = 1;
  std::map<std::string, std::uint32_t> m_faults;
};

}  // namespace qm::testing
