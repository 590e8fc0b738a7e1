// An in-memory registry for the native tests of registration: keys by path,
// compared without regard to case, values kept as the text a dump shows,
// handles that count, and errors on demand.
#pragma once

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/registry.h"

namespace qm::testing {

struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](unsigned char x, unsigned char y) { return std::toupper(x) < std::toupper(y); });
  }
};

class MemoryRegistry final : public Registry {
 public:
  using Values = std::map<std::string, std::string, CaseLess>;  // "@" is the default value
  std::map<std::string, Values, CaseLess> keys{{"HKCR", {}}, {"HKCU", {}}, {"HKLM", {}}};
  std::map<RegistryKey, std::string> handles;  // open keys and their paths
  std::map<std::string, std::uint32_t> faults;  // "Open", "Create", "SetValue", "Enum", "Delete": the next call fails

  // "path", then "path name = text" per value, for `path` and every key below it.
  std::vector<std::string> Dump(const std::string& path) const {
    std::vector<std::string> lines;
    for (const auto& [key, values] : keys) {
      if (!CaseEqual(key, path) && !CaseEqual(key.substr(0, path.size() + 1), path + "\\")) continue;
      lines.push_back(key);
      for (const auto& [name, text] : values) lines.push_back(key + " " + name + " = " + text);
    }
    return lines;
  }

  RegistryKey PredefinedKey(std::uint32_t index) override { return 0x80000000u | index; }

  std::uint32_t OpenKey(RegistryKey parent, const std::string& name, RegistryKey& key) override {
    std::string path;
    if (std::uint32_t error = Fault("Open", parent, path)) return error;
    if (!keys.count(path + "\\" + name)) return registry::kFileNotFound;
    key = next_handle++;
    handles[key] = path + "\\" + name;
    return 0;
  }
  std::uint32_t CreateKey(RegistryKey parent, const std::string& name, RegistryKey& key) override {
    std::string path;
    if (std::uint32_t error = Fault("Create", parent, path)) return error;
    for (std::size_t at = name.find('\\'); at != std::string::npos; at = name.find('\\', at + 1))
      keys.try_emplace(path + "\\" + name.substr(0, at));
    keys.try_emplace(path + "\\" + name);
    key = next_handle++;
    handles[key] = path + "\\" + name;
    return 0;
  }
  void CloseKey(RegistryKey key) override { handles.erase(key); }
  std::uint32_t SetValue(RegistryKey key, const std::string& name, std::uint32_t type,
                         std::span<const std::uint8_t> data) override {
    std::string path;
    if (std::uint32_t error = Fault("SetValue", key, path)) return error;
    std::string text(data.begin(), data.end());
    if (type == registry::kDword) {
      text = "dword:" + std::to_string(data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t{data[3]} << 24);
    } else if (type == registry::kBinary) {
      text = "hex:";
      for (const std::uint8_t byte : data) text += "0123456789abcdef"[byte >> 4], text += "0123456789abcdef"[byte & 15];
    } else if (type == registry::kMultiString) {
      std::replace(text.begin(), text.end(), '\0', '|');
      text = "multi:" + text;
    } else if (!text.empty() && text.back() == '\0') {
      text.pop_back();
    }
    keys[path][name.empty() ? "@" : name] = text;
    return 0;
  }
  std::uint32_t EnumKey(RegistryKey key, std::uint32_t index, std::string& name) override {
    std::string path;
    if (std::uint32_t error = Fault("Enum", key, path)) return error;
    for (const auto& [child, values] : keys) {
      const bool below = CaseEqual(child.substr(0, path.size() + 1), path + "\\");
      if (below && child.find('\\', path.size() + 1) == std::string::npos && index-- == 0) {
        name = child.substr(path.size() + 1);
        return 0;
      }
    }
    return registry::kNoMoreItems;
  }
  std::uint32_t DeleteKey(RegistryKey parent, const std::string& name) override {
    std::string path;
    if (std::uint32_t error = Fault("Delete", parent, path)) return error;
    const auto found = keys.find(path + "\\" + name);
    if (found == keys.end()) return registry::kFileNotFound;
    const auto next = std::next(found);
    if (next != keys.end() && CaseEqual(next->first.substr(0, found->first.size() + 1), found->first + "\\"))
      return 5;  // ERROR_ACCESS_DENIED: it has subkeys
    keys.erase(found);
    return 0;
  }

 private:
  static bool CaseEqual(const std::string& a, const std::string& b) { return !CaseLess()(a, b) && !CaseLess()(b, a); }

  // The armed fault of `operation`, else the path of `key` (1018, ERROR_KEY_DELETED, when it is gone).
  std::uint32_t Fault(const std::string& operation, RegistryKey key, std::string& path) {
    if (const auto fault = faults.find(operation); fault != faults.end()) {
      const std::uint32_t error = fault->second;
      faults.erase(fault);
      return error;
    }
    static const char* const roots[] = {"HKCR", "HKCU", "HKLM"};
    path = key >= 0x80000000u ? roots[key - 0x80000000u] : handles.at(key);
    return keys.count(path) ? 0 : 1018;
  }

  RegistryKey next_handle = 1;
};

}  // namespace qm::testing
