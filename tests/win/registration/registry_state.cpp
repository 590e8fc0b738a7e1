#include "registry_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace registration_tests {
namespace {

using qm::testing::kDirectoryClass;
using qm::testing::kFolderClass;
using qm::testing::kLibraryId;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Describe(const RawValue& value) {
  std::string text = value.bytes;
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
    if (!text.empty() && text.back() == '\0')
      text.pop_back();
    else
      text += "(unterminated)";
    if (value.type == REG_EXPAND_SZ) text = "expand:" + text;
  } else {
    text = "type " + std::to_string(value.type);
  }
  return text;
}

void ReadKey(HKEY key, const std::string& path, REGSAM view, std::vector<std::string>& out) {
  out.push_back(path);
  std::vector<std::pair<std::string, RawValue>> values;
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD name_size = sizeof name;
    BYTE data[4096];
    DWORD type = 0, size = sizeof data;
    if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    values.push_back({std::string(name, name_size), {type, std::string(reinterpret_cast<char*>(data), size)}});
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD name_size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.emplace_back(name, name_size);
  }
  std::sort(values.begin(), values.end(), [](auto& a, auto& b) { return Upper(a.first) < Upper(b.first); });
  std::sort(subkeys.begin(), subkeys.end(), [](auto& a, auto& b) { return Upper(a) < Upper(b); });
  for (const auto& [name, value] : values)
    out.push_back(path + " " + (name.empty() ? "@" : name) + " = " + Describe(value));
  for (const std::string& name : subkeys) {
    HKEY child = nullptr;
    if (RegOpenKeyExA(key, name.c_str(), 0, KEY_READ | view, &child) != ERROR_SUCCESS) continue;
    ReadKey(child, path + "\\" + name, view, out);
    RegCloseKey(child);
  }
}

std::vector<std::string> HandlerKeyPaths() {
  std::vector<std::string> paths;
  for (const char* kind : {"ContextMenuHandlers", "CopyHookHandlers", "DragDropHandlers"})
    for (const char* file_class : {"Directory", "Drive"})
      paths.push_back(std::string(file_class) + "\\shellex\\" + kind + "\\" + kDirectoryName);
  for (const char* file_class : {"Directory", "*"})
    paths.push_back(std::string(file_class) + "\\shellex\\PropertySheetHandlers\\" + kDirectoryName);
  return paths;
}

void Append(std::vector<std::string>& to, std::vector<std::string> lines) {
  for (std::string& line : lines) to.push_back(std::move(line));
}

std::string ValueLine(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  return std::string(RootName(root)) + "\\" + path + " " + name + " = " + text;
}

void ReadValueLine(HKEY root, const std::string& path, const std::string& name, REGSAM view,
                   std::vector<std::string>& out) {
  if (auto value = ReadValue(root, path, name.c_str(), view)) out.push_back(ValueLine(root, path, name, Describe(*value)));
}

}  // namespace

const char* RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCR"; }

std::vector<std::string> ReadTree(HKEY root, const std::string& path, REGSAM view) {
  std::vector<std::string> out;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return out;
  ReadKey(key, std::string(RootName(root)) + "\\" + path, view, out);
  RegCloseKey(key);
  return out;
}

std::optional<RawValue> ReadValue(HKEY root, const std::string& path, const char* name, REGSAM view) {
  BYTE data[4096];
  DWORD type = 0, size = sizeof data;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return std::nullopt;
  const LSTATUS read = RegGetValueA(key, nullptr, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS) return std::nullopt;
  return RawValue{type, std::string(reinterpret_cast<char*>(data), size)};
}

void WriteValue(HKEY root, const std::string& path, const char* name, const RawValue& value) {
  // The 8-bit call counts a terminator the caller left out when one follows
  // the data: a byte other than NUL after it keeps string data as given.
  const std::string guarded = value.bytes + 'X';
  ASSERT_EQ(RegSetKeyValueA(root, path.c_str(), name, value.type, guarded.data(),
                            static_cast<DWORD>(value.bytes.size())),
            ERROR_SUCCESS);
}

void DeleteValue(HKEY root, const std::string& path, const char* name) {
  RegDeleteKeyValueA(root, path.c_str(), name);
}

void CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegCloseKey(key);
}

void DeleteTree(HKEY root, const std::string& path) { RegDeleteTreeA(root, path.c_str()); }

