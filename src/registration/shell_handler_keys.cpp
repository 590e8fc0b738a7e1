#include "registration/shell_handler_keys.h"

#include "registration/system_registry.h"
#include "win/errors.h"
#include "win/guid_text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

constexpr char kApprovedKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr char kOverlayKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers";

// "<first>\<second>", or "<first>\shellex\<second>" under a file class.
std::string KeyPath(std::string_view first, std::string_view second, bool shellex = false) {
  std::string path(first);
  path += shellex ? "\\shellex\\" : "\\";
  path += second;
  return path;
}

// Creates (or opens) root\path and writes its value `name` = `data` as
// REG_SZ; no value without data.
void WriteKey(HKEY root, const std::string& path, const char* name, const std::string* data) {
  UniqueRegKey key;
  RaiseIfWin32Error(RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kRegistrationAccess,
                                    nullptr, key.put(), nullptr));
  if (!data) return;
  RaiseIfWin32Error(RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()),
                                   static_cast<DWORD>(data->size() + 1)));
}

// root\path, or an empty owner when it does not exist.
UniqueRegKey OpenParent(HKEY root, const std::string& path) {
  UniqueRegKey key;
  const LONG error = RegOpenKeyExA(root, path.c_str(), 0, kRegistrationAccess, key.put());
  if (error == ERROR_FILE_NOT_FOUND) return {};
  RaiseIfWin32Error(error);
  return key;
}

void RemoveSubkey(HKEY root, const std::string& parent, const std::string& name) {
  const UniqueRegKey key = OpenParent(root, parent);
  if (key) DeleteRegistryTree(key.get(), name);
}

// HKCR "<file class>\shellex\<kind>\<friendly name>" = CLSID.
void WriteHandler(const ShellExtensionIdentity& extension, const char* file_class, const char* kind) {
  WriteKey(HKEY_CLASSES_ROOT, KeyPath(KeyPath(file_class, kind, true), extension.friendly_name), nullptr,
           &extension.clsid);
}

void RemoveHandler(const ShellExtensionIdentity& extension, const char* file_class, const char* kind) {
  RemoveSubkey(HKEY_CLASSES_ROOT, KeyPath(file_class, kind, true), extension.friendly_name);
}

}  // namespace

ShellExtensionIdentity IdentityOf(REFCLSID clsid, const char* friendly_name) { return {GuidText(clsid), friendly_name}; }

void RegisterApproval(const ShellExtensionIdentity& extension) {
  WriteKey(HKEY_LOCAL_MACHINE, std::string(kApprovedKey), extension.clsid.c_str(), &extension.friendly_name);
}

void UnregisterApproval(const ShellExtensionIdentity& extension) {
  const UniqueRegKey key = OpenParent(HKEY_LOCAL_MACHINE, std::string(kApprovedKey));
  if (key) RaiseIfWin32Error(RegDeleteValueA(key.get(), extension.clsid.c_str()));
}

void RegisterContextMenuHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  WriteHandler(extension, file_class, "ContextMenuHandlers");
}

void UnregisterContextMenuHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  RemoveHandler(extension, file_class, "ContextMenuHandlers");
}

void RegisterCopyHookHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  WriteHandler(extension, file_class, "CopyHookHandlers");
}

void UnregisterCopyHookHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  RemoveHandler(extension, file_class, "CopyHookHandlers");
}

void RegisterDragDropHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  WriteHandler(extension, file_class, "DragDropHandlers");
}

void UnregisterDragDropHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  RemoveHandler(extension, file_class, "DragDropHandlers");
}

void RegisterPropertySheetHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  WriteHandler(extension, file_class, "PropertySheetHandlers");
}

void UnregisterPropertySheetHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  RemoveHandler(extension, file_class, "PropertySheetHandlers");
}

void RegisterOverlayIdentifier(const ShellExtensionIdentity& extension) {
  WriteKey(HKEY_LOCAL_MACHINE, KeyPath(kOverlayKey, extension.friendly_name), nullptr, &extension.clsid);
}

void UnregisterOverlayIdentifier(const ShellExtensionIdentity& extension) {
  RemoveSubkey(HKEY_LOCAL_MACHINE, std::string(kOverlayKey), extension.friendly_name);
}

void RegisterColumnHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  WriteKey(HKEY_CLASSES_ROOT, KeyPath(KeyPath(file_class, "ColumnHandlers", true), extension.clsid), nullptr, nullptr);
}

void UnregisterColumnHandler(const ShellExtensionIdentity& extension, const char* file_class) {
  RemoveSubkey(HKEY_CLASSES_ROOT, KeyPath(file_class, "ColumnHandlers", true), extension.clsid);
}

}  // namespace qm
