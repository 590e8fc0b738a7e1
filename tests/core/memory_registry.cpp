#include "memory_registry.h"

#include <iterator>
#include <sstream>

namespace qm::testing {
namespace {

constexpr const char* kRoots[] = {"HKCR", "HKCU", "HKLM"};
constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kKeyDeleted = 1018;
constexpr std::uint32_t kAccessDenied = 5;

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(path);
  while (std::getline(in, part, '\\')) parts.push_back(part);
  return parts;
}

bool IsPredefined(RegistryKey key) { return key >= 0x80000000u && key < 0x80000000u + std::size(kRoots); }

}  // namespace

MemoryRegistry::MemoryRegistry() {
  for (const char* root : kRoots) CreatePath(root);
}

bool MemoryRegistry::Fault(const std::string& operation, std::uint32_t& error) {
  const auto found = m_faults.find(operation);
  if (found == m_faults.end()) return false;
  error = found->second;
  m_faults.erase(found);
  return true;
}

MemoryRegistry::Node* MemoryRegistry::Walk(const std::string& path, bool create) {
  Node* node = &m_roots;
  for (const std::string& part : Split(path)) {
    auto& slot = node->keys[Upper(part)];
    if (!slot) {
      if (!create) {
        node->keys.erase(Upper(part));
        return nullptr;
      }
      slot = std::make_unique<Node>();
      slot->name = part;
    }
    node = slot.get();
  }
  return node;
}

MemoryRegistry::Node* MemoryRegistry::Resolve(RegistryKey key) const {
  std::vector<std::string> path;
  if (IsPredefined(key)) {
    path = {kRoots[key - 0x80000000u]};
  } else {
    const auto found = m_handles.find(key);
    if (found == m_handles.end()) return nullptr;
    path = found->second;
  }
  const Node* node = &m_roots;
  for (const std::string& part : path) {
    const auto child = node->keys.find(Upper(part));
    if (child == node->keys.end()) return nullptr;
    node = child->second.get();
  }
  return const_cast<Node*>(node);
}

RegistryKey MemoryRegistry::NewHandle(std::vector<std::string> path) {
  const RegistryKey handle = m_next_handle++;
  m_handles.emplace(handle, std::move(path));
  return handle;
}

void MemoryRegistry::CreatePath(const std::string& path) { Walk(path, true); }

void MemoryRegistry::SetString(const std::string& path, const std::string& name, const std::string& value) {
  std::vector<std::uint8_t> data(value.begin(), value.end());
  data.push_back(0);
  Walk(path, true)->values[Upper(name)] = {name, 1, data};
}

bool MemoryRegistry::HasKey(const std::string& path) const {
  return const_cast<MemoryRegistry*>(this)->Walk(path, false) != nullptr;
}

std::vector<std::string> MemoryRegistry::Dump(const std::string& path) const {
  std::vector<std::string> out;
  if (const Node* node = const_cast<MemoryRegistry*>(this)->Walk(path, false)) DumpNode(*node, path, out);
  return out;
}

void MemoryRegistry::DumpNode(const Node& node, const std::string& path, std::vector<std::string>& out) const {
  out.push_back(path);
  for (const auto& [key, value] : node.values) {
    std::string text;
    if (value.type == 4 && value.data.size() == 4) {
      std::uint32_t number = 0;
      for (int i = 3; i >= 0; --i) number = number << 8 | value.data[i];
      text = "dword:" + std::to_string(number);
    } else if (value.type == 3) {
      static const char kHex[] = "0123456789abcdef";
      text = "hex:";
      for (const std::uint8_t byte : value.data) (text += kHex[byte >> 4]) += kHex[byte & 15];
    } else {
      text.assign(value.data.begin(), value.data.end());
      if (value.type == 7) {
        for (char& c : text)
          if (c == '\0') c = '|';
        text = "multi:" + text;
      } else if (!text.empty() && text.back() == '\0') {
        text.pop_back();
      } else {
        text += "(unterminated)";
      }
    }
    out.push_back(path + " " + (value.name.empty() ? "@" : value.name) + " = " + text);
  }
  for (const auto& [key, child] : node.keys) DumpNode(*child, path + "\\" + child->name, out);
}

RegistryKey MemoryRegistry::PredefinedKey(std::uint32_t index) { return 0x80000000u | index; }

std::uint32_t MemoryRegistry::OpenKey(RegistryKey parent, const std::string& name, RegistryKey& key) {
  calls.push_back("Open " + name);
  std::uint32_t error = 0;
  if (Fault("Open", error)) return error;
  const Node* node = Resolve(parent);
  if (!node) return IsPredefined(parent) || m_handles.count(parent) ? kKeyDeleted : kInvalidHandle;
  for (const std::string& part : Split(name)) {
    const auto child = node->keys.find(Upper(part));
    if (child == node->keys.end()) return 2;
    node = child->second.get();
  }
  std::vector<std::string> path = IsPredefined(parent) ? std::vector<std::string>{kRoots[parent - 0x80000000u]}
                                                       : m_handles.at(parent);
  for (const std::string& part : Split(name)) path.push_back(part);
  key = NewHandle(std::move(path));
  return 0;
}

std::uint32_t MemoryRegistry::CreateKey(RegistryKey parent, const std::string& name, RegistryKey& key) {
  calls.push_back("Create " + name);
  std::uint32_t error = 0;
  if (Fault("Create", error)) return error;
  Node* node = Resolve(parent);
  if (!node) return kKeyDeleted;
  std::vector<std::string> path = IsPredefined(parent) ? std::vector<std::string>{kRoots[parent - 0x80000000u]}
                                                       : m_handles.at(parent);
  for (const std::string& part : Split(name)) {
    auto& slot = node->keys[Upper(part)];
    if (!slot) {
      slot = std::make_unique<Node>();
      slot->name = part;
    }
    node = slot.get();
    path.push_back(part);
  }
  key = NewHandle(std::move(path));
  return 0;
}

void MemoryRegistry::CloseKey(RegistryKey key) {
  calls.push_back("Close");
  m_handles.erase(key);
}

std::uint32_t MemoryRegistry::SetValue(RegistryKey key, const std::string& name, std::uint32_t type,
                                       std::span<const std::uint8_t> data) {
  calls.push_back("SetValue " + name);
  std::uint32_t error = 0;
  if (Fault("SetValue", error)) return error;
  Node* node = Resolve(key);
  if (!node) return kKeyDeleted;
  node->values[Upper(name)] = {name, type, {data.begin(), data.end()}};
  return 0;
}

std::uint32_t MemoryRegistry::EnumKey(RegistryKey key, std::uint32_t index, std::string& name) {
  calls.push_back("Enum");
  std::uint32_t error = 0;
  if (Fault("Enum", error)) return error;
  const Node* node = Resolve(key);
  if (!node) return kKeyDeleted;
  if (index >= node->keys.size()) return registry::kNoMoreItems;
  name = std::next(node->keys.begin(), index)->second->name;
  return 0;
}

std::uint32_t MemoryRegistry::DeleteKey(RegistryKey parent, const std::string& name) {
  calls.push_back("Delete " + name);
  std::uint32_t error = 0;
  if (Fault("Delete", error)) return error;
  Node* node = Resolve(parent);
  if (!node) return kKeyDeleted;
  const auto child = node->keys.find(Upper(name));
  if (child == node->keys.end()) return 2;
  if (!child->second->keys.empty()) return kAccessDenied;
  node->keys.erase(child);
  return 0;
}

}  // namespace qm::testing