std::vector<std::string> ReadRegistration(REGSAM view) {
  std::vector<std::string> out;
  for (const auto* names : {&kFolderClass, &kDirectoryClass})
    for (const std::string& key : {names->versioned, names->prog_id, "CLSID\\" + names->clsid})
      Append(out, ReadTree(HKEY_CLASSES_ROOT, key, view));
  for (const std::string& path : HandlerKeyPaths()) Append(out, ReadTree(HKEY_CLASSES_ROOT, path, view));
  Append(out, ReadTree(HKEY_CLASSES_ROOT, "Folder\\shellex\\ColumnHandlers\\" + kFolderClass.clsid, view));
  Append(out, ReadTree(HKEY_LOCAL_MACHINE, std::string(kOverlayKey) + "\\" + kDirectoryName, view));
  for (const auto* names : {&kFolderClass, &kDirectoryClass})
    ReadValueLine(HKEY_LOCAL_MACHINE, kApprovedKey, names->clsid, view, out);
  for (const char* class_key : {"Directory", "*"}) ReadValueLine(HKEY_CLASSES_ROOT, class_key, "InfoTip", view, out);
  if (!ReadTree(HKEY_CLASSES_ROOT, "TypeLib\\" + kLibraryId, view).empty()) out.push_back("HKCR\\TypeLib\\" + kLibraryId);
  return out;
}

std::string InfoTipLine(const char* class_key, const std::string& text) {
  return ValueLine(HKEY_CLASSES_ROOT, class_key, "InfoTip", text);
}

std::vector<std::string> ExpectedRegistration(const Registered& registered, const std::string& module_path,
                                              const std::vector<std::string>& infotip_lines) {
  std::vector<std::string> out;
  if (registered.folder) Append(out, qm::testing::ExpectedClassTree(kFolderClass, module_path));
  if (registered.directory) {
    Append(out, qm::testing::ExpectedClassTree(kDirectoryClass, module_path));
    for (const std::string& path : HandlerKeyPaths()) {
      if (path.starts_with("Drive\\shellex\\CopyHook")) continue;
      out.push_back("HKCR\\" + path);
      out.push_back("HKCR\\" + path + " @ = " + kDirectoryClass.clsid);
    }
  }
  if (registered.folder) out.push_back("HKCR\\Folder\\shellex\\ColumnHandlers\\" + kFolderClass.clsid);
  if (registered.directory) {
    const std::string overlay = std::string("HKLM\\") + kOverlayKey + "\\" + kDirectoryName;
    out.push_back(overlay);
    out.push_back(overlay + " @ = " + kDirectoryClass.clsid);
  }
  if (registered.folder) out.push_back(ValueLine(HKEY_LOCAL_MACHINE, kApprovedKey, kFolderClass.clsid, kFolderName));
  if (registered.directory)
    out.push_back(ValueLine(HKEY_LOCAL_MACHINE, kApprovedKey, kDirectoryClass.clsid, kDirectoryName));
  Append(out, infotip_lines);
  if (registered.library) out.push_back("HKCR\\TypeLib\\" + kLibraryId);
  return out;
}

void ResetRegistration() {
  for (const auto* names : {&kFolderClass, &kDirectoryClass}) {
    for (const std::string& key : {names->versioned, names->prog_id, "CLSID\\" + names->clsid})
      DeleteTree(HKEY_CLASSES_ROOT, key);
    DeleteValue(HKEY_LOCAL_MACHINE, kApprovedKey, names->clsid.c_str());
  }
  for (const std::string& path : HandlerKeyPaths()) DeleteTree(HKEY_CLASSES_ROOT, path);
  DeleteTree(HKEY_CLASSES_ROOT, "Folder\\shellex\\ColumnHandlers\\" + kFolderClass.clsid);
  DeleteTree(HKEY_LOCAL_MACHINE, std::string(kOverlayKey) + "\\" + kDirectoryName);
  DeleteTree(HKEY_CLASSES_ROOT, "TypeLib\\" + kLibraryId);
  for (const char* class_key : {"Directory", "Drive", "*", "Folder"}) CreateKey(HKEY_CLASSES_ROOT, class_key);
  CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
}

InfoTipSnapshot::InfoTipSnapshot()
    : m_directory(ReadValue(HKEY_CLASSES_ROOT, "Directory", "InfoTip")),
      m_files(ReadValue(HKEY_CLASSES_ROOT, "*", "InfoTip")) {}

InfoTipSnapshot::~InfoTipSnapshot() {
  for (auto [class_key, value] : {std::pair{"Directory", &m_directory}, std::pair{"*", &m_files}}) {
    if (*value)
      WriteValue(HKEY_CLASSES_ROOT, class_key, "InfoTip", **value);
    else
      DeleteValue(HKEY_CLASSES_ROOT, class_key, "InfoTip");
  }
}

}  // namespace registration_tests
